"""geokern's Python package against pyproj on the same 1,000,000 points.

Run by scripts/bench.sh (make bench) with the linux preset's package on
PYTHONPATH, under Debian's /usr/bin/python3 (python3-pyproj). Both sides
convert WGS84 longitudes and latitudes to NTF Lambert II étendu (EPSG:27572);
the outputs must agree to 1 cm before anything is timed. Each side runs five
times; the table keeps the least wall-clock time (throughput as a user sees it).
"""
import os
import sys
import time

import numpy as np
import pyproj

import geokern

N = 1_000_000
RUNS = 5

rng = np.random.default_rng(1)
lon = rng.uniform(-4.8, 9.6, N)   # the box of mainland France and Corsica
lat = rng.uniform(41.3, 51.1, N)

ours = geokern.Transformer("WGS84GG", "NTFL2E")
theirs = pyproj.Transformer.from_crs("EPSG:4326", "EPSG:27572", always_xy=True)

x1, y1 = ours.transform(lon, lat)
x2, y2 = theirs.transform(lon, lat)
gap = float(np.max(np.hypot(x1 - x2, y1 - y2)))
print(f"largest distance between the two outputs: {gap * 1000:.3f} mm")
if not gap <= 0.01:
    sys.exit("the outputs differ by more than 1 cm: nothing timed")


def best(call):
    times = []
    for _ in range(RUNS):
        start = time.perf_counter()
        call()
        times.append(time.perf_counter() - start)
    return min(times)


sides = [
    (f"geokern.Transformer.transform ({os.cpu_count()} threads)", lambda: ours.transform(lon, lat)),
    ("geokern.Transformer.transform (1 thread)", lambda: ours.transform(lon, lat, threads=1)),
    ("pyproj.Transformer.transform", lambda: theirs.transform(lon, lat)),
]
results = [(name, best(call)) for name, call in sides]
reference = results[-1][1]
print(f"{N:,} points, WGS84GG -> NTFL2E, best of {RUNS}; pyproj {pyproj.__version__}, PROJ {pyproj.proj_version_str}")
print(f"| {'side':<50} | {'ms':>8} | {'ns/point':>8} | {'x pyproj':>8} |")
for name, seconds in results:
    print(f"| {name:<50} | {seconds * 1e3:8.1f} | {seconds * 1e9 / N:8.1f} | {reference / seconds:8.2f} |")
