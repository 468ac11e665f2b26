#pragma once

#include "chart/ChartState.h"

// The three calculation stages in their fixed order: time and angles, the Moon, then the Sun,
// planets and nodes with the fourteen position texts.
void CalculateChart(ChartState& chart);
