#pragma once

#include "chart/ChartInput.h"

// Birth data for the core tests, as the input window would hand it over. Month 1..12; the place
// defaults to Greenwich (0°0' West, 0°0' North).
struct Longitude {
    int degrees = 0;
    int minutes = 0;
    bool east = false;
};

inline ChartInput Birth(int year, int month, int day, int hour, int minute, int zonePosition,
                        bool daylightSaving = false, Longitude longitude = {}) {
    ChartInput input;
    input.year = year;
    input.monthPosition = month - 1;
    input.day = day;
    input.hour = hour;
    input.minute = minute;
    input.timeZonePosition = zonePosition;
    input.daylightSaving = daylightSaving;
    input.longitudeDegrees = longitude.degrees;
    input.longitudeMinutes = longitude.minutes;
    input.east = longitude.east;
    return input;
}

// List positions of the zones the tests use.
inline constexpr int greenwichZone = 29;
inline constexpr int indianZone = 34;
inline constexpr int easternStandardZone = 27;
inline constexpr int britishSummerZone = 16;
inline constexpr int centralEuropeanZone = 20;

// 1990-08-15 10:30 Indian Time at 77°13' East, 28°39' North: the Delhi birth used across the tests.
inline ChartInput DelhiBirth() {
    ChartInput input = Birth(1990, 8, 15, 10, 30, indianZone, false, {77, 13, true});
    input.latitudeDegrees = 28;
    input.latitudeMinutes = 39;
    return input;
}

// 2000-01-01 12:00 Greenwich Mean Time at 0°0' West, 51°30' North: the J2000.0 epoch at Greenwich.
inline ChartInput Greenwich2000() {
    ChartInput input = Birth(2000, 1, 1, 12, 0, greenwichZone);
    input.latitudeDegrees = 51;
    input.latitudeMinutes = 30;
    return input;
}

// 1962-02-04 05:30 Indian Time at New Delhi (77°13' East, 28°39' North): eight bodies in
// Capricorn in the birth chart, Mercury retrograde; the most crowded cell of the offered years.
inline ChartInput CrowdedDelhiBirth() {
    ChartInput input = Birth(1962, 2, 4, 5, 30, indianZone, false, {77, 13, true});
    input.latitudeDegrees = 28;
    input.latitudeMinutes = 39;
    return input;
}
