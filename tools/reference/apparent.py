"""Apparent geocentric places of the Sun and the Moon from DE405 with ERFA's routines
(light time, eraLdsun, eraAb, eraPmat76, eraNutm80), and the Sun's altitude for an
independent search of sunrise, sunset and twilight. Prints C++ table rows for the tests."""
import math
import sys

import erfa
import numpy as np

import de405

C_AU_PER_DAY = 173.1446326846693  # speed of light, AU per day


def apparent(jd, body):
    eb, ev = de405.earth_bary(jd)
    sb, _ = de405.sun_bary(jd)
    eh = eb - sb
    tau = 0.0
    geometric = None
    for _ in range(10):
        b = (de405.sun_bary if body == "sun" else de405.moon_bary)(jd - tau)[0]
        s = de405.sun_bary(jd - tau)[0]
        p = b - eb
        if geometric is None:
            geometric = np.linalg.norm(p)
        tau_new = np.linalg.norm(p) / C_AU_PER_DAY
        if abs(tau_new - tau) < 1e-12:
            break
        tau = tau_new
    q = b - s
    dist = geometric  # the place keeps the geometric distance
    u = p / np.linalg.norm(p)
    if body != "sun":  # the Sun does not deflect its own light
        u = erfa.ld(1.0, u, q / np.linalg.norm(q), eh / np.linalg.norm(eh),
                    np.linalg.norm(eh), 0.0)
    u = erfa.ab(u, ev / C_AU_PER_DAY, np.linalg.norm(eh),
                math.sqrt(1 - np.dot(ev / C_AU_PER_DAY, ev / C_AU_PER_DAY)))
    m = erfa.nutm80(jd, 0.0) @ erfa.pmat76(jd, 0.0)
    return m @ (u * dist)


def radec(v):
    ra = math.degrees(math.atan2(v[1], v[0])) / 15 % 24
    dec = math.degrees(math.atan2(v[2], math.hypot(v[0], v[1])))
    return ra, dec


def sun_altitude(jd, lat, lon):
    v = apparent(jd, "sun")
    ra, dec = radec(v)
    gast = erfa.gmst82(jd, 0.0) + erfa.eqeq94(jd, 0.0)
    h = gast + math.radians(lon) - math.radians(ra * 15)
    la, de = math.radians(lat), math.radians(dec)
    return math.degrees(math.asin(math.sin(la) * math.sin(de) + math.cos(la) * math.cos(de) * math.cos(h)))


def crossing(jd_lo, jd_hi, lat, lon, limit):
    f = lambda jd: sun_altitude(jd, lat, lon) - limit
    a, b = jd_lo, jd_hi
    fa = f(a)
    for _ in range(60):
        m = (a + b) / 2
        fm = f(m)
        if (fm < 0) == (fa < 0):
            a, fa = m, fm
        else:
            b = m
    return (a + b) / 2


def events(jd0, lat, lon, limit):
    """Rise and set crossings of `limit` degrees within [jd0 - 0.5, jd0 + 1.5), as hours from jd0."""
    step = 1 / 96
    grid = [jd0 - 0.5 + i * step for i in range(int(2 / step) + 1)]
    alts = [sun_altitude(j, lat, lon) - limit for j in grid]
    rises, sets = [], []
    for j, a, b in zip(grid, alts, alts[1:]):
        if (a < 0) != (b < 0):
            t = (crossing(j, j + step, lat, lon, limit) - jd0) * 24
            (rises if a < 0 else sets).append(t)
    return rises, sets


if __name__ == "__main__":
    for jd in [2448908.5, 2451545.0, 2455197.5, 2460000.25, 2461382.75, 2437000.5, 2473400.5]:
        for body in ("sun", "moon"):
            v = apparent(jd, body)
            print("    {%.6f, %s, %.17g, %.17g, %.17g}," % (jd, "kSun" if body == "sun" else "kMoon", *v))
