"""geokern on arrays against the C library called point by point through ctypes."""
import ctypes
import os
from pathlib import Path

import numpy as np
import pytest

import geokern


class Point(ctypes.Structure):
    _fields_ = [("x_lambda", ctypes.c_double), ("y_phi", ctypes.c_double)]


LIB = ctypes.CDLL(os.environ.get("GEOKERN_LIBRARY") or str(next(Path(geokern.__file__).parent.glob("libgeokern.so*"))))
LIB.SysCoord2SysCoord.restype = Point
LIB.SysCoord2SysCoord.argtypes = [Point, ctypes.c_int, ctypes.c_int]
CODES = [s.code for s in geokern.systems()]


def reference(x, y, source, target):
    """SysCoord2SysCoord point by point; NaN for the failure pair."""
    out = [LIB.SysCoord2SysCoord(Point(a, b), source, target) for a, b in zip(x, y)]
    xo = np.array([p.x_lambda for p in out])
    yo = np.array([p.y_phi for p in out])
    failed = (xo == -9999.0) & (yo == -9999.0)
    xo[failed] = yo[failed] = np.nan
    return xo, yo


# WGS84 positions over France and around it, some outside the datum-shift grid.
rng = np.random.default_rng(20131)
LON = rng.uniform(-7.0, 11.0, 300)
LAT = rng.uniform(40.0, 53.0, 300)
IN_SYSTEM = {code: reference(LON, LAT, 11, code) for code in CODES}


@pytest.mark.parametrize("source", CODES)
def test_every_pair_equals_the_library_bit_for_bit(source):
    x, y = IN_SYSTEM[source]
    for target in CODES:
        got = geokern.Transformer(source, target).transform(x, y)
        expected = reference(x, y, source, target)
        for g, e in zip(got, expected):
            np.testing.assert_array_equal(g.view(np.int64)[~np.isnan(e)], e.view(np.int64)[~np.isnan(e)])
            np.testing.assert_array_equal(np.isnan(g), np.isnan(e))


def test_threads_give_the_same_numbers():
    lon, lat = np.tile(LON, 400), np.tile(LAT, 400)
    one = geokern.transform(lon, lat, "WGS84GG", "RGF93L93", threads=1)
    many = geokern.transform(lon, lat, "WGS84GG", "RGF93L93", threads=5)
    for a, b in zip(one, many):
        np.testing.assert_array_equal(a, b)


T = geokern.Transformer("rgf93gg", 8)
PARIS, FAR = (2.35, 48.85), (20.0, 46.0)
XS = np.array([2.35, 20.0, -1.55, 7.75])
YS = np.array([48.85, 46.0, 47.22, 48.58])
EXPECTED = reference(XS, YS, 12, 8)
GRID = np.arange(24.0).reshape(4, 6)

# (case, call, expected: a pair of arrays, a type of the results, or an exception and its message)
CASES = [
    ("arrays", lambda: T.transform(XS, YS), EXPECTED),
    ("failure gives NaN in both", lambda: T.transform(*FAR), (np.nan, np.nan)),
    ("lists", lambda: T.transform(list(XS), list(YS)), EXPECTED),
    ("float32", lambda: T.transform(XS.astype(np.float32), YS.astype(np.float32)),
     reference(XS.astype(np.float32), YS.astype(np.float32), 12, 8)),
    ("int16", lambda: T.transform(np.array([2, 3], np.int16), np.array([48, 46], np.int16)),
     reference([2, 3], [48, 46], 12, 8)),
    ("non-contiguous", lambda: T.transform(np.repeat(XS, 2)[::2], np.repeat(YS, 2)[::2]), EXPECTED),
    ("Fortran order 2-D", lambda: T.transform(np.asfortranarray(np.tile(XS, (3, 1))), np.tile(YS, (3, 1))),
     tuple(np.tile(e, (3, 1)) for e in EXPECTED)),
    ("broadcast", lambda: T.transform(XS[:, None], YS[None, :]),
     tuple(e.reshape(4, 4) for e in reference(np.repeat(XS, 4), np.tile(YS, 4), 12, 8))),
    ("scalars give floats", lambda: T.transform(*PARIS), float),
    ("0-d arrays give floats", lambda: T.transform(np.float32(2.35), np.array(48.85)), float),
    ("empty", lambda: T.transform([], []), (np.zeros(0), np.zeros(0))),
    ("shapes that do not broadcast", lambda: T.transform(XS, YS[:3]), (ValueError, "broadcast")),
    ("text", lambda: T.transform(["2.35"], [48.85]), (TypeError, "nombres")),
    ("errcheck names the first failure", lambda: T.transform(XS, YS, errcheck=True), (ValueError, r"point 1 \(20")),
    ("errcheck, 2-D index", lambda: T.transform(np.tile(XS, (2, 1)), np.tile(YS, (2, 1)), errcheck=True),
     (ValueError, r"point \(0, 1\)")),
    ("errcheck, a result that is not finite", lambda: geokern.transform([2.35, np.nan], 48.85, 11, 8, errcheck=True),
     (ValueError, r"point 1 .*non fini")),
    ("errcheck without failure", lambda: T.transform(*PARIS, errcheck=True), float),
    ("threads not a whole number", lambda: T.transform(*PARIS, threads=1.5), (TypeError, "threads")),
    ("threads out of range", lambda: T.transform(*PARIS, threads=10**20), (ValueError, "threads")),
    ("threads negative", lambda: T.transform(*PARIS, threads=-1), (ValueError, "threads")),
    ("masked array", lambda: T.transform(np.ma.masked_array(XS, XS > 5), YS), (TypeError, "masqué")),
    ("booleans", lambda: T.transform([True], [46.0]), (TypeError, "nombres")),
    ("unknown name", lambda: geokern.Transformer("LAMBERT93", "WGS84GG"), (ValueError, "LAMBERT93")),
    ("unknown code", lambda: geokern.transform(1, 2, 13, 11), (ValueError, "13")),
    ("precision", lambda: geokern.precision(GRID[:, :2] / 4 + 2, GRID[:, 1:3] / 4 + 46.0),
     lambda codes: codes.shape == (4, 2) and codes.dtype == np.int32),
    ("precision outside the grid", lambda: geokern.precision(*FAR), -9999),
]


@pytest.mark.parametrize("call, expected", [c[1:] for c in CASES], ids=[c[0] for c in CASES])
def test_behaviour(call, expected):
    if isinstance(expected, tuple) and isinstance(expected[0], type) and issubclass(expected[0], Exception):
        with pytest.raises(expected[0], match=expected[1]):
            call()
    elif isinstance(expected, type):
        assert all(type(v) is expected for v in call())
    elif callable(expected):
        assert expected(call())
    elif isinstance(expected, tuple):
        for got, want in zip(call(), expected):
            np.testing.assert_array_equal(got, want)
            assert np.asarray(got).dtype == np.float64
    else:
        assert call() == expected


def test_inputs_are_not_modified():
    x, y = XS.copy(), YS.copy()
    T.transform(x, y)
    np.testing.assert_array_equal(x, XS)
    np.testing.assert_array_equal(y, YS)


def test_systems_by_name_code_or_record():
    for s in geokern.systems():
        t = geokern.Transformer(s.name.lower(), s)
        assert t.source == t.target == s and geokern.Transformer(s.code, str(s.code)).source == s
