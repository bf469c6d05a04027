#!/usr/bin/python3
"""Measures the engine's elementary functions against mpmath.

For each file that `values` wrote (pairs of doubles: argument, result), the
exact value at 40 digits, the error of the result in ulps of the correctly
rounded value, and the count of results that are not the correctly rounded
double. Prints one Markdown table row per file.

    g++ -O2 -ffp-contract=off -Iengine tools/elementary-functions/values.cpp -o values
    ./values 1000000 /tmp/values && /usr/bin/python3 tools/elementary-functions/accuracy.py /tmp/values
"""
import array
import math
import pathlib
import sys

import mpmath as mp

mp.mp.dps = 40

FUNCTIONS = {"sin": mp.sin, "cos": mp.cos, "tan": mp.tan, "atan": mp.atan, "exp": mp.exp, "log": mp.log}


def ulp(x):
    """The ulp of the double nearest to the exact value x."""
    return math.ulp(float(x))


def measure(path):
    pairs = array.array("d", path.read_bytes())
    function = FUNCTIONS[path.stem.split("-")[0]]
    worst, worst_at, not_rounded = 0.0, None, 0
    for i in range(0, len(pairs), 2):
        x, y = pairs[i], pairs[i + 1]
        exact = function(mp.mpf(x))
        if float(exact) != y:
            not_rounded += 1
        error = float(abs(mp.mpf(y) - exact)) / ulp(exact)
        if error > worst:
            worst, worst_at = error, x
    return len(pairs) // 2, worst, worst_at, not_rounded


def main():
    print("| function, range | arguments | largest error (ulp) | at | not correctly rounded |")
    print("|---|---:|---:|---:|---:|")
    for path in sorted(pathlib.Path(sys.argv[1]).glob("*.bin")):
        count, worst, at, not_rounded = measure(path)
        print(f"| {path.stem} | {count} | {worst:.3f} | {at!r} | {not_rounded} ({100 * not_rounded / count:.3f} %) |",
              flush=True)


if __name__ == "__main__":
    main()
