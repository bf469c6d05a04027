"""geokern's Python package against pyproj on the same 1,000,000 points.

Run by scripts/bench.sh (make bench) with the linux preset's package on
PYTHONPATH, under Debian's /usr/bin/python3 (python3-pyproj). Both sides
convert WGS84 longitudes and latitudes to NTF Lambert II étendu (EPSG:27572);
the outputs must agree to 1 cm before anything is timed. Each side runs five
times; the table keeps the least wall-clock time (the throughput a user sees)
and the least CPU time (the work, every thread's).
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
    """The least wall-clock and the least CPU time (every thread's) of RUNS calls."""
    wall, cpu = [], []
    for _ in range(RUNS):
        start, start_cpu = time.perf_counter(), time.process_time()
        call()
        wall.append(time.perf_counter() - start)
        cpu.append(time.process_time() - start_cpu)
    return min(wall), min(cpu)


sides = [
    (f"geokern.Transformer.transform ({os.cpu_count()} threads)", lambda: ours.transform(lon, lat)),
    ("geokern.Transformer.transform (1 thread)", lambda: ours.transform(lon, lat, threads=1)),
    ("pyproj.Transformer.transform", lambda: theirs.transform(lon, lat)),
]
results = [(name, *best(call)) for name, call in sides]
wall_ref, cpu_ref = results[-1][1:]
print(f"{N:,} points, WGS84GG -> NTFL2E, best of {RUNS}; pyproj {pyproj.__version__}, PROJ {pyproj.proj_version_str}")
print(f"| {'side':<50} | {'wall ms':>8} | {'x pyproj':>8} | {'CPU ns/point':>12} | {'x pyproj':>8} |")
for name, wall, cpu in results:
    print(f"| {name:<50} | {wall * 1e3:8.1f} | {wall_ref / wall:8.2f} | {cpu * 1e9 / N:12.1f} | {cpu_ref / cpu:8.2f} |")
