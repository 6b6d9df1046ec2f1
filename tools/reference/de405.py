"""Independent evaluation of DE405 straight from Debian's casacore table (numpy), for making
reference values. Not used by the build or the tests."""
import numpy as np

TABLE = "/usr/share/casacore/data/ephemerides/DE405/table.f0i"
FIRST, SPAN = 2436912.5, 32.0
AU, EMRAT = 149597870.691, 81.30056
# item: (first 1-based JPL word, coefficients, sub-intervals)
ITEMS = {"emb": (231, 13, 2), "moon": (441, 13, 8), "sun": (753, 11, 2)}

_raw = np.fromfile(TABLE, dtype="<u1")


def _row(r):
    start = 28 + 8160 * r
    return np.frombuffer(_raw[start:start + 8 * 1016].tobytes(), dtype="<f8")


def item(name, jd):
    """Position (km) and velocity (km/day) of an item at jd by Chebyshev evaluation."""
    word, n, subs = ITEMS[name]
    r = min(int((jd - FIRST) // SPAN), 1142)
    t = (jd - (FIRST + r * SPAN)) / SPAN
    l = min(int(t * subs), subs - 1)
    tc = 2 * (t * subs - l) - 1
    coeffs = _row(r)[word - 3 + l * 3 * n: word - 3 + (l + 1) * 3 * n].reshape(3, n)
    T = np.polynomial.chebyshev.chebval(tc, np.eye(n))
    dT = np.array([np.polynomial.chebyshev.chebval(tc, np.polynomial.chebyshev.chebder(np.eye(n)[k])) for k in range(n)])
    return coeffs @ T, coeffs @ dT * (2 * subs / SPAN)


def earth_bary(jd):
    p, v = item("emb", jd)
    mp, mv = item("moon", jd)
    return (p - mp / (1 + EMRAT)) / AU, (v - mv / (1 + EMRAT)) / AU


def moon_bary(jd):
    p, v = item("emb", jd)
    mp, mv = item("moon", jd)
    return (p + mp * EMRAT / (1 + EMRAT)) / AU, (v + mv * EMRAT / (1 + EMRAT)) / AU


def sun_bary(jd):
    p, v = item("sun", jd)
    return p / AU, v / AU
