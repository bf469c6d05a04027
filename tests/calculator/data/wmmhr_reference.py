#!/usr/bin/python3
"""Reference values of WMMHR2025 for test_field_models.cpp, by a synthesis that
shares nothing with the core's evaluator: associated Legendre functions
unnormalised (Ferrers), by the recurrence in n with (2m-1)!! sin^m to start,
Schmidt-normalised with exact integer factorials, their derivative by
(1 - x^2) dP/dx = n x P(n, m) - (n + m) P(n - 1, m), all in 60-digit decimal
arithmetic; the geodetic position turned geocentric in floating point.

    /usr/bin/python3 tests/calculator/data/wmmhr_reference.py calculator/data/WMMHR2025.COF

prints one line per point: decimal year, height km, latitude, longitude, then
X, Y, Z (nT) and their rates (nT per year), in the geodetic frame.
"""
import math
import sys
from decimal import Decimal, getcontext

getcontext().prec = 60
A_REF = 6371.2
WGS84_A = 6378.137
WGS84_F = 1 / 298.257223563
POINTS = [  # year, height km, latitude, longitude
    (2026.0, 0.0, 48.85, 2.35),
    (2027.25, 0.0, 78.2, 15.6),
    (2025.0, 100.0, -45.0, 170.0),
    (2029.9, 0.0, 0.5, -70.0),
    (2028.0, 5.0, -75.0, 120.0),
]


def read_cof(path):
    rows = []
    with open(path) as f:
        epoch = float(f.readline().split()[0])
        for line in f:
            if set(line.strip()) <= {"9"}:
                break
            n, m, g, h, dg, dh = line.split()
            rows.append((int(n), int(m), Decimal(g), Decimal(h), Decimal(dg), Decimal(dh)))
    return epoch, rows


def field(epoch, rows, year, height, lat, lon):
    phi = math.radians(lat)
    e2 = WGS84_F * (2 - WGS84_F)
    nu = WGS84_A / math.sqrt(1 - e2 * math.sin(phi) ** 2)
    p = (nu + height) * math.cos(phi)
    z = (nu * (1 - e2) + height) * math.sin(phi)
    r = math.hypot(p, z)
    lat_c = math.atan2(z, p)
    x = Decimal(math.sin(lat_c))  # cos(colatitude)
    s = Decimal(math.cos(lat_c))  # sin(colatitude)
    nmax = max(row[0] for row in rows)
    # Ferrers P(n, m)(x) without the Condon-Shortley phase.
    P = {}
    for m in range(nmax + 1):
        double_factorial = 1
        for k in range(1, 2 * m, 2):
            double_factorial *= k
        P[(m, m)] = Decimal(double_factorial) * s ** m
        if m + 1 <= nmax:
            P[(m + 1, m)] = (2 * m + 1) * x * P[(m, m)]
        for n in range(m + 2, nmax + 1):
            P[(n, m)] = ((2 * n - 1) * x * P[(n - 1, m)] - (n + m - 1) * P[(n - 2, m)]) / (n - m)
    dt = Decimal(year - epoch)
    ratio = Decimal(A_REF / r)
    lam = math.radians(lon)
    out = []
    for use_rate in (False, True):
        br = bt = bp = Decimal(0)
        for n, m, g, h, dg, dh in rows:
            gg, hh = (dg, dh) if use_rate else (g + dt * dg, h + dt * dh)
            norm = Decimal(1) if m == 0 else (Decimal(2 * math.factorial(n - m)) / math.factorial(n + m)).sqrt()
            pnm = norm * P[(n, m)]
            prev = norm * P[(n - 1, m)] if n - 1 >= m else Decimal(0)
            # dP/dtheta = -sin(theta) dP/dx = (n x P(n, m) - (n + m) P(n - 1, m)) / sin(theta),
            # both terms with the normalisation of degree n.
            dpnm = (n * x * pnm - (n + m) * prev) / s
            c, sn = Decimal(math.cos(m * lam)), Decimal(math.sin(m * lam))
            arn = ratio ** (n + 2)
            br += (n + 1) * arn * (gg * c + hh * sn) * pnm
            bt -= arn * (gg * c + hh * sn) * dpnm
            bp += arn * m * (gg * sn - hh * c) * pnm / s
        north, east, down = -bt, bp, -br
        psi = Decimal(math.sin(phi - lat_c)), Decimal(math.cos(phi - lat_c))
        out += [north * psi[1] + down * psi[0], east, down * psi[1] - north * psi[0]]
    return [float(v) for v in out]


def main():
    epoch, rows = read_cof(sys.argv[1])
    for year, height, lat, lon in POINTS:
        values = field(epoch, rows, year, height, lat, lon)
        print(f"{{{year}, {height}, {lat}, {lon}, " + ", ".join(f"{v:.6f}" for v in values) + "},")


if __name__ == "__main__":
    main()
