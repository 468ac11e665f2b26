#include "astro/modVedicEphemeris.h"

#include "astro/PositionText.h"
#include "astro/modVedicPlanetPosition.h"

#include <array>
#include <cmath>

namespace {

// One periodic term of the Moon's longitude: multiples of D, M, M' and F, the coefficient in
// degrees, and whether it is scaled by the eccentricity factor E (the terms that contain M).
struct LunarTerm {
    int d, m, mPrime, f;
    double coefficientDegrees;
    bool timesE;
};

// The 25 largest terms of the Moon's longitude in the abridged ELP-2000/82 series: J. Meeus,
// Astronomical Algorithms (1991), chapter 45, table 45.A.
constexpr std::array<LunarTerm, 25> lunarTerms = {{
    {0, 0, 1, 0, 6.288774, false},   {2, 0, -1, 0, 1.274027, false}, {2, 0, 0, 0, 0.658314, false},
    {0, 0, 2, 0, 0.213618, false},   {0, 1, 0, 0, -0.185116, true},  {0, 0, 0, 2, -0.114332, false},
    {2, 0, -2, 0, 0.058793, false},  {2, -1, -1, 0, 0.057066, true}, {2, 0, 1, 0, 0.053322, false},
    {2, -1, 0, 0, 0.045758, true},   {0, 1, -1, 0, -0.040923, true}, {1, 0, 0, 0, -0.034720, false},
    {0, 1, 1, 0, -0.030383, true},   {2, 0, 0, -2, 0.015327, false}, {0, 0, 1, 2, -0.012528, false},
    {0, 0, 1, -2, 0.010980, false},  {4, 0, -1, 0, 0.010675, false}, {0, 0, 3, 0, 0.010034, false},
    {4, 0, -2, 0, 0.008548, false},  {2, 1, -1, 0, -0.007888, true}, {2, 1, 0, 0, -0.006766, true},
    {1, 0, -1, 0, -0.005163, false}, {1, 1, 0, 0, 0.004987, true},   {2, -1, 1, 0, 0.004036, true},
    {2, 0, 2, 0, 0.003994, false},
}};

} // namespace

// The ayanamsa of N. C. Lahiri, adopted by the Calendar Reform Committee of the Government of
// India (1955), as 85886.27" (23 deg 51' 26.27") at J2000 plus S. Newcomb's general precession
// 5025.64" T + 1.11" T^2, less the two largest terms of E. W. Woolard's nutation in longitude
// (Explanatory Supplement to the Astronomical Ephemeris, HMSO, 1961). The Moon's mean node is that
// of J. Meeus, Astronomical Algorithms (1991), chapter 45.
double SiderealCorrectionJ2000(double centuriesJ2000) {
    const double t = centuriesJ2000;
    const double nodeDegrees = 125.044555 - 1934.1361849 * t + 0.0020762 * (t * t);
    const double sunMeanLongitudeDegrees = 280.466449 + 36000.7698231 * t + 0.0003106 * (t * t);
    return (17.23 * std::sin(nodeDegrees * degToRad) +
            1.27 * std::sin(2.0 * sunMeanLongitudeDegrees * degToRad) - 5025.64 * t -
            1.11 * (t * t) - 85886.27) /
           3600.0;
}

// Mean elements and eccentricity factor of the same chapter 45 as the periodic terms.
double MoonTropicalLongitudeDegrees(double centuriesJ2000) {
    const double t = centuriesJ2000;
    const double meanLongitudeDegrees = 218.3164591 + 481267.88134236 * t;
    const double elongationRadians = (297.8502042 + 445267.1115168 * t) * degToRad;
    const double sunAnomalyRadians = (357.5291092 + 35999.0502909 * t) * degToRad;
    const double moonAnomalyRadians = (134.9634114 + 477198.8676313 * t) * degToRad;
    const double latitudeArgumentRadians = (93.2720993 + 483202.0175273 * t) * degToRad;
    const double eccentricityFactor = 1.0 - 0.002516 * t - 0.0000074 * (t * t);

    double periodicDegrees = 0.0;
    for (const LunarTerm& term : lunarTerms) {
        const double argumentRadians = term.d * elongationRadians + term.m * sunAnomalyRadians +
                                       term.mPrime * moonAnomalyRadians +
                                       term.f * latitudeArgumentRadians;
        double termDegrees = term.coefficientDegrees * std::sin(argumentRadians);
        if (term.timesE) {
            termDegrees *= eccentricityFactor;
        }
        periodicDegrees += termDegrees;
    }

    double longitudeDegrees = meanLongitudeDegrees + periodicDegrees;
    while (longitudeDegrees < 0.0) {
        longitudeDegrees += 360.0;
    }
    while (longitudeDegrees > 360.0) {
        longitudeDegrees -= 360.0;
    }
    return longitudeDegrees;
}

double MoonCenturiesJ2000(const ChartState& chart) {
    const double universalTime = UniversalTimeHours(chart);
    const double dayNumber = JulianDayNumber(chart.birthMonth, chart.birthDay, chart.birthYear);
    return ((dayNumber - 2451545.0) + universalTime / 24.0 - 0.5) / 36525.0;
}

void ComputeMoonPosition(ChartState& chart, BodyLongitudes* longitudes) {
    const double centuriesJ2000 = MoonCenturiesJ2000(chart);
    double moonLongitude = MoonTropicalLongitudeDegrees(centuriesJ2000);
    moonLongitude += SiderealCorrectionJ2000(centuriesJ2000);
    if (moonLongitude < 0.0) {
        moonLongitude += 360.0;
    }
    chart.moonPositionText = FormatSignPosition(moonLongitude);
    if (longitudes != nullptr) {
        (*longitudes)[1] = LongitudeOnCircle(moonLongitude);
    }
}
