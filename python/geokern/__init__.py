"""geokern: French coordinate systems (NTF, RGF93, WGS84) on numpy arrays.

The transformations are those of the geokern engine (``SysCoord2SysCoord``),
run over whole arrays in compiled code::

    >>> import geokern
    >>> t = geokern.Transformer("WGS84GG", "NTFL2E")
    >>> t.transform(2.35, 48.85)
    (600990.892, 2427961.512)

Geographic points are (longitude, latitude) in decimal degrees east of
Greenwich and north; projected points are (easting, northing) in metres, carto
offset included. A point the engine cannot transform gives NaN.
"""
from collections import namedtuple

import numpy as np

from . import _geokern

__all__ = ["System", "Transformer", "transform", "precision", "systems"]

System = namedtuple("System", "code name label units epsg")
System.__doc__ = """One system of the catalogue.

code:  the engine's code, 1 to 12
name:  the catalogue name, such as "NTFL2E"
label: its French description, such as "NTF Lambert II étendu"
units: "degrees" (longitude, latitude) or "metres" (easting, northing)
epsg:  the EPSG code of the same system, for reference (PROJ's axis order may differ)
"""

_SYSTEMS = tuple(
    System(code, name, label, "degrees" if geographic else "metres", epsg)
    for code, name, label, geographic, epsg in _geokern.systems()
)


def systems():
    """Return the twelve systems of the catalogue, in code order, as `System` tuples."""
    return list(_SYSTEMS)


def _system(value):
    """The `System` named by a catalogue name (any case), a code 1-12 or a `System`."""
    if isinstance(value, System):
        value = value.code
    if isinstance(value, (int, np.integer)) and not isinstance(value, bool):
        code = int(value) if 1 <= value <= len(_SYSTEMS) else 0
    elif isinstance(value, str):
        code = _geokern.system_code(value)
    else:
        code = 0
    if code == 0:
        raise ValueError(f"système inconnu : {value!r} (voir geokern.systems())")
    return _SYSTEMS[code - 1]


def _numbers(*values):
    """The values as arrays of real numbers, broadcast together: TypeError for
    texts, complex numbers, booleans and masked arrays (whose mask numpy would
    drop: fill them, with NaN say, first)."""
    for value in values:
        if isinstance(value, np.ma.MaskedArray):
            raise TypeError("tableau masqué refusé : remplissez-le d'abord (par exemple .filled(np.nan))")
    arrays = np.broadcast_arrays(*(np.asarray(v) for v in values))
    for array in arrays:
        if array.dtype.kind not in "iuf":
            raise TypeError(f"nombres attendus, reçu un tableau de type {array.dtype}")
    return arrays


def _flat_pair(a, b):
    """Broadcast two array-likes as numpy does; return them flat, contiguous and
    float64 (copies only where needed: the caller's arrays are only read), with
    the broadcast shape."""
    a, b = _numbers(a, b)
    shape = a.shape
    return (np.ascontiguousarray(a, dtype=np.float64).reshape(-1),
            np.ascontiguousarray(b, dtype=np.float64).reshape(-1), shape)


def _shaped(array, shape):
    return array.reshape(shape) if shape else array.dtype.type(array[0]).item()


class Transformer:
    """Transforms points from one system of the catalogue to another.

    Systems are named by their catalogue name (any case, such as "WGS84GG" or
    "rgf93l93"), by their code 1-12, or by a `System` from `systems()`. An
    unknown system raises ValueError.

    >>> t = Transformer("RGF93GG", "RGF93L93")
    >>> t.transform(3.0, 46.5)
    (700000.0, 6600000.0)
    """

    def __init__(self, source, target):
        self.source = _system(source)
        self.target = _system(target)

    def __repr__(self):
        return f"Transformer({self.source.name!r}, {self.target.name!r})"

    def transform(self, x, y, errcheck=False, threads=0):
        """Transform points; return (x, y) in the target system.

        x, y: numbers or array-likes of any numeric dtype and of shapes that
        broadcast together (as numpy broadcasts them; ValueError otherwise).
        Geographic coordinates are (longitude, latitude) in degrees, projected
        ones (easting, northing) in metres. The inputs are never modified.

        Returns two new float64 arrays of the broadcast shape, or two floats
        when both inputs are scalars. The numbers are exactly those of the
        engine's SysCoord2SysCoord for each point. A point the engine cannot
        transform (an NTF <-> RGF93 route outside the datum-shift grid GR3DF97A)
        gives NaN in both coordinates, and so does a point the console
        programs refuse too: a geographic latitude beyond ±90° or longitude
        beyond ±180°, a projected point more than 10,000 km from the origin of
        its system's coordinates. With errcheck=True, ValueError names the
        first point whose result is not finite (such a point, or a NaN or an
        infinity given or produced) and why, instead.

        threads: how many threads share a large array, a whole number from 0
        (one per CPU) to 1024. The results do not depend on it.
        """
        xf, yf, shape = _flat_pair(x, y)
        xo, yo, failed = _geokern.transform(xf, yf, self.source.code, self.target.code, threads)
        if errcheck:
            bad = ~(np.isfinite(xo) & np.isfinite(yo))
            if bad.any():
                k = int(np.argmax(bad))
                index = tuple(map(int, np.unravel_index(k, shape))) if len(shape) > 1 else k
                reason = (_geokern.refusal(self.source.code, float(xf[k]), float(yf[k]))
                          or ("hors de la grille GR3DF97A" if k == failed else "résultat non fini"))
                raise ValueError(f"point {index} ({float(xf[k])!r}, {float(yf[k])!r}) : transformation impossible de "
                                 f"{self.source.name} vers {self.target.name} ({reason})")
        return _shaped(xo, shape), _shaped(yo, shape)


def transform(x, y, source, target, errcheck=False, threads=0):
    """Transform points from system `source` to system `target`.

    The same as ``Transformer(source, target).transform(x, y, errcheck)``.
    """
    return Transformer(source, target).transform(x, y, errcheck=errcheck, threads=threads)


def precision(lon, lat):
    """Return the precision codes of the datum-shift grid GR3DF97A at positions.

    lon, lat: RGF93 (or WGS84) longitudes and latitudes in decimal degrees,
    numbers or array-likes that broadcast together. Returns an int32 array of
    the broadcast shape (an int for two scalars): the code of the grid node the
    engine uses there, from the grid file's header, 1 (NTF -> RGF93 shift known
    to 5 cm), 2 (10 cm), 3 (20 cm), 4 (50 cm) or 99 (more than 1 m), and -9999
    outside the grid.
    """
    lonf, latf, shape = _flat_pair(lon, lat)
    return _shaped(_geokern.precision(lonf, latf), shape)
