#pragma once

#include "chart/ChartState.h"
#include "chart/TimeZones.h"
#include "chart/Validation.h"

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
};

// Copies the birth data into the chart state in the driver's order: the zone correction first,
// then the date, time, zone magnitudes, place, hemisphere flags and daylight saving.
void LoadChartInput(ChartState& chart, const ChartInput& input);
