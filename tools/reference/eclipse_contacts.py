"""Contacts of a solar eclipse at a site, independently of the C++ engine: DE405 through
de405.py, IAU 1976 precession (nutation left out: a second or so), GMST 1982, the canon's
Moon radii and the WGS 84 ellipsoid; TT - UT fixed at 69.184 s (2017 to 2026).
Usage: python3 eclipse_contacts.py LAT LON JD_NEAR_GREATEST (e.g. 32.7767 -96.7970 2460409.262
for Dallas on 2024-04-08). Not used by the build or the tests."""
import sys, math
sys.path.insert(0, __import__("os").path.dirname(__file__))
import numpy as np, de405
AU = de405.AU; C = 299792.458 * 86400
RE, F = 6378.137, 1 / 298.257223563
def geo(jd, body):
    tau = 0
    for _ in range(3):
        e, _v = de405.earth_bary(jd - tau)
        b = (de405.sun_bary if body == "sun" else de405.moon_bary)(jd - tau)[0]
        p = (b - e) * AU
        tau = np.linalg.norm(p) / C
    return p
def rot(axis, a):
    c, s = math.cos(a), math.sin(a)
    if axis == 3: return np.array([[c, s, 0], [-s, c, 0], [0, 0, 1]])
    if axis == 2: return np.array([[c, 0, -s], [0, 1, 0], [s, 0, c]])
def prec(tt):
    t = (tt - 2451545.0) / 36525; a = math.radians(1 / 3600)
    zeta = (2306.2181 * t + 0.30188 * t * t + 0.017998 * t ** 3) * a
    z = (2306.2181 * t + 1.09468 * t * t + 0.018203 * t ** 3) * a
    th = (2004.3109 * t - 0.42665 * t * t - 0.041833 * t ** 3) * a
    return rot(3, -z) @ rot(2, th) @ rot(3, -zeta)
def gmst(ut):
    t = (ut - 2451545.0) / 36525
    s = 67310.54841 + (876600 * 3600 + 8640184.812866) * t + 0.093104 * t * t - 6.2e-6 * t ** 3
    return math.radians((s % 86400) / 240)
def sep(ut, lat, lon):
    tt = ut + 69.184 / 86400
    m = rot(3, gmst(ut)) @ prec(tt)
    sun, moon = m @ geo(tt, "sun"), m @ geo(tt, "moon")
    la, lo = math.radians(lat), math.radians(lon); e2 = F * (2 - F)
    n = RE / math.sqrt(1 - e2 * math.sin(la) ** 2)
    site = np.array([n * math.cos(la) * math.cos(lo), n * math.cos(la) * math.sin(lo), n * (1 - e2) * math.sin(la)])
    s, mo = sun - site, moon - site
    d = math.acos(np.dot(s, mo) / np.linalg.norm(s) / np.linalg.norm(mo))
    rs = math.asin(695990 / np.linalg.norm(s))
    return d, rs, math.asin(0.2725076 * RE / np.linalg.norm(mo)), math.asin(0.272281 * RE / np.linalg.norm(mo))
def root(f, a, b):
    fa = f(a)
    for _ in range(40):
        m = (a + b) / 2
        if (f(m) < 0) == (fa < 0): a, fa = m, f(m)
        else: b = m
    return (a + b) / 2
def show(jd):
    d = jd + 0.5; fr = (d - math.floor(d)) * 24
    h = int(fr); mi = int((fr - h) * 60); s = (fr - h - mi / 60) * 3600
    return "%02d:%02d:%04.1f" % (h, mi, s)
lat, lon = float(sys.argv[1]), float(sys.argv[2]); g = float(sys.argv[3])
outer = lambda t: (lambda d: d[0] - d[1] - d[2])(sep(t, lat, lon))
inner = lambda t: (lambda d: d[0] - abs(d[3] - d[1]))(sep(t, lat, lon))
ts = [g - 0.15 + i / 1440 for i in range(int(0.3 * 1440))]
tmin = min(ts, key=outer)
print("C1", show(root(outer, g - 0.15, tmin)), "C4", show(root(outer, tmin, g + 0.15)))
if inner(tmin) < 0:
    print("C2", show(root(inner, tmin - 0.01, tmin)), "C3", show(root(inner, tmin, tmin + 0.01)))
