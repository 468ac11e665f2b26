#pragma once

#include "astro/ChartCalculation.h"
#include "chart/ChartInput.h"

// A chart loaded from birth data and run through the three calculation stages.
inline ChartState CalculatedChart(const ChartInput& input) {
    ChartState chart;
    LoadChartInput(chart, input);
    CalculateChart(chart);
    return chart;
}
