"""Prints the reference rows embedded in tests/host (ephemeris states, apparent places, Sun
events). Run with Debian's python3 (numpy, python3-erfa); needs casacore-data-jpl-de405."""
import math

import erfa

import apparent
import de405

AU = de405.AU


def ephemeris_rows():
    dates = [2436912.5, 2436912.5 + 1e-7, 2451536.5, 2451545.0, 2451552.3, 2460000.25,
             2473456.5, 2473488.5 - 1e-6, 2473488.5]
    for jd in dates:
        for name, item in (("kEarthMoonBarycentre", "emb"), ("kMoon", "moon"), ("kSun", "sun")):
            p, v = de405.item(item, jd)
            print("    {%.7f, %s, {%s}}," % (jd, name, ", ".join("%.17g" % x for x in list(p / AU) + list(v / AU))))


def place_rows():
    for jd in [2437000.5, 2444239.5, 2448908.5, 2451545.0, 2455197.5, 2458849.5, 2460000.25,
               2461382.75, 2473400.5]:
        for body in ("sun", "moon"):
            v = apparent.apparent(jd, body)
            print("    {%.6f, %s, {%.17g, %.17g, %.17g}}," % (jd, "kSun" if body == "sun" else "kMoon", *v))


CASES = [  # year, month, day, latitude, longitude (east +)
    (2024, 3, 20, 28.55, -81.38), (2024, 6, 21, 28.55, -81.38), (2024, 12, 21, 28.55, -81.38),
    (2024, 3, 21, 0.0, 0.0), (2025, 6, 21, 51.48, 0.0), (2025, 1, 15, -33.87, 151.21),
    (2024, 6, 21, 34.05, -118.24), (2024, 6, 21, 62.0, 25.0), (2023, 9, 1, 64.84, -147.72),
    (1975, 11, 3, 40.7, -74.0), (2055, 2, 10, -54.8, -68.3),
]


def event_rows():
    for y, m, d, lat, lon in CASES:
        jd0 = erfa.cal2jd(y, m, d)
        jd0 = jd0[0] + jd0[1]
        out = []
        for limit in (-0.8333333333333334, -6.0):
            rises, sets = apparent.events(jd0, lat, lon, limit)
            out.append("{%s}" % ", ".join("%.9f" % x for x in rises) if rises else "{}")
            out.append("{%s}" % ", ".join("%.9f" % x for x in sets) if sets else "{}")
        print("    {%d, %d, %d, %.2f, %.2f, %s}," % (y, m, d, lat, lon, ", ".join(out)))


if __name__ == "__main__":
    print("// ephemeris"); ephemeris_rows()
    print("// places"); place_rows()
    print("// events"); event_rows()
