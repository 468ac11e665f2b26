#pragma once

// The birth data as the command's options take it and as the batch, the library's files and the
// command's messages write it: one writer for each form.

#include "chart/ChartInput.h"

#include <string>
#include <string_view>

// "1990-08-15": year, month (1..12) and day, as ISO 8601 writes a calendar date.
std::string DateText(int year, int month, int day);
std::string DateText(const ChartInput& input);

// "10:30": hours and minutes of the clock, two digits each.
std::string TimeText(int hour, int minute);
std::string TimeText(const ChartInput& input);

// "077:13E", "28:39N": degrees, a colon, minutes and the hemisphere's letter, the degrees and
// minutes written as given.
std::string LongitudeText(std::string_view degrees, std::string_view minutes, bool east);
std::string LatitudeText(std::string_view degrees, std::string_view minutes, bool south);
// A chart's coordinates so: the degrees of a longitude in three digits, those of a latitude and
// the minutes in two.
std::string LongitudeText(const ChartInput& input);
std::string LatitudeText(const ChartInput& input);

// An offset from universal time: "+5:30", "-4:00", "+0:00"; with seconds when there are any,
// "+5:21:10".
std::string UtcOffsetText(int offsetSeconds);
