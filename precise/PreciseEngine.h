#pragma once

#include "astro/modVedicPlanetPosition.h"
#include "chart/ChartState.h"
#include "precise/CalculationSettings.h"
#include "precise/PreciseModuleApi.h"

#include <optional>
#include <string>

// Whether the precise engine can be used here: its module loads (which needs libswe2.0) and the
// ephemeris files of swe-basic-data are in place. `missing` names the package to install.
struct PreciseAvailability {
    bool available = false;
    std::string missing; // "Install the package libswe2.0 to use the precise engine."
};

// Loads the module the first time it is asked (never at start-up) and keeps it.
PreciseAvailability PreciseEngineAvailability();

// Runs the module on one request; the reason when the engine is missing or the chart failed.
std::optional<std::string> RunPreciseChart(PreciseRequest request, PreciseResult& result);

// The precise engine's chart: the same fields as the 1.20 stages write (the sidereal correction,
// the long forms of the Ascendant, the Midheaven and the Moon, the fourteen display texts), from
// the birth instant and place in `chart`, every text truncated to whole minutes as the 1.20
// rules truncate theirs. Leaves the ayanamsa in `ayanamsaDegrees`.
std::optional<std::string> CalculatePreciseChart(ChartState& chart,
                                                 const CalculationSettings& settings,
                                                 BodyLongitudes* longitudes,
                                                 double& ayanamsaDegrees);

// The chart by `settings`: the 1.20 stages (their ayanamsa is the negative of the sidereal
// correction they leave) or the precise engine. The reason when it could not be calculated.
std::optional<std::string> CalculateChartWith(ChartState& chart,
                                              const CalculationSettings& settings,
                                              BodyLongitudes* longitudes, double& ayanamsaDegrees);

// Julian day in universal time of the chart's birth instant.
double ChartJulianDayUt(const ChartState& chart);
