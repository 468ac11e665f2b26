#pragma once

#include <array>
#include <cstdint>
#include <string>

// Number of bodies in a chart: Sun to Pluto, Ascendant, Midheaven, Rahu, Ketu.
inline constexpr int positionCount = 14;
// Sun to Pluto: the bodies with a tab, a picture and a decanate.
inline constexpr int displayedBodyCount = 10;

// Body names in body-index order (0 Sun ... 13 Ketu).
inline constexpr std::array<const char*, positionCount> bodyNames = {
    "Sun",    "Moon",    "Mercury", "Venus",     "Mars",      "Jupiter", "Saturn",
    "Uranus", "Neptune", "Pluto",   "Ascendant", "Midheaven", "Rahu",    "Ketu"};

// Booleans of the chart state: -1 true, 0 false; any non-zero value reads as true.
inline constexpr int16_t chartTrue = -1;
inline constexpr int16_t chartFalse = 0;

// The one record through which the input side and the calculation stages pass every value.
// Stages take it by reference, read the fields they need and write their results back.
struct ChartState {
    // Birth input, written by the calculation driver after validation.
    int16_t birthMonth = 0;        // 1 = January ... 12 = December
    int16_t birthDay = 0;          // 1..31
    int16_t birthYear = 0;         // 1901..2050
    int16_t birthHour = 0;         // local clock, 0..23
    int16_t birthMinute = 0;       // 0..59
    int16_t zoneHours = 0;         // magnitude of the zone's whole hours, 0..13
    int16_t zoneMinutes = 0;       // magnitude of the zone's extra minutes, 0 or 30
    int16_t longitudeDegrees = 0;  // 0..179
    int16_t longitudeMinutes = 0;  // 0..59
    int16_t latitudeDegrees = 0;   // 0..89
    int16_t latitudeMinutes = 0;   // 0..59
    int16_t longitudeEastFlag = 0; // -1 when the birthplace is east of Greenwich
    int16_t latitudeSouthFlag = 0; // -1 when the birthplace is south of the equator
    int16_t daylightSaving = 0;    // -1 when "Daylight Saving Time" is ticked

    // Zone correction, written by Zone_Calculation: signed amounts to add to local clock time
    // to reach universal time (hours -13..+12; minutes 0 or +-30 with the sign of the hours).
    // A place's own time may give any minutes and, for local mean time, seconds, both with the
    // sign of the hours; a row gives no seconds.
    int16_t zoneCorrectionHours = 0;
    int16_t zoneCorrectionMinutes = 0;
    int16_t zoneCorrectionSeconds = 0;

    // Stage results.
    double chartSiderealCorrection = 0.0; // degrees to add to a tropical longitude; negative
    std::string ascendantText;            // long form, see FormatSignPosition
    std::string midheavenText;            // long form
    std::string moonPositionText;         // long form
    std::array<std::string, positionCount> positionText; // display form, body-index order
};
