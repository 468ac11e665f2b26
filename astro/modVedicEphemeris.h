#pragma once

#include "astro/modVedicPlanetPosition.h"
#include "chart/ChartState.h"

// The Moon's sidereal longitude for the birth instant, left in moonPositionText (long form) and,
// when `longitudes` is given, as a number in its Moon entry.
void ComputeMoonPosition(ChartState& chart, BodyLongitudes* longitudes = nullptr);

// Sidereal correction in degrees (negative; about -23.85 in 2000) for Julian centuries since
// 2000 January 1.5, with the two largest nutation terms.
double SiderealCorrectionJ2000(double centuriesJ2000);

// Julian centuries since 2000 January 1.5 of the birth instant: the civil date's day number
// and universal time, as the time and angle stage takes them.
double MoonCenturiesJ2000(const ChartState& chart);

// The Moon's tropical longitude of date in degrees, [0, 360], for centuries since J2000.
double MoonTropicalLongitudeDegrees(double centuriesJ2000);
