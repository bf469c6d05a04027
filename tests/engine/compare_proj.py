#!/usr/bin/python3
"""geokern against PROJ on random points of each system added after the first
twelve, both directions: within 1 mm (1e-8 of a degree or grad for a
geographic system) forward, 1e-8 of the unit back. PROJ is Debian's
python3-pyproj; without it the test reports a skip (status 77).

usage: compare_proj.py LIBGEOKERN"""
import ctypes
import os
import random
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import catalogue_moteur  # noqa: E402

FIRST_NEW_CODE = 13  # codes 1 to 12 are held bit for bit by the engine's own tests
POINTS = 200
FORWARD_METRES = 1e-3
ANGLE = 1e-8


def engine(path):
    lib, systems = catalogue_moteur.load(path)

    def convert(xs, ys, source, target):
        n = len(xs)
        arr = ctypes.c_double * n
        x, y, ox, oy = arr(*xs), arr(*ys), arr(), arr()
        lib.SysCoord2SysCoordTableau(x, y, ox, oy, n, source, target)
        return list(ox), list(oy)

    return systems, convert


def area(system):
    """Random (lon, lat) in degrees in the system's area of use."""
    name = system.name
    if system.projection == 2:
        meridian = {"30N": -3.0, "31N": 3.0, "32N": 9.0}[name[-3:]]
        return lambda r: (meridian + r.uniform(-6.0, 6.0), r.uniform(41.0, 51.5))
    if name.startswith("RGF93CC"):
        k = int(name[-2:])
        return lambda r: (r.uniform(-5.0, 9.5), r.uniform(k - 1.0, k + 1.0))
    return lambda r: (r.uniform(-5.0, 9.5), r.uniform(41.0, 51.5))


def main():
    systems, convert = engine(sys.argv[1])
    try:
        import pyproj
    except ImportError:
        print("SKIP: PROJ's python3-pyproj is not installed")
        return 77
    # The geographic system in degrees of each datum: the source of the points.
    degrees = {s.datum: s for s in systems if s.projection == 0 and s.units == "degrés"}
    rnd = random.Random(23)
    failures = 0
    for system in systems[FIRST_NEW_CODE - 1:]:
        geo = degrees[system.datum]
        src, dst = f"EPSG:{geo.epsg}", f"EPSG:{system.epsg}"
        draw = area(system)
        lon, lat = zip(*[draw(rnd) for _ in range(POINTS)])
        ex, ey = convert(lon, lat, geo.code, system.code)
        px, py = pyproj.Transformer.from_crs(src, dst, always_xy=True).transform(lon, lat)
        limit = ANGLE if system.projection == 0 else FORWARD_METRES
        forward = max(max(abs(a - b) for a, b in zip(ex, px)), max(abs(a - b) for a, b in zip(ey, py)))
        bx, by = convert(px, py, system.code, geo.code)
        back = max(max(abs(a - b) for a, b in zip(bx, lon)), max(abs(a - b) for a, b in zip(by, lat)))
        ok = forward <= limit and back <= ANGLE
        failures += not ok
        print(f"{system.name:12} {dst:11} forward {forward:.2e} (limit {limit:g}), "
              f"back {back:.2e} (limit {ANGLE:g}) {'ok' if ok else 'FAILED'}")
    print(f"PROJ {pyproj.proj_version_str}: {len(systems) - FIRST_NEW_CODE + 1} systems, {POINTS} points each")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
