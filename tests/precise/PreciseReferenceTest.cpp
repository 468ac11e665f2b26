#include "DegreesApart.h"
#include "precise/PreciseEngine.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>
#include <string>

namespace {

// Julian day of a civil date and time in universal time, from the days since 1970 that the
// standard library counts (1970 January 1, 0h is JD 2440587.5).
double JulianDay(int year, unsigned month, unsigned day, int hour, int minute) {
    using namespace std::chrono;
    const sys_days date{std::chrono::year{year} / std::chrono::month{month} /
                        std::chrono::day{day}};
    return 2440587.5 + date.time_since_epoch().count() + (hour + minute / 60.0) / 24.0;
}

double ArcsecondsApart(double a, double b) {
    return DegreesApart(a, b) * 3600.0;
}

bool PreciseEngineHere() {
    return PreciseEngineAvailability().available;
}

struct ReferenceInstant {
    const char* name;
    int year;
    unsigned month, day;
    int hour, minute;
    std::array<double, 10> longitudesDegrees; // Sun, Moon, Mercury ... Pluto
};

// Geocentric apparent ecliptic longitudes of date (light time, deflection and aberration
// included, nutation IAU 1980) from JPL Horizons, DE441: observer tables, CENTER='500@399',
// QUANTITIES='31' (ObsEcLon), ANG_FORMAT=DEG, times in UT, retrieved 2026-08-10. Commands 10,
// 301, 199, 299, 499, 599, 699, 799, 899, 999.
// clang-format off
constexpr std::array<ReferenceInstant, 8> horizons = {{
    {"leapYearRuleFebruary1900", 1900, 2, 28, 23, 0,
     {339.9313017, 332.501114, 355.4265867, 18.4437481, 330.0244209,
      249.7590155, 273.4673128, 252.3559491, 84.216789, 74.6959843}},
    {"earlyCentury", 1912, 4, 15, 5, 0,
     {24.8607511, 357.1989149, 25.3915903, 3.1781669, 95.3115298,
      255.1055109, 49.7838569, 303.2387954, 111.040103, 87.1687307}},
    {"midCentury", 1941, 12, 7, 18, 0,
     {255.2566806, 118.1016092, 247.3847597, 301.604729, 15.5394923,
      76.5140672, 53.4980066, 57.6502649, 179.7052114, 125.5802581}},
    {"beforeLeapSeconds", 1969, 7, 20, 20, 17,
     {117.9107302, 187.8737519, 115.8428987, 75.0374087, 242.7732832,
      180.7462243, 38.0979955, 180.6900011, 236.0229075, 173.0071871}},
    {"firstLeapSecondDay", 1972, 6, 30, 23, 59,
     {99.2509203, 329.2667801, 123.3249912, 79.5526448, 121.4733962,
      272.6650702, 73.8584177, 194.2312058, 242.9697247, 179.4401629}},
    {"eighties", 1987, 4, 10, 19, 21,
     {20.3916215, 160.3452189, 356.8743553, 345.7224448, 63.4225954,
      9.393109, 261.0703202, 266.6881724, 278.0026169, 219.099022}},
    {"leapDay1996", 1996, 2, 29, 12, 0,
     {340.1900228, 105.7250478, 319.1424607, 23.7096515, 341.0666044,
      281.6569407, 355.3428671, 302.714817, 296.8076423, 243.1071336}},
    {"epochJ2000", 2000, 1, 1, 12, 0,
     {280.3689092, 223.323786, 271.8892699, 241.5657794, 327.9632921,
      25.2530685, 40.3956366, 314.809168, 303.1930007, 251.4547644}},
}};
// clang-format on

// Catches a wrong body number, a wrong time scale (universal time taken as terrestrial time
// moves the Moon by about 30″ in these years), positions of the mean equinox or without
// aberration (up to 20″ off), and a silent fall-back from the ephemeris files to the library's
// analytical ephemeris.
TEST(PreciseEngine, TropicalPositionsMatchJplHorizons) {
    if (!PreciseEngineHere()) {
        GTEST_SKIP() << PreciseEngineAvailability().missing;
    }
    for (const ReferenceInstant& instant : horizons) {
        PreciseRequest request;
        request.julianDayUt =
            JulianDay(instant.year, instant.month, instant.day, instant.hour, instant.minute);
        request.sidereal = false;
        PreciseResult result;
        const auto problem = RunPreciseChart(request, result);
        ASSERT_FALSE(problem) << *problem;
        for (std::size_t body = 0; body < 10; ++body) {
            EXPECT_LT(
                ArcsecondsApart(result.longitudesDegrees[body], instant.longitudesDegrees[body]),
                1.0)
                << instant.name << " " << bodyNames[body] << ": " << result.longitudesDegrees[body]
                << " against " << instant.longitudesDegrees[body];
        }
    }
}

} // namespace
