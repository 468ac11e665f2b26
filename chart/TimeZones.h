#pragma once

#include "chart/ChartState.h"

#include <array>
#include <cstdint>

// One entry of the time zone list. The text is for display only and is never parsed.
struct TimeZoneEntry {
    const char* listText;
    int16_t zoneCorrectionHours;   // whole hours to add to local time to reach universal time
    int16_t zoneCorrectionMinutes; // 0 or +-30, with the sign of the hours
};

inline constexpr int timeZoneCount = 71;
// "Greenwich Mean Time,GMT,0.0", selected when the input window opens.
inline constexpr int defaultTimeZonePosition = 29;

extern const std::array<TimeZoneEntry, timeZoneCount> timeZoneTable;

// Sets the chart's zone correction from the list position of the selected zone. A position
// outside 0..70 (no selection is -1) leaves both correction fields unchanged.
void Zone_Calculation(ChartState& chart, int selectedPosition);
