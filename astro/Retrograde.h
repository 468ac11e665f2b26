#pragma once

#include "chart/ChartState.h"

#include <array>

// Whether a planet moves backwards through the zodiac at the birth, decided from the same
// engine that gives its position.

// Half the span over which the motion is measured, in days: the longitudes an hour before and an
// hour after the instant are compared.
inline constexpr double retrogradeHalfSpanDays = 1.0 / 24.0;

// The engine's sidereal longitude of body `body` (0 Sun, 2 Mercury ... 9 Pluto; not the Moon) in
// degrees, [0, 360), at `daysSinceJ2000`, with the sidereal correction of that instant.
double SiderealLongitudeAt(int body, double daysSinceJ2000);

// Whether body `body` (2 Mercury ... 9 Pluto) is retrograde at `daysSinceJ2000`: its geocentric
// longitude decreases, that is, the longitude a little after the instant is smaller than the one a
// little before (J. Meeus, Astronomical Algorithms, 2nd ed., ch. 36: a planet is stationary where
// its geocentric longitude turns, and retrograde between its two stations). False for any other
// body, and at a station where the two longitudes are equal.
bool IsRetrogradeAt(int body, double daysSinceJ2000);

// Per body index (0 Sun ... 13 Ketu), whether the body is retrograde at the chart's birth instant;
// true only for Mercury to Pluto. Reads the birth date, time and zone fields of the chart.
std::array<bool, positionCount> RetrogradeBodies(const ChartState& chart);
