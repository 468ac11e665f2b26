#include "app/CalculationDriver.h"

#include "astro/modVedicEphemeris.h"
#include "astro/modVedicPlanetPosition.h"

namespace {

// The text as a signed 16-bit number, or `previous` when it is not one.
int Converted(const QString& text, int previous) {
    bool ok = false;
    const short value = text.trimmed().toShort(&ok);
    return ok ? value : previous;
}

} // namespace

ChartInput ReadChartInput(const DriverControls& controls, const ChartState& previous) {
    ChartInput input;
    input.monthPosition =
        controls.monthPosition >= 0 ? controls.monthPosition : previous.birthMonth - 1;
    input.day = Converted(controls.dayText, previous.birthDay);
    input.year = Converted(controls.yearText, previous.birthYear);
    input.hour = Converted(controls.hourText, previous.birthHour);
    input.minute = Converted(controls.minuteText, previous.birthMinute);
    input.longitudeDegrees = Converted(controls.longitudeDegreesText, previous.longitudeDegrees);
    input.longitudeMinutes = Converted(controls.longitudeMinutesText, previous.longitudeMinutes);
    input.latitudeDegrees = Converted(controls.latitudeDegreesText, previous.latitudeDegrees);
    input.latitudeMinutes = Converted(controls.latitudeMinutesText, previous.latitudeMinutes);
    input.east = controls.east;
    input.south = controls.south;
    input.daylightSaving = controls.daylightSaving;
    // Zone_Calculation leaves the correction as it is for a position outside the table.
    input.timeZonePosition = controls.timeZonePosition;
    input.zoneCorrection = controls.zoneCorrection;
    return input;
}

void CalculateFromControls(ChartState& chart, const DriverControls& controls) {
    RunGuardedStep([&] { LoadChartInput(chart, ReadChartInput(controls, chart)); });
    // The order is fixed: the positions read the correction and angles of the first stage and
    // the Moon text of the second.
    RunGuardedStep([&] { PrepareChartTime(chart); });
    RunGuardedStep([&] { ComputeMoonPosition(chart); });
    RunGuardedStep([&] { ComputePositions(chart); });
}
