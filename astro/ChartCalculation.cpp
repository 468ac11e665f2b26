#include "astro/ChartCalculation.h"

#include "astro/modVedicEphemeris.h"
#include "astro/modVedicPlanetPosition.h"

void CalculateChart(ChartState& chart, BodyLongitudes* longitudes, double nodeLessDegrees) {
    PrepareChartTime(chart, longitudes);
    ComputeMoonPosition(chart, longitudes);
    ComputePositions(chart, longitudes, nodeLessDegrees);
}
