#pragma once

#include "chart/ChartState.h"
#include "chart/TimeZones.h"
#include "chart/Validation.h"

#include <optional>

// A zone correction given directly rather than by list position: signed hours, minutes and
// seconds to add to local clock time to reach universal time, the minutes and seconds with the
// sign of the hours (-5, -21 and -10 for local mean time 5:21:10 ahead of universal time).
struct ZoneCorrection {
    int hours = 0;   // -14..+12
    int minutes = 0; // -59..+59
    int seconds = 0; // -59..+59
};

// Validated birth data as numbers, the way the input window's controls hold them.
struct ChartInput {
    int monthPosition = 0; // 0 = January
    int day = 1;
    int year = firstEntryYear;
    int hour = 0;
    int minute = 0;
    int longitudeDegrees = 0;
    int longitudeMinutes = 0;
    int latitudeDegrees = 0;
    int latitudeMinutes = 0;
    bool east = true;
    bool south = false;
    bool daylightSaving = false;
    int timeZonePosition = defaultTimeZonePosition;
    // When set, replaces the correction of the list position (the command's --tz).
    std::optional<ZoneCorrection> zoneCorrection;
};

// Copies the birth data into the chart state in the driver's order: the zone correction first,
// then the date, time, zone magnitudes, place, hemisphere flags and daylight saving. A direct
// zone correction takes the place of the list position's.
void LoadChartInput(ChartState& chart, const ChartInput& input);
