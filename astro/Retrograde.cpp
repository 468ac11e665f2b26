#include "astro/Retrograde.h"

#include "astro/modVedicPlanetPosition.h"

#include <cmath>

namespace {

// Element-table index of each body index 0..9; -1 for the Moon, which has no orbital elements.
constexpr std::array<int, displayedBodyCount> elementIndexOfBody = {2, -1, 0, 1, 3, 4, 5, 6, 7, 8};

constexpr int firstPlanetBody = 2; // Mercury
constexpr int lastPlanetBody = 9;  // Pluto

// Days from 1899 December 31, 12h (the epoch of the sidereal correction's time argument) to 2000
// January 1, 12h: one Julian century.
constexpr double daysPerJulianCentury = 36525.0;

} // namespace

double SiderealLongitudeAt(int body, double daysSinceJ2000) {
    const int index = elementIndexOfBody[static_cast<std::size_t>(body)];
    const double centuries1900 = (daysSinceJ2000 + daysPerJulianCentury) / daysPerJulianCentury;
    // The same sum as the position stage: the longitude referred to the equinox of 2000, the
    // precession since then, less the magnitude of the sidereal correction.
    double longitudeDegrees = GeocentricLongitude(index, daysSinceJ2000) +
                              PrecessionSinceJ2000Degrees(daysSinceJ2000) -
                              std::fabs(SiderealCorrection1900(centuries1900));
    while (longitudeDegrees < 0.0) {
        longitudeDegrees += 360.0;
    }
    while (longitudeDegrees >= 360.0) {
        longitudeDegrees -= 360.0;
    }
    return longitudeDegrees;
}

bool IsRetrogradeAt(int body, double daysSinceJ2000) {
    if (body < firstPlanetBody || body > lastPlanetBody) {
        return false;
    }
    double motionDegrees = SiderealLongitudeAt(body, daysSinceJ2000 + retrogradeHalfSpanDays) -
                           SiderealLongitudeAt(body, daysSinceJ2000 - retrogradeHalfSpanDays);
    // Across 0° Aries the difference jumps by a full turn.
    if (motionDegrees > 180.0) {
        motionDegrees -= 360.0;
    } else if (motionDegrees < -180.0) {
        motionDegrees += 360.0;
    }
    return motionDegrees < 0.0;
}

std::array<bool, positionCount> RetrogradeBodies(const ChartState& chart) {
    std::array<bool, positionCount> retrograde{};
    const double d = ChartDaysSinceJ2000(chart);
    for (int body = firstPlanetBody; body <= lastPlanetBody; ++body) {
        retrograde[static_cast<std::size_t>(body)] = IsRetrogradeAt(body, d);
    }
    return retrograde;
}
