#!/usr/bin/python3
"""Prints the table of tests/engine/elementaires_test.cpp: arguments of the
engine's elementary functions and their correctly rounded values, from mpmath
at 40 digits. The arguments are the edges of each function's reduction
intervals and their neighbours, special values, and arguments drawn from a
fixed sequence over the engine's ranges.

    /usr/bin/python3 tools/elementary-functions/reference_values.py
"""
import math
import random

import mpmath as mp

mp.mp.dps = 40


def neighbours(x):
    return [math.nextafter(x, -math.inf), x, math.nextafter(x, math.inf)]


def arguments(name, generator):
    edges = {
        "Sin": [math.pi / 4, math.pi / 2, 3 * math.pi / 4, math.pi, 2 ** -27, 1e-300, 19.0],
        "Cos": [math.pi / 4, math.pi / 2, 3 * math.pi / 4, math.pi, 2 ** -27, 19.0],
        "Tan": [math.pi / 4, math.pi / 2 - 1e-9, 1.5707963267948966, 2 ** -27, 0.9],
        "ArcTangente": [7 / 16, 11 / 16, 19 / 16, 39 / 16, 2 ** -27, 1e10, 2.0 ** 66, 1.0],
        "Exp": [math.log(2) / 2, 1e-9, 2 ** -28, 700.0, -700.0, -740.0, 1.0],
        "Log": [math.sqrt(2), math.sqrt(0.5), 1.0, 2.0, 1e-310, 1e300, 1.0 + 2 ** -52],
    }[name]
    args = [v for e in edges for v in neighbours(e)]
    low, high = {"Sin": (-20, 20), "Cos": (-20, 20), "Tan": (-1.57, 1.57), "ArcTangente": (-10, 10),
                 "Exp": (-40, 40), "Log": (1e-3, 1e3)}[name]
    args += [generator.uniform(low, high) for _ in range(4)]
    if name in ("Sin", "Cos", "Tan", "ArcTangente"):
        args += [-a for a in args[:3]]
    return args


FUNCTIONS = {"Sin": mp.sin, "Cos": mp.cos, "Tan": mp.tan, "ArcTangente": mp.atan, "Exp": mp.exp, "Log": mp.log}


def main():
    generator = random.Random(2026)
    cases = [f"{{{name}, {x!r}, {float(function(mp.mpf(x)))!r}}}"
             for name, function in FUNCTIONS.items() for x in arguments(name, generator)]
    for i in range(0, len(cases), 2):
        print("    " + ", ".join(cases[i:i + 2]) + ",")


if __name__ == "__main__":
    main()
