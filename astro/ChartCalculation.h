#pragma once

#include "astro/modVedicPlanetPosition.h"
#include "chart/ChartState.h"

// The three calculation stages in their fixed order: time and angles, the Moon, then the Sun,
// planets and nodes with the fourteen position texts. When `longitudes` is given, each body's
// sidereal longitude is also left there as the number its text was made from. Rahu is the mean
// node less `nodeLessDegrees`.
void CalculateChart(ChartState& chart, BodyLongitudes* longitudes = nullptr,
                    double nodeLessDegrees = ruleNodeLessDegrees);
