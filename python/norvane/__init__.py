"""norvane: the magnetic declination in metropolitan France, and anywhere from
1900 to 2030 with the IGRF-14 model, on numpy arrays.

    >>> import norvane
    >>> d, rate = norvane.declination("2013-01-01", -1.5, 47.2)   # the calculator's grids
    >>> print(f"{d:.2f} {rate:.2f}")
    -1.20 0.15

Two sources: "grille", the calculator's own computation (the nearest node of
its two 5 km grids over metropolitan France, dates from 2009-01-01 to
2015-12-31), and "modele", the International Geomagnetic Reference Field,
14th generation, at the exact place, anywhere on Earth, from 1900-01-01 to
2030-01-01 (a prediction after 2025; it omits the crustal field, a few tenths
of a degree in places). "auto" takes the grids from 2009 to 2015 and the model
on any other day. The data files are part of the package.

Every element of the field, by IGRF-14, WMM2025 or WMMHR2025 (MODELS):

    >>> f = norvane.field("2026-06-01", 2.35, 48.85, model="wmm")
    >>> print(f"{f['D']:.2f} {f['I']:.2f} {f['F']:.0f}")
    2.03 64.41 48455
"""
import numbers
from pathlib import Path

import numpy as np

from geokern import _geokern, _numbers

__all__ = ["declination", "field", "SOURCES", "MODELS", "ELEMENTS", "ZONES", "GRID_PERIOD"]

SOURCES = tuple(_geokern.SOURCES)
# The grids' period, both days included, from the core: ("2009-01-01", "2015-12-31").
GRID_PERIOD = tuple(_geokern.GRID_PERIOD[0].split("/"))
# The models by key: (name, span, description), from the core's table.
MODELS = {key: (name, span, about) for _, key, name, _, span, about in _geokern.models()}
# The keys of field(): "D", "I", "H", "X", "Y", "Z", "F", then "dD" ... "dF".
ELEMENTS = tuple(_geokern.ELEMENTS)
# The pole zones' words by zone number (None for 0).
ZONES = tuple(_geokern.ZONES)
_MODEL_CODES = {key: code for code, key, *_ in _geokern.models()}
# The data files: in the package's own folder when pip installed it; in
# share/norvane under the prefix when cmake --install did (the Debian packages,
# with the package in lib/python3/dist-packages).
_DATA_DIR = Path(__file__).with_name("data")
if not _DATA_DIR.is_dir():
    _DATA_DIR = Path(__file__).resolve().parents[4] / "share" / "norvane"
_data = None


def _open():
    global _data
    if _data is None:
        _data = _geokern.open_data(str(_DATA_DIR))
    return _data


def _source(name):
    key = str(name).lower().replace("è", "e")
    if key not in _geokern.SOURCES:
        raise ValueError(f"source inconnue : {name!r} (auto, grille ou modele)")
    return _geokern.SOURCES[key]


def _model(name):
    key = str(name).lower()
    if key not in _MODEL_CODES:
        raise ValueError(f"modèle inconnu : {name!r} ({', '.join(_MODEL_CODES)})")
    return _MODEL_CODES[key]


def _fail(errcheck, failed, shape, statuses, model, point_text, own_reason=lambda k: None):
    """errcheck's ValueError for the first failed point, if asked for."""
    if errcheck and failed >= 0:
        index = _point(tuple(map(int, np.unravel_index(failed, shape))), shape)
        reason = own_reason(failed) or _geokern.message(int(statuses[failed]), model) or "pas de résultat"
        raise ValueError(f"point {index} ({point_text(failed)}) : {reason}")


def _point(index, shape):
    """The index of a point as errcheck's messages give it."""
    return index if len(shape) > 1 else (index[0] if index else 0)


_NOT_A_DATE = ("une date attendue, pas un nombre : un texte ISO (\"2013-01-01\"), "
               "un numpy.datetime64 ou un datetime.date")


_TICKS_PER_DAY = {"ps": 86400e12, "fs": 86400e15, "as": 86400e18}


def _is_number(value):
    return isinstance(value, (numbers.Number, np.number, np.bool_)) and not isinstance(value, np.datetime64)


def _days(dates, errcheck):
    """The dates as datetime64[D]: a day that numpy cannot read ("2013-02-30")
    is a point without an answer, as NaT is, rather than the whole call's
    failure. A number is not a date (numpy would count it in days since 1970)."""
    if isinstance(dates, np.ma.MaskedArray):
        raise TypeError("tableau masqué refusé : remplissez-le d'abord")
    values = np.asarray(dates)
    if values.dtype.kind in "biufc" or (values.dtype == object and any(map(_is_number, values.flat))):
        raise TypeError(_NOT_A_DATE)
    if values.dtype.kind == "M" and np.datetime_data(values.dtype)[0] in _TICKS_PER_DAY:
        # numpy cannot convert these units to days (its factor overflows); they
        # span days around 1970 only, which a double counts exactly enough.
        unit, count = np.datetime_data(values.dtype)
        days = np.floor(values.view(np.int64) * (count / _TICKS_PER_DAY[unit])).astype(np.int64)
        return np.where(np.isnat(values), np.datetime64("NaT"), days.astype("datetime64[D]"))
    try:
        return values.astype("datetime64[D]")
    except (ValueError, TypeError):
        pass
    days = np.empty(values.shape, dtype="datetime64[D]")
    for index, value in np.ndenumerate(values):
        try:
            days[index] = np.datetime64(value, "D")
        except (ValueError, TypeError):
            if errcheck:
                raise ValueError(f"point {_point(index, values.shape)} ({value!r}) : date illisible") from None
            days[index] = np.datetime64("NaT")
    return days


def declination(dates, lon, lat, source="auto", altitude=0.0, errcheck=False, threads=0, model="igrf"):
    """Return the magnetic declination and its annual variation: (d, rate).

    dates: days as numpy datetime64 (any unit; a time of day is dropped),
    ISO texts ("2013-01-01") or datetime.date objects; a text that is not a
    day ("2013-02-30") is a point without an answer. A number is not a date:
    TypeError. lon, lat: WGS84
    longitudes and latitudes in decimal degrees, east and north positive.
    altitude: metres above the WGS84 ellipsoid (the model only; the grids
    ignore it). All four broadcast together as numpy broadcasts them.

    source: "auto" (default: the grids from 2009-01-01 to 2015-12-31, the
    model on any other day), "grille" or "modele". model: the model of
    "modele" and "auto", "igrf" (default), "wmm" or "wmmhr" (MODELS).

    Returns two new float64 arrays of the broadcast shape, or two floats when
    every input is a scalar: the declination in degrees, east positive, and
    its annual variation in degrees per year. A point without an answer
    (outside the grids' area or period, outside the model's period, at a
    pole, NaT) gives NaN in both; with errcheck=True it raises ValueError
    naming the first such point's index and the reason, in French.

    threads: how many threads share a large array, a whole number from 0 (one
    per CPU) to 1024. The results do not depend on it. Masked arrays are
    refused (TypeError): fill them first.
    """
    code = _source(source)
    model_code = _model(model)
    data = _open()
    missing = _geokern.missing_file(data, code)
    if missing is not None:
        raise FileNotFoundError(f"fichier de données introuvable ou incomplet : {_DATA_DIR / missing}")
    days, lon, lat, altitude = np.broadcast_arrays(_days(dates, errcheck), *_numbers(lon, lat, altitude))
    shape = lon.shape
    flat = [np.ascontiguousarray(a, dtype=t).reshape(-1)
            for a, t in ((days.view(np.int64), np.int64), (lon, np.float64), (lat, np.float64),
                         (altitude, np.float64))]
    d, rate, statuses, failed = _geokern.declination(data, code, *flat, threads, model_code)
    _fail(errcheck, failed, shape, statuses, model_code,
          lambda k: f"{days.reshape(-1)[k]}, {float(flat[1][k])!r}, {float(flat[2][k])!r}",
          lambda k: "date manquante (NaT)" if np.isnat(days.reshape(-1)[k]) else None)
    if not shape:
        return float(d[0]), float(rate[0])
    return d.reshape(shape), rate.reshape(shape)


def field(dates, lon, lat, model="igrf", altitude=0.0, uncertainty=False, errcheck=False, threads=0):
    """Return every element of the magnetic field of a model, as a dict of arrays.

    dates: days as for declination(), or decimal years as numbers (2025.5).
    lon, lat: WGS84 degrees; altitude: metres above the WGS84 ellipsoid. All
    four broadcast together as in declination(). model: "igrf" (IGRF-14),
    "wmm" (WMM2025) or "wmmhr" (WMMHR2025, degree 133 with the crustal
    field); MODELS gives each one's span and description.

    Returns a dict keyed "D", "I", "H", "X", "Y", "Z", "F", "dD", "dI", "dH",
    "dX", "dY", "dZ", "dF" (degrees and nT, then per year), and "zone": 0, or
    1 and 2 in the two zones near a magnetic pole, where H is low (ZONES
    gives their words: use with caution, compass unreliable); floats and an int
    when every input is a scalar. uncertainty=True adds "uD", "uI", "uH", "uX",
    "uY", "uZ", "uF": one standard error as the model's makers publish it
    (NaN for IGRF-14, which publishes none). A point without an answer
    (outside the model's span, at a geographic pole, a latitude beyond 90
    degrees, NaN, NaT) is NaN everywhere and zone 0; with errcheck=True it
    raises ValueError naming the first such point and the reason, in French.
    """
    code = _model(model)
    data = _open()
    values = np.asarray(dates)
    if values.dtype.kind in "iuf":
        years = values.astype(np.float64)
    else:
        days = _days(values, errcheck)
        years = _geokern.decimal_years(np.ascontiguousarray(days.view(np.int64)).reshape(-1)).reshape(days.shape)
        years[np.isnat(days)] = np.nan
    years, lon, lat, altitude = np.broadcast_arrays(years, *_numbers(lon, lat, altitude))
    shape = lon.shape
    flat = [np.ascontiguousarray(a, dtype=np.float64).reshape(-1) for a in (years, lon, lat, altitude)]
    elements, uncertainties, zones, statuses, failed = _geokern.field(data, code, *flat, threads)
    _fail(errcheck, failed, shape, statuses, code,
          lambda k: f"{float(flat[0][k])!r}, {float(flat[1][k])!r}, {float(flat[2][k])!r}")
    columns = [(name, elements[:, k]) for k, name in enumerate(ELEMENTS)]
    if uncertainty:
        columns += [("u" + name, uncertainties[:, k]) for k, name in enumerate(ELEMENTS[:7])]
    columns.append(("zone", zones))
    if not shape:
        return {name: (int(v[0]) if name == "zone" else float(v[0])) for name, v in columns}
    return {name: np.ascontiguousarray(v).reshape(shape) for name, v in columns}
