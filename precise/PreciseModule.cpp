// The precise engine's module: the only part of Korvani that calls the Swiss Ephemeris library
// (Astrodienst; in Debian as libswe, AGPL-3.0, combined with GPL-3.0-or-later Korvani under
// section 13 of the GPL version 3).

#include "precise/PreciseModuleApi.h"

#include <swephexp.h>

#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <type_traits>

namespace {

// The library keeps its files, the sidereal mode and its caches in globals.
std::mutex libraryLock;
std::string openedFolder;
int chosenMode = -1;

void SetProblem(PreciseResult& result, const char* what, const char* detail) {
    std::snprintf(result.problem, sizeof result.problem, "%s%s%s", what,
                  detail[0] != '\0' ? ": " : "", detail);
}

// The library's models, its defaults but for the precession: IAU 2006 (N. Capitaine et al.,
// Astronomy & Astrophysics 412, 2003) in place of the long-term series of J. Vondrak et al.
// (2011), which costs a fifth of a chart and agrees with it within 0.001″ from 1900 to 2050.
// Fields: delta T, long-term and short-term precession, nutation (IAU 2000B), frame bias
// (IAU 2006), the two JPL Horizons modes (off), sidereal time (long-term).
void SetModels() {
    char models[] = "0,8,8,4,3,0,0,4";
    swe_set_astro_models(models, 0);
}

} // namespace

extern "C" __attribute__((visibility("default"))) bool
KorvaniPreciseChart(const PreciseRequest& request, PreciseResult& result) {
    static_assert(std::is_same_v<decltype(&KorvaniPreciseChart), PreciseChartFunction>);
    const std::lock_guard<std::mutex> lock(libraryLock);
    if (openedFolder != request.ephemerisFolder) {
        openedFolder = request.ephemerisFolder;
        swe_set_ephe_path(openedFolder.c_str());
        SetModels();
        chosenMode = -1;
    }
    if (request.sidereal && chosenMode != request.siderealMode) {
        swe_set_sid_mode(request.siderealMode, 0.0, 0.0);
        chosenMode = request.siderealMode;
    }
    const int32 flags = SEFLG_SWIEPH | (request.sidereal ? SEFLG_SIDEREAL : 0);
    char message[AS_MAXCH] = {};
    // An instant in terrestrial time is taken as the library's ephemeris time; the angles and the
    // ayanamsa take universal time, the library's delta T before it.
    const bool terrestrial = request.julianDayTt != 0.0;
    const double julianDayUt =
        terrestrial
            ? request.julianDayTt - swe_deltat_ex(request.julianDayTt, SEFLG_SWIEPH, message)
            : request.julianDayUt;
    const auto calculate = [&](int32 body, int32 bodyFlags, double* position) {
        return terrestrial ? swe_calc(request.julianDayTt, body, bodyFlags, position, message)
                           : swe_calc_ut(julianDayUt, body, bodyFlags, position, message);
    };
    const int32 bodyFlags = flags | (request.equatorial ? SEFLG_EQUATORIAL : 0);
    const int32 bodies[] = {SE_SUN,     SE_MOON,   SE_MERCURY, SE_VENUS,   SE_MARS,
                            SE_JUPITER, SE_SATURN, SE_URANUS,  SE_NEPTUNE, SE_PLUTO};
    for (int i = 0; i < 10; ++i) {
        double position[6];
        const int32 got = calculate(bodies[i], bodyFlags, position);
        // Without the files the library falls back to its analytical ephemeris; that is not
        // the precise engine.
        if (got < 0 || (got & SEFLG_SWIEPH) == 0) {
            SetProblem(result, "the ephemeris files could not be read", message);
            return false;
        }
        result.longitudesDegrees[static_cast<std::size_t>(i)] = position[0];
        result.latitudesDegrees[static_cast<std::size_t>(i)] = position[1];
    }
    double node[6];
    if (calculate(request.trueNode ? SE_TRUE_NODE : SE_MEAN_NODE, flags, node) < 0) {
        SetProblem(result, "the node could not be computed", message);
        return false;
    }
    result.longitudesDegrees[preciseNode] = node[0];

    // Equal houses: the Ascendant and the Midheaven at every latitude, the polar circles too.
    double cusps[13];
    double angles[10];
    if (swe_houses_ex(julianDayUt, request.sidereal ? SEFLG_SIDEREAL : 0,
                      request.latitudeNorthDegrees, request.longitudeEastDegrees, 'E', cusps,
                      angles) < 0) {
        SetProblem(result, "the Ascendant could not be computed", "");
        return false;
    }
    result.longitudesDegrees[preciseAscendant] = angles[SE_ASC];
    result.longitudesDegrees[preciseMidheaven] = angles[SE_MC];

    result.ayanamsaDegrees = 0.0;
    if (request.sidereal) {
        double ayanamsa = 0.0;
        if (swe_get_ayanamsa_ex_ut(julianDayUt, SEFLG_SWIEPH, &ayanamsa, message) < 0) {
            SetProblem(result, "the ayanamsa could not be computed", message);
            return false;
        }
        result.ayanamsaDegrees = ayanamsa;
        if (request.meanAyanamsa && swe_get_ayanamsa_ex_ut(julianDayUt, SEFLG_SWIEPH | SEFLG_NONUT,
                                                           &ayanamsa, message) < 0) {
            SetProblem(result, "the ayanamsa could not be computed", message);
            return false;
        }
        result.meanAyanamsaDegrees = request.meanAyanamsa ? ayanamsa : 0.0;
    }
    return true;
}
