#include "astro/ChartCalculation.h"

#include "astro/modVedicEphemeris.h"
#include "astro/modVedicPlanetPosition.h"

void CalculateChart(ChartState& chart) {
    PrepareChartTime(chart);
    ComputeMoonPosition(chart);
    ComputePositions(chart);
}
