#include "app/CalculationDriver.h"

#include "astro/modVedicEphemeris.h"
#include "astro/modVedicPlanetPosition.h"
#include "precise/PreciseEngine.h"

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

CalculationDone CalculateFromControls(ChartState& chart, const DriverControls& controls,
                                      const CalculationSettings& settings) {
    RunGuardedStep([&] { LoadChartInput(chart, ReadChartInput(controls, chart)); });
    CalculationDone done{settings, 0.0};
    if (settings.engine == Engine::Precise) {
        bool calculated = false;
        RunGuardedStep([&] {
            calculated = !CalculatePreciseChart(chart, settings, nullptr, done.ayanamsaDegrees);
        });
        if (calculated) {
            return done;
        }
        // Without the library or its files the chart is the 1.20 rules', and says so.
        done.settings = SettingsForEngine(Engine::Rules120, settings.drekkana);
    }
    // The order is fixed: the positions read the correction and angles of the first stage and
    // the Moon text of the second.
    RunGuardedStep([&] { PrepareChartTime(chart); });
    RunGuardedStep([&] { ComputeMoonPosition(chart); });
    const double nodeLessDegrees = done.settings.nodes == Nodes::Mean ? 0.0 : ruleNodeLessDegrees;
    RunGuardedStep([&] { ComputePositions(chart, nullptr, nodeLessDegrees); });
    done.ayanamsaDegrees = -chart.chartSiderealCorrection;
    return done;
}
