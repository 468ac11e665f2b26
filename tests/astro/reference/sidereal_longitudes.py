#!/usr/bin/env python3
"""Reference values for SiderealLongitudeOfEveryKindOfBody in tests/astro/LongitudeTest.cpp.

Sidereal longitudes in degrees, [0, 360), of all fourteen points of a chart, worked with mpmath at
30 significant digits and no code of the program, from the published formulas the program cites:

- Sun and planets: the tropical longitudes of end_of_range_longitudes.py (E. M. Standish's mean
  elements, equinox of J2000), brought to the equinox of date by the IAU 2006 general precession
  in longitude (N. Capitaine et al. 2003: 5028.796195" T + 1.1054348" T^2, T in Julian centuries
  from J2000), less the ayanamsa of N. C. Lahiri as the Explanatory Supplement to the
  Astronomical Ephemeris (HMSO, 1961) gives it from 1900: 80861.27" + 5025.64" T + 1.11" T^2 less
  17.23" sin(node) + 1.27" sin(2 L(Sun)), T from 1899 December 31, 12h.
- Moon: the 25 largest terms of the abridged ELP-2000/82 series, J. Meeus, Astronomical
  Algorithms (1991), chapter 45, less Lahiri's ayanamsa referred to J2000 (85886.27").
- Ascendant and Midheaven: the spherical-astronomy formulas atan2(cos RAMC, -(sin RAMC cos e +
  tan phi sin e)) and atan2(sin RAMC, cos RAMC cos e), with S. Newcomb's sidereal time
  15 (6.6460656 + 2400.0513 T + 0.0000258 T^2 + UT) - west longitude and obliquity
  23.452294 - 0.0130125 T degrees (T from 1899 December 31, 12h).
- Rahu: P. Schlyter's mean node 125.1228 - 0.0529538083 d degrees (d from J2000), turned into
  degrees with the factor 180/3.1416 that the program's source uses and one degree taken off,
  less the ayanamsa; Ketu opposite.

Run: python3 sidereal_longitudes.py   (needs python3-mpmath; imports end_of_range_longitudes.py)
"""
import mpmath as mp

import end_of_range_longitudes as planets

mp.mp.dps = 30
ARCSEC = mp.mpf(3600)

# name, civil date and time in universal time, east longitude and north latitude in degrees
CHARTS = [
    ("greenwich2000", (2000, 1, 1, 12, 0), 0, 51 + mp.mpf(30) / 60),
    ("greenwich1901", (1901, 1, 1, 0, 0), 0, 51 + mp.mpf(30) / 60),
    ("greenwich2050", (2050, 12, 31, 12, 0), 0, 51 + mp.mpf(30) / 60),
    ("delhi1990", (1990, 8, 15, 5, 0), 77 + mp.mpf(13) / 60, 28 + mp.mpf(39) / 60),
]
# Body-index order of the chart; the planets by their names in end_of_range_longitudes.py.
PLANETS = {0: "Sun", 2: "Mercury", 3: "Venus", 4: "Mars", 5: "Jupiter", 6: "Saturn",
           7: "Uranus", 8: "Neptune", 9: "Pluto"}
LUNAR_TERMS = [  # D, M, M', F, coefficient in degrees (Meeus, table 45.A)
    (0, 0, 1, 0, "6.288774"), (2, 0, -1, 0, "1.274027"), (2, 0, 0, 0, "0.658314"),
    (0, 0, 2, 0, "0.213618"), (0, 1, 0, 0, "-0.185116"), (0, 0, 0, 2, "-0.114332"),
    (2, 0, -2, 0, "0.058793"), (2, -1, -1, 0, "0.057066"), (2, 0, 1, 0, "0.053322"),
    (2, -1, 0, 0, "0.045758"), (0, 1, -1, 0, "-0.040923"), (1, 0, 0, 0, "-0.034720"),
    (0, 1, 1, 0, "-0.030383"), (2, 0, 0, -2, "0.015327"), (0, 0, 1, 2, "-0.012528"),
    (0, 0, 1, -2, "0.010980"), (4, 0, -1, 0, "0.010675"), (0, 0, 3, 0, "0.010034"),
    (4, 0, -2, 0, "0.008548"), (2, 1, -1, 0, "-0.007888"), (2, 1, 0, 0, "-0.006766"),
    (1, 0, -1, 0, "-0.005163"), (1, 1, 0, 0, "0.004987"), (2, -1, 1, 0, "0.004036"),
    (2, 0, 2, 0, "0.003994")]


def ayanamsa_1900(t):
    node = (933060 - 6962911 * t + mp.mpf("7.5") * t * t) / ARCSEC
    twice_sun = (2013816 + 259205536 * t) / ARCSEC
    nutation = mp.mpf("1.27") * mp.sin(mp.radians(twice_sun)) + mp.mpf("17.23") * mp.sin(
        mp.radians(node))
    return (mp.mpf("80861.27") + mp.mpf("5025.64") * t + mp.mpf("1.11") * t * t - nutation) / ARCSEC


def ayanamsa_2000(t):
    node = mp.mpf("125.044555") - mp.mpf("1934.1361849") * t + mp.mpf("0.0020762") * t * t
    sun = mp.mpf("280.466449") + mp.mpf("36000.7698231") * t + mp.mpf("0.0003106") * t * t
    nutation = mp.mpf("17.23") * mp.sin(mp.radians(node)) + mp.mpf("1.27") * mp.sin(
        mp.radians(2 * sun))
    return (mp.mpf("85886.27") + mp.mpf("5025.64") * t + mp.mpf("1.11") * t * t - nutation) / ARCSEC


def moon_tropical(t):
    mean = mp.mpf("218.3164591") + mp.mpf("481267.88134236") * t
    d = mp.radians(mp.mpf("297.8502042") + mp.mpf("445267.1115168") * t)
    m = mp.radians(mp.mpf("357.5291092") + mp.mpf("35999.0502909") * t)
    mm = mp.radians(mp.mpf("134.9634114") + mp.mpf("477198.8676313") * t)
    f = mp.radians(mp.mpf("93.2720993") + mp.mpf("483202.0175273") * t)
    e = 1 - mp.mpf("0.002516") * t - mp.mpf("0.0000074") * t * t
    total = mean
    for kd, km, kmm, kf, coefficient in LUNAR_TERMS:
        term = mp.mpf(coefficient) * mp.sin(kd * d + km * m + kmm * mm + kf * f)
        total += term * (e if km != 0 else 1)
    return total


def circle(degrees):
    return degrees % 360


def chart_longitudes(instant, east, north):
    jd = planets.julian_day(*instant)
    days = jd - 2451545
    t1900 = (jd - 2415020) / 36525
    t2000 = days / 36525
    ayanamsa = ayanamsa_1900(t1900)
    longitudes = {}
    precession = (mp.mpf("5028.796195") * t2000 + mp.mpf("1.1054348") * t2000 ** 2) / ARCSEC
    for body, name in PLANETS.items():
        longitudes[body] = circle(planets.geocentric_longitude(name, days) + precession - ayanamsa)
    longitudes[1] = circle(moon_tropical(t2000) - ayanamsa_2000(t2000))
    universal_hours = instant[3] + mp.mpf(instant[4]) / 60
    ramc = mp.radians(circle(15 * (mp.mpf("6.6460656") + mp.mpf("2400.0513") * t1900 +
                                   mp.mpf("0.0000258") * t1900 ** 2 + universal_hours) + east))
    obliquity = mp.radians(mp.mpf("23.452294") - mp.mpf("0.0130125") * t1900)
    phi = mp.radians(north)
    ascendant = mp.atan2(mp.cos(ramc), -(mp.sin(ramc) * mp.cos(obliquity) +
                                        mp.tan(phi) * mp.sin(obliquity)))
    midheaven = mp.atan2(mp.sin(ramc), mp.cos(ramc) * mp.cos(obliquity))
    longitudes[10] = circle(mp.degrees(ascendant) - ayanamsa)
    longitudes[11] = circle(mp.degrees(midheaven) - ayanamsa)
    node = mp.radians(circle(mp.mpf("125.1228") - mp.mpf("0.0529538083") * days))
    longitudes[12] = circle(node * 180 / mp.mpf("3.1416") - 1 - ayanamsa)
    longitudes[13] = circle(longitudes[12] + 180)
    return longitudes


if __name__ == "__main__":
    for name, instant, east, north in CHARTS:
        values = chart_longitudes(instant, east, north)
        print("{\"%s\", {%s}}," % (name, ", ".join(mp.nstr(values[body], 17, strip_zeros=False)
                                                  for body in range(14))))
