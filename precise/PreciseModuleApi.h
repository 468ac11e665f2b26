#pragma once

#include <array>

// The one function of the precise engine's module (korvani-precise.so), which alone links the
// Swiss Ephemeris library: plain data in and out, so that a program that never chooses the
// precise engine never loads the library.

// Longitudes the module computes, in this order: Sun, Moon, Mercury ... Pluto (the library's
// body numbers 0 to 9), the Ascendant, the Midheaven and the Moon's ascending node (Rahu).
inline constexpr int preciseLongitudeCount = 13;
inline constexpr int preciseAscendant = 10;
inline constexpr int preciseMidheaven = 11;
inline constexpr int preciseNode = 12;

struct PreciseRequest {
    double julianDayUt = 0.0;          // the instant, Julian day in universal time
    double julianDayTt = 0.0;          // when not 0, the instant in terrestrial time instead
    double latitudeNorthDegrees = 0.0; // -90..90, for the Ascendant and the Midheaven
    double longitudeEastDegrees = 0.0; // -180..180
    int siderealMode = 1;              // the library's SE_SIDM_ number of the ayanamsa
    bool sidereal = true;              // false: tropical apparent longitudes of date
    bool trueNode = false;             // false: the mean node
    bool meanAyanamsa = false;         // also the ayanamsa without nutation
    bool equatorial = false;          // Sun to Pluto as right ascension and declination of the true
                                      // equator and equinox of date in place of ecliptic places
    const char* ephemerisFolder = ""; // the folder of the .se1 files
};

struct PreciseResult {
    std::array<double, preciseLongitudeCount> longitudesDegrees{}; // [0, 360)
    std::array<double, 10> latitudesDegrees{}; // Sun to Pluto: ecliptic latitude or declination
    double ayanamsaDegrees = 0.0;     // the ayanamsa at the instant, as taken off the positions
    double meanAyanamsaDegrees = 0.0; // the same without nutation
    char problem[256] = {};           // why the chart failed, when it did
};

// True when every position came from the ephemeris files; false with `problem` set otherwise
// (files missing or unreadable, or a date they do not cover).
using PreciseChartFunction = bool (*)(const PreciseRequest& request, PreciseResult& result);
inline constexpr const char* preciseChartSymbol = "KorvaniPreciseChart";
