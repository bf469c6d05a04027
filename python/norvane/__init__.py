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
"""
import numbers
from pathlib import Path

import numpy as np

from geokern import _geokern, _numbers

__all__ = ["declination", "SOURCES"]

SOURCES = tuple(_geokern.SOURCES)
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


def declination(dates, lon, lat, source="auto", altitude=0.0, errcheck=False, threads=0):
    """Return the magnetic declination and its annual variation: (d, rate).

    dates: days as numpy datetime64 (any unit; a time of day is dropped),
    ISO texts ("2013-01-01") or datetime.date objects; a text that is not a
    day ("2013-02-30") is a point without an answer. A number is not a date:
    TypeError. lon, lat: WGS84
    longitudes and latitudes in decimal degrees, east and north positive.
    altitude: metres above the WGS84 ellipsoid (the model only; the grids
    ignore it). All four broadcast together as numpy broadcasts them.

    source: "auto" (default: the grids from 2009-01-01 to 2015-12-31, the
    model on any other day), "grille" or "modele".

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
    data = _open()
    missing = _geokern.missing_file(data, code)
    if missing is not None:
        raise FileNotFoundError(f"fichier de données introuvable ou incomplet : {_DATA_DIR / missing}")
    days, lon, lat, altitude = np.broadcast_arrays(_days(dates, errcheck), *_numbers(lon, lat, altitude))
    shape = lon.shape
    flat = [np.ascontiguousarray(a, dtype=t).reshape(-1)
            for a, t in ((days.view(np.int64), np.int64), (lon, np.float64), (lat, np.float64),
                         (altitude, np.float64))]
    d, rate, statuses, failed = _geokern.declination(data, code, *flat, threads)
    if errcheck and failed >= 0:
        index = _point(tuple(map(int, np.unravel_index(failed, shape))), shape)
        if np.isnat(days.reshape(-1)[failed]):
            reason = "date manquante (NaT)"
        else:
            reason = _geokern.message(int(statuses[failed])) or "pas de résultat"
        raise ValueError(f"point {index} ({days.reshape(-1)[failed]}, {float(flat[1][failed])!r}, "
                         f"{float(flat[2][failed])!r}) : {reason}")
    if not shape:
        return float(d[0]), float(rate[0])
    return d.reshape(shape), rate.reshape(shape)
