#include "astro/modVedicPlanetPosition.h"

#include "astro/PositionText.h"

#include <chrono>
#include <cmath>

namespace {

// Int of the day-number formulas: the floor function.
double Int(double x) {
    return std::floor(x);
}

bool IsSet(int16_t flag) {
    return flag != 0;
}

} // namespace

// --- Birth instant, sidereal time and angles -------------------------------------------------

double UniversalTimeHours(const ChartState& chart) {
    const double localClockHours = chart.birthHour + chart.birthMinute / 60.0;
    // The zone's own sign gives the direction, whichever side of Greenwich the birthplace is.
    double zoneOffsetHours = chart.zoneCorrectionHours + chart.zoneCorrectionMinutes / 60.0 +
                             chart.zoneCorrectionSeconds / 3600.0;
    if (IsSet(chart.daylightSaving)) {
        zoneOffsetHours -= 1.0;
    }
    return localClockHours + zoneOffsetHours;
}

ChartTimeValues ComputeChartTime(const ChartState& chart) {
    double longitudeWest = chart.longitudeDegrees + chart.longitudeMinutes / 60.0;
    if (IsSet(chart.longitudeEastFlag)) {
        longitudeWest = -longitudeWest;
    }
    double latitudeNorth = chart.latitudeDegrees + chart.latitudeMinutes / 60.0;
    if (IsSet(chart.latitudeSouthFlag)) {
        latitudeNorth = -latitudeNorth;
    }
    ChartTimeValues values{};
    values.dayNumber = JulianDayNumber(chart.birthMonth, chart.birthDay, chart.birthYear);
    values.universalTime = UniversalTimeHours(chart);

    // Julian centuries since 1899 December 31, 12h; the day number is noon-based.
    const double centuries1900 =
        ((values.dayNumber - 2415020.0) + values.universalTime / 24.0 - 0.5) / 36525.0;
    values.centuries1900 = centuries1900;
    values.siderealCorrection = SiderealCorrection1900(centuries1900);

    // Greenwich mean sidereal time in hours, S. Newcomb's 6h 38m 45.836s + 8640184.542s T +
    // 0.0929s T^2 (Explanatory Supplement to the Astronomical Ephemeris, HMSO, 1961), with the
    // rate rounded to 2400.0513 h and T taken at the birth instant, so universal time adds once.
    const double t = centuries1900;
    double localSiderealDegrees =
        15.0 * (6.6460656 + 2400.0513 * t + 0.0000258 * (t * t) + values.universalTime) -
        longitudeWest;
    while (localSiderealDegrees >= 360.0) {
        localSiderealDegrees -= 360.0;
    }
    values.localSiderealDegrees = localSiderealDegrees;
    const double ramc = localSiderealDegrees * degToRad; // radians
    // Mean obliquity of the ecliptic, S. Newcomb's 23 deg 27' 8.26" - 46.845" T (Explanatory
    // Supplement to the Astronomical Ephemeris, HMSO, 1961), without the T^2 and T^3 terms.
    const double obliquity = (23.452294 - 0.0130125 * t) * degToRad; // radians

    double midheavenRadians = FullArcTangent(std::tan(ramc), std::cos(obliquity));
    if (midheavenRadians < 0.0) {
        midheavenRadians += piLiteral;
    }
    if (std::sin(ramc) < 0.0) {
        midheavenRadians += piLiteral;
    }
    values.tropicalMidheavenDegrees = midheavenRadians * radToDeg;

    double ascendantRadians =
        FullArcTangent(std::cos(ramc), -(std::sin(ramc) * std::cos(obliquity) +
                                         std::tan(latitudeNorth * degToRad) * std::sin(obliquity)));
    if (ascendantRadians < 0.0) {
        ascendantRadians += piLiteral;
    }
    if (std::cos(ramc) < 0.0) {
        ascendantRadians += piLiteral;
    }
    double ascendantDegrees = ascendantRadians * radToDeg;
    while (ascendantDegrees >= 360.0) {
        ascendantDegrees -= 360.0;
    }
    values.tropicalAscendantDegrees = ascendantDegrees;
    return values;
}

void PrepareChartTime(ChartState& chart, BodyLongitudes* longitudes) {
    const ChartTimeValues values = ComputeChartTime(chart);
    chart.chartSiderealCorrection = values.siderealCorrection;
    const double ascendantDegrees = values.tropicalAscendantDegrees + chart.chartSiderealCorrection;
    const double midheavenDegrees = values.tropicalMidheavenDegrees + chart.chartSiderealCorrection;
    chart.ascendantText = FormatSignPosition(NormalizeDegrees(ascendantDegrees));
    chart.midheavenText = FormatSignPosition(NormalizeDegrees(midheavenDegrees));
    if (longitudes != nullptr) {
        (*longitudes)[10] = LongitudeOnCircle(NormalizeDegrees(ascendantDegrees));
        (*longitudes)[11] = LongitudeOnCircle(NormalizeDegrees(midheavenDegrees));
    }
}

// The day number of C. Tondering's Calendar FAQ (section 2.15.1) with the months counted from
// March of -4800 in one number; it gives the Julian day numbers of J. Meeus, Astronomical
// Algorithms, 2nd ed., chapter 7, the calendar change of October 1582 included.
double JulianDayNumber(int month, int day, int year) {
    // Months counted from March of the year -4800.
    const double m = 12.0 * (year + 4800) + month - 3;
    double j = Int((365.0 * m + 7.0 + 2.0 * (m - 12.0 * Int(m / 12.0))) / 12.0) + day +
               Int(m / 48.0) - 32083.0;
    if (j >= 2299171.0) { // 15 October 1582 or later: Gregorian calendar
        j = j + Int(m / 4800.0) - Int(m / 1200.0) + 38.0;
    }
    return j;
}

double FullArcTangent(double y, double x) {
    const double signY = (y > 0.0) ? 1.0 : (y < 0.0 ? -1.0 : 0.0);
    if (x > 0.0) {
        return std::atan(y / x);
    }
    if (x == 0.0) {
        return signY * piLiteral / 2.0;
    }
    if (y == 0.0) {
        return piLiteral;
    }
    return signY * (piLiteral - std::atan(std::fabs(y / x)));
}

double NormalizeDegrees(double degrees) {
    if (degrees < 0.0) {
        degrees += 360.0;
    }
    if (degrees > 360.0) {
        degrees -= 360.0;
    }
    return degrees;
}

// The ayanamsa of N. C. Lahiri, adopted by the Calendar Reform Committee of the Government of
// India (1955), as 80861.27" at 1900 plus S. Newcomb's general precession 5025.64" T + 1.11" T^2,
// less the two largest terms of E. W. Woolard's nutation in longitude; the Moon's mean node
// (E. W. Brown) and the Sun's mean longitude (S. Newcomb) as in the Explanatory Supplement to the
// Astronomical Ephemeris (HMSO, 1961).
double SiderealCorrection1900(double centuries1900) {
    const double t = centuries1900;
    // Mean longitude of the Moon's ascending node and twice the Sun's mean longitude.
    double nodeDegrees = (933060.0 - 6962911.0 * t + 7.5 * (t * t)) / 3600.0;
    while (nodeDegrees >= 360.0) {
        nodeDegrees -= 360.0;
    }
    const double twiceSunLongitudeDegrees = (2013816.0 + 259205536.0 * t) / 3600.0;
    // Nutation in longitude (two largest terms) and precession.
    const double nutationArcseconds = 1.27 * std::sin(twiceSunLongitudeDegrees * degToRad) +
                                      17.23 * std::sin(nodeDegrees * degToRad);
    const double precessionArcseconds = 5025.64 * t + 1.11 * (t * t);
    return (nutationArcseconds - precessionArcseconds - 80861.27) / 3600.0;
}

// --- Planets, nodes and the position table ---------------------------------------------------

// The day count of P. Schlyter, "How to compute planetary positions", moved from his epoch
// 1999 December 31, 0h to 2000 January 1, 12h (730530 + 1.5 days).
double DaysSinceJ2000(int year, int month, int day, int hour, int minute, int second) {
    return 367.0 * year - Int(7.0 * (year + Int((month + 9) / 12.0)) / 4.0) +
           Int(275.0 * month / 9.0) + day - 730531.5 +
           (hour + minute / 60.0 + second / 3600.0) / 24.0;
}

namespace {

// An element without angle unit: value at J2000 and rate per Julian century.
struct LinearElement {
    double base;
    double ratePerCentury;
};

// An angle element: degrees at J2000 and arc seconds per Julian century.
struct AngleElement {
    double baseDegrees;
    double rateArcsecondsPerCentury;
};

struct ElementRow {
    LinearElement semiMajorAxisAu;
    LinearElement eccentricity;
    AngleElement inclination;
    AngleElement ascendingNode;
    AngleElement perihelionLongitude;
    AngleElement meanLongitude;
};

// Mean Keplerian elements for the equinox and ecliptic of J2000, valid 1800-2050: E. M.
// Standish (JPL), in the Explanatory Supplement to the Astronomical Almanac (1992), table 5.8.1.
// Row 2 is the Earth-Moon barycentre, standing for the Earth.
constexpr ElementRow elementTable[orbitBodyCount] = {
    {{0.38709893, 0.00000066},
     {0.20563069, 0.00002527},
     {7.00487, -23.51},
     {48.33167, -446.30},
     {77.45645, 573.57},
     {252.25084, 538101628.29}},
    {{0.72333199, 0.00000092},
     {0.00677323, -0.00004938},
     {3.39471, -2.86},
     {76.68069, -996.89},
     {131.53298, -108.80},
     {181.97973, 210664136.06}},
    {{1.00000011, -0.00000005},
     {0.01671022, -0.00003804},
     {0.00005, -46.94},
     {-11.26064, -18228.25},
     {102.94719, 1198.28},
     {100.46435, 129597740.63}},
    {{1.52366231, -0.00007221},
     {0.09341233, 0.00011902},
     {1.85061, -25.47},
     {49.57854, -1020.19},
     {336.04084, 1560.78},
     {355.45332, 68905103.78}},
    {{5.20336301, 0.00060737},
     {0.04839266, -0.00012880},
     {1.30530, -4.15},
     {100.55615, 1217.17},
     {14.75385, 839.93},
     {34.40438, 10925078.35}},
    {{9.53707032, -0.00301530},
     {0.05415060, -0.00036762},
     {2.48446, 6.11},
     {113.71504, -1591.05},
     {92.43194, -1948.89},
     {49.94432, 4401052.95}},
    {{19.19126393, 0.00152025},
     {0.04716771, -0.00019150},
     {0.76986, -2.09},
     {74.22988, -1681.40},
     {170.96424, 1312.56},
     {313.23218, 1542547.79}},
    {{30.06896348, -0.00125196},
     {0.00858587, 0.00002510},
     {1.76917, -3.64},
     {131.72169, -151.25},
     {44.97135, -844.43},
     {304.88003, 786449.21}},
    {{39.48168677, -0.00076912},
     {0.24880766, 0.00006465},
     {17.14175, 11.07},
     {110.30347, -37.33},
     {224.06676, -132.25},
     {238.92881, 522747.90}},
};

constexpr int earthIndex = 2;

double AngleRadians(const AngleElement& element, double centuriesJ2000) {
    return (element.baseDegrees + element.rateArcsecondsPerCentury * centuriesJ2000 / 3600.0) *
           degToRad;
}

double LinearValue(const LinearElement& element, double centuriesJ2000) {
    return element.base + element.ratePerCentury * centuriesJ2000;
}

} // namespace

OrbitalElementSet OrbitalElements(int index, double daysSinceJ2000) {
    const ElementRow& row = elementTable[index];
    const double centuriesJ2000 = daysSinceJ2000 / 36525.0;
    return OrbitalElementSet{LinearValue(row.semiMajorAxisAu, centuriesJ2000),
                             LinearValue(row.eccentricity, centuriesJ2000),
                             AngleRadians(row.inclination, centuriesJ2000),
                             AngleRadians(row.ascendingNode, centuriesJ2000),
                             AngleRadians(row.perihelionLongitude, centuriesJ2000),
                             ReduceRadians(AngleRadians(row.meanLongitude, centuriesJ2000))};
}

double ReduceRadians(double radians) {
    const double turns = radians / twoPiLiteral;
    double reducedRadians = twoPiLiteral * (turns - std::trunc(turns));
    if (reducedRadians < 0.0) {
        reducedRadians += twoPiLiteral;
    }
    return reducedRadians;
}

// Newton's method on Kepler's equation E - e sin E = M, from the starting value
// E = M + e sin M (1 + e cos M) of P. Schlyter, "How to compute planetary positions".
KeplerSolution SolveKepler(double meanAnomalyRadians, double eccentricity) {
    const double m = meanAnomalyRadians;
    const double e = eccentricity;
    double anomalyRadians = m + e * std::sin(m) * (1.0 + e * std::cos(m));
    int rounds = 0;
    while (rounds < keplerRoundCap) {
        ++rounds;
        const double previousRadians = anomalyRadians;
        anomalyRadians = previousRadians - (previousRadians - e * std::sin(previousRadians) - m) /
                                               (1.0 - e * std::cos(previousRadians));
        if (!(std::fabs(anomalyRadians - previousRadians) > 1e-12)) {
            break;
        }
    }
    return {anomalyRadians, rounds};
}

// tan(nu / 2) = sqrt((1 + e) / (1 - e)) tan(E / 2): J. Meeus, Astronomical Algorithms, 2nd ed.,
// chapter 30.
double TrueAnomaly(double meanAnomalyRadians, double eccentricity) {
    const double e = eccentricity;
    const double eccentricAnomalyRadians =
        SolveKepler(meanAnomalyRadians, e).eccentricAnomalyRadians;
    double trueAnomalyRadians =
        2.0 * std::atan(std::sqrt((1.0 + e) / (1.0 - e)) * std::tan(eccentricAnomalyRadians / 2.0));
    if (trueAnomalyRadians < 0.0) {
        trueAnomalyRadians += twoPiLiteral;
    }
    return trueAnomalyRadians;
}

namespace {

struct OrbitPoint {
    double radiusAu;
    double trueAnomalyRadians;
};

OrbitPoint PointOnOrbit(const OrbitalElementSet& elements) {
    const double meanAnomalyRadians =
        ReduceRadians(elements.meanLongitudeRadians - elements.perihelionLongitudeRadians);
    const double e = elements.eccentricity;
    const double trueAnomalyRadians = TrueAnomaly(meanAnomalyRadians, e);
    const double radiusAu =
        elements.semiMajorAxisAu * (1.0 - e * e) / (1.0 + e * std::cos(trueAnomalyRadians));
    return {radiusAu, trueAnomalyRadians};
}

// The Earth's heliocentric ecliptic position.
struct EarthPosition {
    double xAu;
    double yAu;
};

EarthPosition EarthAt(double daysSinceJ2000) {
    const OrbitalElementSet earth = OrbitalElements(earthIndex, daysSinceJ2000);
    const OrbitPoint point = PointOnOrbit(earth);
    return {point.radiusAu * std::cos(point.trueAnomalyRadians + earth.perihelionLongitudeRadians),
            point.radiusAu * std::sin(point.trueAnomalyRadians + earth.perihelionLongitudeRadians)};
}

double GeocentricLongitudeFrom(const EarthPosition& earth, int index, double daysSinceJ2000) {
    double xAu = 0.0;
    double yAu = 0.0;
    if (index != earthIndex) { // the Earth's row stands for the Sun, at the origin
        const OrbitalElementSet body = OrbitalElements(index, daysSinceJ2000);
        const OrbitPoint point = PointOnOrbit(body);
        const double nodeRadians = body.ascendingNodeRadians;
        const double inclinationRadians = body.inclinationRadians;
        // u, the argument of latitude: the angle from the ascending node along the orbit.
        const double uRadians =
            point.trueAnomalyRadians + body.perihelionLongitudeRadians - nodeRadians;
        xAu = point.radiusAu *
              (std::cos(nodeRadians) * std::cos(uRadians) -
               std::sin(nodeRadians) * std::sin(uRadians) * std::cos(inclinationRadians));
        yAu = point.radiusAu *
              (std::sin(nodeRadians) * std::cos(uRadians) +
               std::cos(nodeRadians) * std::sin(uRadians) * std::cos(inclinationRadians));
    }
    const double xGeocentricAu = xAu - earth.xAu;
    const double yGeocentricAu = yAu - earth.yAu;
    double longitudeDegrees = FullArcTangent(yGeocentricAu, xGeocentricAu) * 180.0 / piLiteral;
    while (longitudeDegrees > 360.0) {
        longitudeDegrees -= 360.0;
    }
    while (longitudeDegrees < 0.0) {
        longitudeDegrees += 360.0;
    }
    return longitudeDegrees;
}

} // namespace

double GeocentricLongitude(int index, double daysSinceJ2000) {
    return GeocentricLongitudeFrom(EarthAt(daysSinceJ2000), index, daysSinceJ2000);
}

double PrecessionSinceJ2000Degrees(double daysSinceJ2000) {
    // General precession in longitude, IAU 2006 (Capitaine et al. 2003), arc seconds.
    const double cy = daysSinceJ2000 / 36525.0;
    return (5028.796195 * cy + 1.1054348 * cy * cy) / 3600.0;
}

double ChartDaysSinceJ2000(const ChartState& chart) {
    using namespace std::chrono;
    // Civil date-time plus the signed zone correction, one hour less with daylight saving,
    // with day, month and year rolling over as needed.
    const year_month_day civilDate{year{chart.birthYear},
                                   month{static_cast<unsigned>(chart.birthMonth)},
                                   day{static_cast<unsigned>(chart.birthDay)}};
    sys_time<seconds> instant =
        sys_days{civilDate} + hours{chart.birthHour} + minutes{chart.birthMinute};
    instant += hours{chart.zoneCorrectionHours};
    instant += minutes{chart.zoneCorrectionMinutes};
    instant += seconds{chart.zoneCorrectionSeconds};
    if (IsSet(chart.daylightSaving)) {
        instant -= hours{1};
    }
    const sys_days universalDay = floor<days>(instant);
    const year_month_day universalDate{universalDay};
    const hh_mm_ss<seconds> clock{instant - universalDay};
    return DaysSinceJ2000(static_cast<int>(universalDate.year()),
                          static_cast<int>(static_cast<unsigned>(universalDate.month())),
                          static_cast<int>(static_cast<unsigned>(universalDate.day())),
                          static_cast<int>(clock.hours().count()),
                          static_cast<int>(clock.minutes().count()),
                          static_cast<int>(clock.seconds().count()));
}

void ComputePositions(ChartState& chart, BodyLongitudes* longitudes, double nodeLessDegrees) {
    const double d = ChartDaysSinceJ2000(chart);
    const double siderealMagnitudeDegrees = std::fabs(chart.chartSiderealCorrection);

    // The element longitudes are referred to the equinox of 2000; the precession since then
    // brings them to the equinox of date before the sidereal correction of date is taken off.
    std::string planetLongitudeTexts[orbitBodyCount];
    double planetLongitudes[orbitBodyCount];
    const double precessionDegrees = PrecessionSinceJ2000Degrees(d);
    // The Earth's orbit is the same for all nine bodies: evaluated once, the same bits each time.
    const EarthPosition earth = EarthAt(d);
    for (int k = 0; k < orbitBodyCount; ++k) {
        double longitudeDegrees =
            GeocentricLongitudeFrom(earth, k, d) + precessionDegrees - siderealMagnitudeDegrees;
        while (longitudeDegrees < 0.0) {
            longitudeDegrees += 360.0;
        }
        while (longitudeDegrees >= 360.0) {
            longitudeDegrees -= 360.0;
        }
        planetLongitudeTexts[k] = FormatSignPosition(longitudeDegrees);
        planetLongitudes[k] = longitudeDegrees;
    }

    // Mean ascending node of the Moon, 125.1228 - 0.0529538083 d degrees: P. Schlyter, "How to
    // compute planetary positions", here with days from J2000. The node factor uses 3.1416, not
    // the full pi, and one degree is taken off by the rules.
    const double nodeRadians = ReduceRadians((125.1228 - 0.0529538083 * d) * degToRad);
    double rahuDegrees = nodeRadians * 180.0 / 3.1416 - nodeLessDegrees - siderealMagnitudeDegrees;
    while (rahuDegrees < 0.0) {
        rahuDegrees += 360.0;
    }
    double ketuDegrees = rahuDegrees + 180.0;
    while (ketuDegrees > 360.0) {
        ketuDegrees -= 360.0;
    }
    const std::string rahuText = FormatSignPosition(rahuDegrees);
    const std::string ketuText = FormatSignPosition(std::fabs(ketuDegrees));

    const std::string* sources[positionCount] = {&planetLongitudeTexts[2],
                                                 &chart.moonPositionText,
                                                 &planetLongitudeTexts[0],
                                                 &planetLongitudeTexts[1],
                                                 &planetLongitudeTexts[3],
                                                 &planetLongitudeTexts[4],
                                                 &planetLongitudeTexts[5],
                                                 &planetLongitudeTexts[6],
                                                 &planetLongitudeTexts[7],
                                                 &planetLongitudeTexts[8],
                                                 &chart.ascendantText,
                                                 &chart.midheavenText,
                                                 &rahuText,
                                                 &ketuText};
    for (int i = 0; i < positionCount; ++i) {
        chart.positionText[static_cast<std::size_t>(i)] = FormatDisplayPosition(*sources[i]);
    }
    if (longitudes != nullptr) {
        // Body-index order, as `sources`; the Moon, Ascendant and Midheaven come from their
        // own stages.
        constexpr int planetOfBody[] = {2, -1, 0, 1, 3, 4, 5, 6, 7, 8};
        for (int body = 0; body < displayedBodyCount; ++body) {
            if (planetOfBody[body] >= 0) {
                (*longitudes)[static_cast<std::size_t>(body)] =
                    LongitudeOnCircle(planetLongitudes[planetOfBody[body]]);
            }
        }
        (*longitudes)[12] = LongitudeOnCircle(rahuDegrees);
        (*longitudes)[13] = LongitudeOnCircle(std::fabs(ketuDegrees));
    }
}
