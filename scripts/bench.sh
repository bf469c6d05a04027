#!/usr/bin/env bash
# bench.sh [benchmark options]: runs bench_engine from the linux preset's build
# (make bench builds it first) and keeps its output in build/linux/bench/,
# then the main-field models against GeographicLib (bench_geographiclib, where
# it was built), the file conversion, the Python package against pyproj,
# norvane-cli and the web page against proj4js (scripts/bench-web.sh).
# Each benchmark runs three times; the closing table takes the least CPU time
# of the three. The figures in BENCHMARKS.md come from this command.
set -euo pipefail
cd "$(dirname "$0")/.."
program=build/linux/bench/bench_engine
[ -x "$program" ] || { echo "build the linux preset first (make bench)" >&2; exit 1; }
{
  echo "# $(date -u '+%Y-%m-%d %H:%M UTC'), $(uname -srm), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) CPUs"
  "$program" --benchmark_min_time=1 --benchmark_repetitions=3 "$@"
} 2>&1 | tee build/linux/bench/bench_engine.txt
# The models against GeographicLib, where libgeographiclib-dev was found.
if [ -x build/linux/bench/bench_geographiclib ]; then
  build/linux/bench/bench_geographiclib --benchmark_min_time=1 --benchmark_repetitions=3 "$@" 2>&1 |
    tee build/linux/bench/bench_geographiclib.txt
fi
bash scripts/bench-conv.sh | tee build/linux/bench/bench_conv.txt
# Debian's interpreter, which sees python3-pyproj and python3-numpy.
PYTHONPATH=build/linux/python/packages /usr/bin/python3 bench/bench_python.py | tee build/linux/bench/bench_python.txt
bash scripts/bench-cli.sh | tee build/linux/bench/bench_cli.txt
bash scripts/bench-web.sh
