#pragma once

#include "chart/ChartState.h"

#include <array>

// Angle constants of the chart calculation, written as 15-digit decimal literals. They differ in
// the last bits from the doubles nearest to pi/180, 180/pi and pi; results are truncated to whole
// minutes, so the exact literals matter.
inline constexpr double degToRad = 0.0174532925199433;
inline constexpr double radToDeg = 57.2957795130823;
inline constexpr double piLiteral = 3.14159265358979;
inline constexpr double twoPiLiteral = 6.28318530717958;

// --- Birth instant, sidereal time and angles -------------------------------------------------

// Universal time of birth in hours, not wrapped into 0..24: local clock time plus the chart's
// signed zone correction, one hour earlier with daylight saving.
double UniversalTimeHours(const ChartState& chart);

// The working values of the time and angle stage for one chart.
struct ChartTimeValues {
    double universalTime;            // hours, not wrapped into 0..24
    double dayNumber;                // whole day number of the civil birth date
    double centuries1900;            // Julian centuries since 1899 December 31, 12h
    double siderealCorrection;       // degrees, negative
    double localSiderealDegrees;     // below 360; may be negative
    double tropicalMidheavenDegrees; // [0, 360)
    double tropicalAscendantDegrees; // [0, 360)
};
ChartTimeValues ComputeChartTime(const ChartState& chart);

// The sidereal longitude of each body in degrees, [0, 360), body-index order: the numbers the
// stages format into the position texts (which truncate them), handed out for the command.
using BodyLongitudes = std::array<double, positionCount>;

// Universal time, the 1900 time argument, the sidereal correction and the sidereal Ascendant
// and Midheaven. Writes chartSiderealCorrection, ascendantText and midheavenText, and when
// `longitudes` is given the Ascendant's and the Midheaven's numbers.
void PrepareChartTime(ChartState& chart, BodyLongitudes* longitudes = nullptr);

// Whole day number of a civil date (noon-based): Julian calendar before 15 October 1582,
// Gregorian from then on.
double JulianDayNumber(int month, int day, int year);

// Full-circle arctangent of y/x in radians, (-pi, pi].
double FullArcTangent(double y, double x);

// Adds 360 once when below 0, then subtracts 360 once when above 360.
double NormalizeDegrees(double degrees);

// Sidereal correction in degrees (the negative of the ayanamsa, with the two largest nutation
// terms) for Julian centuries since 1899 December 31, 12h.
double SiderealCorrection1900(double centuries1900);

// --- Planets, nodes and the position table ---------------------------------------------------

// Days since 2000 January 1, 12h universal time, for a civil date-time in universal time.
// Valid from March 1900 to February 2100.
double DaysSinceJ2000(int year, int month, int day, int hour, int minute, int second = 0);

// Mean orbital elements of body index k (0 Mercury, 1 Venus, 2 Earth, 3 Mars ... 8 Pluto). The
// mean longitude is reduced to one turn, the other angles are not.
struct OrbitalElementSet {
    double semiMajorAxisAu;
    double eccentricity;
    double inclinationRadians;         // i
    double ascendingNodeRadians;       // capital omega
    double perihelionLongitudeRadians; // varpi, longitude of perihelion
    double meanLongitudeRadians;       // L, in [0, 2 pi)
};
inline constexpr int orbitBodyCount = 9;
OrbitalElementSet OrbitalElements(int index, double daysSinceJ2000);

// Kepler's equation solved by Newton's method: the eccentric anomaly and the rounds taken. Two to
// four rounds suffice for the planets; no input takes more than the cap.
inline constexpr int keplerRoundCap = 100;
struct KeplerSolution {
    double eccentricAnomalyRadians;
    int rounds;
};
KeplerSolution SolveKepler(double meanAnomalyRadians, double eccentricity);

// True anomaly in [0, 2 pi) for mean anomaly M and eccentricity e.
double TrueAnomaly(double meanAnomalyRadians, double eccentricity);

// An angle brought into [0, 2 pi).
double ReduceRadians(double radians);

// Tropical geocentric ecliptic longitude in degrees, [0, 360], of element-table body `index`
// referred to the equinox of 2000.
double GeocentricLongitude(int index, double daysSinceJ2000);

// General precession in longitude since 2000 (IAU 2006) in degrees, for days since J2000.
double PrecessionSinceJ2000Degrees(double daysSinceJ2000);

// The birth instant in days since J2000, from the civil date-time and the signed zone
// correction, with calendar rollover.
double ChartDaysSinceJ2000(const ChartState& chart);

// Degrees the 1.20 rules take off the Moon's mean node for Rahu.
inline constexpr double ruleNodeLessDegrees = 1.0;

// Sun, Mercury to Pluto, Rahu and Ketu; fills all fourteen display texts of positionText.
// Needs chartSiderealCorrection, ascendantText, midheavenText and moonPositionText in place.
// When `longitudes` is given, also the numbers of the Sun, the planets and the nodes. Rahu is
// the mean node less `nodeLessDegrees` (0 for the mean node itself).
void ComputePositions(ChartState& chart, BodyLongitudes* longitudes = nullptr,
                      double nodeLessDegrees = ruleNodeLessDegrees);
