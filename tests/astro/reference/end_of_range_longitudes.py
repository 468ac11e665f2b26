#!/usr/bin/env python3
"""Reference values for TropicalLongitudeAtTheEndsOfTheYears in tests/astro/PlanetsTest.cpp.

Tropical geocentric ecliptic longitudes (mean ecliptic and equinox of J2000) of the Sun and the
planets from E. M. Standish's mean Keplerian elements (Explanatory Supplement to the Astronomical
Almanac, 1992, table 5.8.1), worked with mpmath at 40 significant digits and no code of the
program: Kepler's equation by mpmath.findroot, the position in the orbital plane
(a (cos E - e), a sqrt(1 - e^2) sin E) turned into the ecliptic by the three rotations of the
orbit, and atan2. As in the program, the Earth-Moon barycentre stands for the Earth and is kept in
the ecliptic. Days are counted from 2000 January 1, 12h, with the Julian day of J. Meeus,
Astronomical Algorithms, 2nd ed., chapter 7.

Run: python3 end_of_range_longitudes.py   (needs python3-mpmath)
"""
import mpmath as mp

mp.mp.dps = 40

# Per body: a (au, au per century), e (-, per century), then I, Omega, varpi, L
# (degrees, arc seconds per century).
ELEMENTS = {
    "Mercury": [(0.38709893, 0.00000066), (0.20563069, 0.00002527), (7.00487, -23.51),
                (48.33167, -446.30), (77.45645, 573.57), (252.25084, 538101628.29)],
    "Venus": [(0.72333199, 0.00000092), (0.00677323, -0.00004938), (3.39471, -2.86),
              (76.68069, -996.89), (131.53298, -108.80), (181.97973, 210664136.06)],
    "EarthMoon": [(1.00000011, -0.00000005), (0.01671022, -0.00003804), (0.00005, -46.94),
                  (-11.26064, -18228.25), (102.94719, 1198.28), (100.46435, 129597740.63)],
    "Mars": [(1.52366231, -0.00007221), (0.09341233, 0.00011902), (1.85061, -25.47),
             (49.57854, -1020.19), (336.04084, 1560.78), (355.45332, 68905103.78)],
    "Jupiter": [(5.20336301, 0.00060737), (0.04839266, -0.00012880), (1.30530, -4.15),
                (100.55615, 1217.17), (14.75385, 839.93), (34.40438, 10925078.35)],
    "Saturn": [(9.53707032, -0.00301530), (0.05415060, -0.00036762), (2.48446, 6.11),
               (113.71504, -1591.05), (92.43194, -1948.89), (49.94432, 4401052.95)],
    "Uranus": [(19.19126393, 0.00152025), (0.04716771, -0.00019150), (0.76986, -2.09),
               (74.22988, -1681.40), (170.96424, 1312.56), (313.23218, 1542547.79)],
    "Neptune": [(30.06896348, -0.00125196), (0.00858587, 0.00002510), (1.76917, -3.64),
                (131.72169, -151.25), (44.97135, -844.43), (304.88003, 786449.21)],
    "Pluto": [(39.48168677, -0.00076912), (0.24880766, 0.00006465), (17.14175, 11.07),
              (110.30347, -37.33), (224.06676, -132.25), (238.92881, 522747.90)],
}
BODIES = ["Mercury", "Venus", "Sun", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Pluto"]


def exact(value):
    return mp.mpf(repr(value))


def elements(rows, centuries):
    a, e = (exact(base) + exact(rate) * centuries for base, rate in rows[:2])
    angles = (mp.radians(exact(base) + exact(rate) * centuries / 3600) for base, rate in rows[2:])
    return (a, e, *angles)


def heliocentric(rows, centuries, in_ecliptic=False):
    a, e, inclination, node, perihelion, mean_longitude = elements(rows, centuries)
    mean_anomaly = (mean_longitude - perihelion) % (2 * mp.pi)
    eccentric = mp.findroot(lambda x: x - e * mp.sin(x) - mean_anomaly, mean_anomaly)
    xp = a * (mp.cos(eccentric) - e)
    yp = a * mp.sqrt(1 - e * e) * mp.sin(eccentric)
    if in_ecliptic:
        angle = mp.atan2(yp, xp) + perihelion
        radius = mp.hypot(xp, yp)
        return radius * mp.cos(angle), radius * mp.sin(angle)
    w = perihelion - node
    cw, sw, cn, sn, ci = mp.cos(w), mp.sin(w), mp.cos(node), mp.sin(node), mp.cos(inclination)
    x = (cw * cn - sw * sn * ci) * xp + (-sw * cn - cw * sn * ci) * yp
    y = (cw * sn + sw * cn * ci) * xp + (-sw * sn + cw * cn * ci) * yp
    return x, y


def julian_day(year, month, day, hour, minute):
    if month <= 2:
        year, month = year - 1, month + 12
    century = year // 100
    gregorian = 2 - century + century // 4
    return (mp.floor(mp.mpf("365.25") * (year + 4716)) + mp.floor(mp.mpf("30.6001") * (month + 1))
            + day + gregorian - mp.mpf("1524.5") + (hour + mp.mpf(minute) / 60) / 24)


def geocentric_longitude(body, days):
    centuries = mp.mpf(days) / 36525
    earth_x, earth_y = heliocentric(ELEMENTS["EarthMoon"], centuries, in_ecliptic=True)
    x, y = (0, 0) if body == "Sun" else heliocentric(ELEMENTS[body], centuries)
    return mp.degrees(mp.atan2(y - earth_y, x - earth_x)) % 360


if __name__ == "__main__":
    for label, instant in (("1901", (1901, 1, 1, 0, 0)), ("2050", (2050, 12, 31, 12, 0))):
        days = julian_day(*instant) - 2451545
        for index, body in enumerate(BODIES):
            print('EndOfRangeCase{"%s%s", %d, %s, %s},' % (
                body.lower(), label, index, mp.nstr(days, 10), mp.nstr(
                    geocentric_longitude(body, days), 17, strip_zeros=False)))
