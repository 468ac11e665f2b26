#include "DegreesApart.h"
#include "precise/PreciseEngine.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>
#include <string>

namespace {

constexpr double pi = 3.14159265358979323846;

// Julian day of a civil date and time in universal time, from the days since 1970 that the
// standard library counts (1970 January 1, 0h is JD 2440587.5).
double JulianDay(int year, unsigned month, unsigned day, int hour, int minute) {
    using namespace std::chrono;
    const sys_days date{std::chrono::year{year} / std::chrono::month{month} /
                        std::chrono::day{day}};
    return 2440587.5 + date.time_since_epoch().count() + (hour + minute / 60.0) / 24.0;
}

double Hms(double hours, double minutes, double seconds) {
    return hours + minutes / 60.0 + seconds / 3600.0;
}

double Dms(double degrees, double minutes, double seconds) {
    const double magnitude = std::fabs(degrees) + minutes / 60.0 + seconds / 3600.0;
    return degrees < 0.0 ? -magnitude : magnitude;
}

// Apparent place, true equator and equinox of date: right ascension in hours, declination in
// degrees.
struct Place {
    double rightAscensionHours;
    double declinationDegrees;
};

// The angle on the sky between two places, in arcseconds (small angles).
double ArcsecondsApart(const Place& a, double rightAscensionDegrees, double declinationDegrees) {
    const double alongEquator = DegreesApart(a.rightAscensionHours * 15.0, rightAscensionDegrees) *
                                std::cos(a.declinationDegrees * pi / 180.0);
    const double across = a.declinationDegrees - declinationDegrees;
    return std::hypot(alongEquator, across) * 3600.0;
}

const char* const bodyNamesInOrder[] = {"Sun",     "Moon",   "Mercury", "Venus",   "Mars",
                                        "Jupiter", "Saturn", "Uranus",  "Neptune", "Pluto"};

struct TerrestrialInstant {
    const char* name;
    double julianDayTt;
    std::array<Place, 10> places; // Sun, Moon, Mercury ... Pluto
};

// Geocentric apparent places, true equator and equinox of date, from the U.S. Naval
// Observatory's NOVAS C 3.1 on JPL's DE405 at four instants of terrestrial time, as reproduced in
// the test suite of the astronomy library Skyfield (skyfield/tests/test_against_novas.py,
// "apparent.radec(epoch='date')" of test_<body>_geocentric_date0 to date3). DE405's Pluto, and the
// system barycentres it gives for Mars to Pluto, stand within 0.2″ of the bodies.
// clang-format off
constexpr std::array<TerrestrialInstant, 4> novas = {{
    {"apolloLanding1969", 2440423.345833333,
     {{{8.000108116572395, 20.58493093599604}, {12.446262111681095, -4.3782279425133765},
       {7.874971625095716, 22.415970392044663}, {4.93668626355443, 20.166644671858098},
       {15.99950982315885, -24.046277103674843}, {12.07798204538282, 0.8216129394812306},
       {2.4352879582290172, 11.911566107576897}, {12.061052547705433, 0.377499692903586},
       {15.608486730597074, -17.58379328551931}, {11.989232654068259, 16.792242650891883}}}},
    {"may1990", 2448031.5,
     {{{3.7666292045824337, 19.87917377230974}, {23.668278096873856, 1.805189185726724},
       {2.461676722646477, 11.20778549324496}, {1.1534174784892792, 5.277365365528824},
       {23.536847630733252, -4.935089760397493}, {6.755383083025231, 23.18268469367657},
       {19.805277718955743, -20.958164640919684}, {18.659361133085376, -23.447681812488966},
       {19.02716408230529, -21.808047913986798}, {15.208581663980876, -1.302239488315164}}}},
    {"epochJ2000", 2451545.0,
     {{{18.75183797477899, -23.032488638722818}, {14.82957327176072, -10.897905576905867},
       {18.138225455402914, -24.418845803732097}, {15.99279010971033, -18.448718976425834},
       {22.034417492807563, -13.182689288940114}, {1.5911888424331277, 8.594250857972389},
       {2.5843611215084574, 12.614774672730574}, {21.164987614252272, -17.020320613172007},
       {20.36218815756048, -19.213233798897665}, {16.761277438459963, -11.394288734411237}}}},
    {"august2012", 2456164.5,
     {{{10.279264504672037, 10.68850786534133}, {16.403831131432188, -20.96508913558473},
       {9.307566088097712, 16.631743449679668}, {7.188033727750362, 19.851678563902254},
       {13.9057161859901, -12.184654273116957}, {4.835670404865467, 21.670586389437943},
       {13.639628746850631, -7.7232016421026195}, {0.5005500654503398, 2.4297793410408026},
       {22.2643158309744, -11.437330191299896}, {18.501338273669152, -19.54122790974374}}}},
}};
// clang-format on

PreciseResult EquatorialPlaces(const PreciseRequest& asked) {
    PreciseRequest request = asked;
    request.sidereal = false;
    request.equatorial = true;
    PreciseResult result;
    const auto problem = RunPreciseChart(request, result);
    EXPECT_FALSE(problem) << *problem;
    return result;
}

// Catches a wrong body number, places of the mean equinox, of J2000 or without aberration or
// light deflection (up to 20″ off), and a silent fall-back from the ephemeris files to the
// library's analytical ephemeris, for every body at four instants.
TEST(PreciseEngine, ApparentPlacesMatchNovas) {
    if (!PreciseEngineAvailability().available) {
        GTEST_SKIP() << PreciseEngineAvailability().missing;
    }
    for (const TerrestrialInstant& instant : novas) {
        PreciseRequest request;
        request.julianDayTt = instant.julianDayTt;
        const PreciseResult result = EquatorialPlaces(request);
        for (std::size_t body = 0; body < 10; ++body) {
            EXPECT_LT(ArcsecondsApart(instant.places[body], result.longitudesDegrees[body],
                                      result.latitudesDegrees[body]),
                      1.0)
                << instant.name << " " << bodyNamesInOrder[body];
        }
    }
}

// Catches universal time taken as terrestrial time or the other way round: 51 s apart in 1980,
// which moves the Moon by 27″. Geocentric apparent places, true equator and equinox of date, from
// JPL Horizons (queried 2016-03-28, 0.01 s and 0.1″), as reproduced in the test suite of the
// astronomy library Astropy (astropy/coordinates/tests/test_solar_system.py,
// TestPositionsGeocentric) for 1980 March 25, 0h UTC.
TEST(PreciseEngine, ApparentPlacesMatchJplHorizonsInUniversalTime) {
    if (!PreciseEngineAvailability().available) {
        GTEST_SKIP() << PreciseEngineAvailability().missing;
    }
    const struct {
        std::size_t body;
        Place place;
    } rows[] = {
        {0, {Hms(0, 16, 31.00), Dms(1, 47, 16.9)}},
        {1, {Hms(7, 32, 2.62), Dms(18, 34, 5.0)}},
        {2, {Hms(22, 41, 47.78), Dms(-8, 29, 32.0)}},
        {5, {Hms(10, 17, 12.82), Dms(12, 2, 57.0)}},
    };
    PreciseRequest request;
    request.julianDayUt = JulianDay(1980, 3, 25, 0, 0);
    const PreciseResult result = EquatorialPlaces(request);
    for (const auto& row : rows) {
        EXPECT_LT(ArcsecondsApart(row.place, result.longitudesDegrees[row.body],
                                  result.latitudesDegrees[row.body]),
                  1.0)
            << bodyNamesInOrder[row.body];
    }
}

// Catches ecliptic longitudes gone wrong where the equatorial places are right (the ecliptic of
// date, the obliquity): geocentric apparent ecliptic longitudes of date from JPL Horizons
// (ObsEcLon), as reproduced in the test suite of Skyfield
// (skyfield/tests/test_against_horizons.py, test_ecliptic_for_epoch_of_date and its array
// twin), in universal time.
TEST(PreciseEngine, EclipticLongitudesMatchJplHorizons) {
    if (!PreciseEngineAvailability().available) {
        GTEST_SKIP() << PreciseEngineAvailability().missing;
    }
    const struct {
        const char* name;
        double julianDayUt;
        std::size_t body;
        double longitudeDegrees;
    } rows[] = {
        {"mars1956", JulianDay(1956, 1, 14, 6, 0), 4, 240.0965633},
        {"sun2005at7h", JulianDay(2005, 10, 1, 7, 0), 0, 188.2011122},
        {"sun2005at8h", JulianDay(2005, 10, 1, 8, 0), 0, 188.2420983},
    };
    for (const auto& row : rows) {
        PreciseRequest request;
        request.julianDayUt = row.julianDayUt;
        request.sidereal = false;
        PreciseResult result;
        const auto problem = RunPreciseChart(request, result);
        ASSERT_FALSE(problem) << *problem;
        EXPECT_LT(DegreesApart(result.longitudesDegrees[row.body], row.longitudeDegrees) * 3600.0,
                  1.0)
            << row.name << ": " << result.longitudesDegrees[row.body];
    }
}

} // namespace
