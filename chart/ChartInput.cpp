#include "chart/ChartInput.h"

#include "chart/TimeZones.h"

#include <cstdlib>

namespace {
int16_t ToInt16(int value) {
    return static_cast<int16_t>(value);
}
int16_t Flag(bool value) {
    return value ? chartTrue : chartFalse;
}
} // namespace

void LoadChartInput(ChartState& chart, const ChartInput& input) {
    Zone_Calculation(chart, input.timeZonePosition);
    if (input.zoneCorrection) {
        chart.zoneCorrectionHours = ToInt16(input.zoneCorrection->hours);
        chart.zoneCorrectionMinutes = ToInt16(input.zoneCorrection->minutes);
        chart.zoneCorrectionSeconds = ToInt16(input.zoneCorrection->seconds);
    }
    chart.birthMonth = ToInt16(input.monthPosition + 1);
    chart.birthDay = ToInt16(input.day);
    chart.birthYear = ToInt16(input.year);
    chart.birthHour = ToInt16(input.hour);
    chart.birthMinute = ToInt16(input.minute);
    chart.zoneHours = ToInt16(std::abs(chart.zoneCorrectionHours));
    chart.zoneMinutes = ToInt16(std::abs(chart.zoneCorrectionMinutes));
    chart.longitudeDegrees = ToInt16(input.longitudeDegrees);
    chart.longitudeMinutes = ToInt16(input.longitudeMinutes);
    chart.latitudeDegrees = ToInt16(input.latitudeDegrees);
    chart.latitudeMinutes = ToInt16(input.latitudeMinutes);
    chart.longitudeEastFlag = Flag(input.east);
    chart.latitudeSouthFlag = Flag(input.south);
    chart.daylightSaving = Flag(input.daylightSaving);
}
