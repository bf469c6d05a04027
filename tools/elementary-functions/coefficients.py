#!/usr/bin/python3
"""Derives the polynomial coefficients of the engine's elementary functions.

Each polynomial P approximates, on its reduced interval, the part of a function
that its leading terms leave, as a function of z = x*x; mpmath's chebyfit gives
the near-minimax polynomial (interpolation at the Chebyshev nodes) at 50
digits, and each coefficient is printed as the double nearest to it, with the
largest error of the polynomial (relative to the function) before rounding.

    /usr/bin/python3 tools/elementary-functions/coefficients.py > coefficients.txt

The output's C++ lines are those of engine/elementaires.h.
"""
import struct

import mpmath as mp

mp.mp.dps = 50


def sin_rest(z):  # sin x = x + x^3 P(z)
    x = mp.sqrt(z)
    return (mp.sin(x) - x) / (x * z)


def cos_rest(z):  # cos x = 1 - z/2 + z^2 P(z)
    return (mp.cos(mp.sqrt(z)) - 1 + z / 2) / (z * z)


def atan_rest(z):  # atan x = x + x^3 P(z)
    x = mp.sqrt(z)
    return (mp.atan(x) - x) / (x * z)


def exp_rest(z):  # r coth(r/2) = 2 + z P(z)
    r = mp.sqrt(z)
    return (r * mp.coth(r / 2) - 2) / z


def log1p_rest(r):  # log(1 + r) = r - r^2/2 + r^3 P(r)
    if r == 0:
        return mp.mpf(1) / 3
    return (mp.log1p(r) - r + r * r / 2) / (r ** 3)


# name, function of z, interval of z (the reduced argument's square), degree:
# the least degree whose error, carried into the function, stays below a
# hundredth of an ulp
CASES = [
    ("SIN", sin_rest, mp.pi ** 2 / 16, 6),
    ("COS", cos_rest, mp.pi ** 2 / 16, 5),
    ("ATAN", atan_rest, mp.mpf(7) ** 2 / 16 ** 2, 11),
    ("EXP", exp_rest, mp.log(2) ** 2 / 4, 5),
]


def round_to_bits(x, bits):
    """x rounded to `bits` significant bits."""
    m, e = mp.frexp(x)
    return mp.ldexp(mp.nint(mp.ldexp(m, bits)), e - bits)


def constant(name, value, comment):
    print(f"// {comment}")
    print(f"constexpr double {name} = {float(value)!r};")


def constants():
    """The constants of the argument reductions, split where a product by an
    integer must be exact."""
    half_pi = mp.pi / 2
    p1 = round_to_bits(half_pi, 33)
    p2 = round_to_bits(half_pi - p1, 33)
    p3 = mp.mpf(float(half_pi - p1 - p2))
    constant("DEMI_PI_1", p1, "pi/2 to 33 bits: its product by an integer below 2^20 is exact")
    constant("DEMI_PI_2", p2, "the next 33 bits of pi/2")
    constant("DEMI_PI_3", p3, "the rest of pi/2 to 53 bits")
    constant("DEUX_SUR_PI", 2 / mp.pi, "2/pi")
    constant("PI_SUR_4", mp.pi / 4, "pi/4")
    for name, v in (("ATAN_DEMI", mp.atan(mp.mpf(1) / 2)), ("ATAN_UN", mp.atan(1)),
                   ("ATAN_TROIS_DEMIS", mp.atan(mp.mpf(3) / 2)), ("DEMI_PI", half_pi)):
        high = mp.mpf(float(v))
        constant(name + "_HAUT", high, f"{name.lower()}: the double nearest")
        constant(name + "_BAS", v - high, "and the double nearest to the rest")
    ln2 = mp.log(2)
    high = round_to_bits(ln2, 32)
    constant("LN2_HAUT", high, "log 2 to 32 bits: its product by an integer below 2^21 is exact")
    constant("LN2_BAS", ln2 - high, "the rest of log 2")
    # The exponential's table: 2^(j/128) in two parts, log(2)/128 to 35 bits
    # (its product by an integer below 2^18 is exact) and the rest; exp r - 1 - r
    # is r^2 (1/2 + r/6 + r^2/24 + r^3/120) to 2^-60 for |r| <= log(2)/256.
    haut = round_to_bits(ln2 / 128, 35)
    constant("LN2_SUR_128_HAUT", haut, "log(2)/128 to 35 bits")
    constant("LN2_SUR_128_BAS", ln2 / 128 - haut, "the rest")
    constant("CENT_VINGT_HUIT_SUR_LN2", 128 / ln2, "128 / log 2")
    print("constexpr double DEUX_J[256] = {  // 2^(j/128) at 2j, the rest at 2j + 1")
    for j in range(128):
        v = mp.power(2, mp.mpf(j) / 128)
        print(f"    {float(v)!r}, {float(v - mp.mpf(float(v)))!r},")
    print("};")


def log_table():
    """The logarithm's table (Tang's method without a division). x's bits less
    those of 0.6875 + 2^-9 give x = 2^k m, m in [0.6875 + 2^-9, 1.375 + 2^-8),
    and the index j of m's interval, 1/128 of a binade wide (1/256 below 1).
    INVC[j] is 1/c for a c in the middle of the interval, rounded to 20 bits,
    so that m's first 21 bits and its rest multiply it exactly; 1 itself for
    the interval about 1, [1 - 2^-9, 1 + 2^-8), so that log x near 1 is
    r + ... with r = x - 1 exact.
    log c = -log INVC[j] in two parts, the first a multiple of 2^-32, whose sum
    with k times log(2)'s first part is exact. Returns the range of r."""
    offset = 0x3fe6100000000000
    rows, r_min, r_max = [], mp.mpf(0), mp.mpf(0)
    for j in range(128):
        a = mp.mpf(struct.unpack("<d", struct.pack("<Q", offset + (j << 45)))[0])
        b = mp.mpf(struct.unpack("<d", struct.pack("<Q", offset + ((j + 1) << 45)))[0])
        invc = mp.mpf(1) if a < 1 < b else round_to_bits(2 / (a + b), 20)
        r_min, r_max = min(r_min, a * invc - 1), max(r_max, b * invc - 1)
        logc = -mp.log(invc)
        high = mp.ldexp(mp.nint(mp.ldexp(logc, 32)), -32)
        rows.append((invc, high, logc - high))
    for i, name in enumerate(("LOG_INVC", "LOG_C_HAUT", "LOG_C_BAS")):
        print(f"constexpr double {name}[128] = {{")
        for row in rows:
            print(f"    {float(row[i])!r},")
        print("};")
    return r_min, r_max


def main():
    constants()
    r_min, r_max = log_table()
    coeffs, error = mp.chebyfit(log1p_rest, [r_min, r_max], 5, error=True)
    print(f"// LOG1P: r in [{mp.nstr(r_min, 6)}, {mp.nstr(r_max, 6)}], degree 4, "
          f"largest error carried into log(1 + r) relative to r: {mp.nstr(error * r_max ** 2, 3)}")
    print("constexpr double LOG_Q[] = {")
    for c in coeffs[::-1]:
        print(f"    {float(c)!r},")
    print("};")
    for name, f, zmax, degree in CASES:
        coeffs, error = mp.chebyfit(f, [mp.mpf(0), zmax], degree + 1, error=True)
        coeffs = coeffs[::-1]  # chebyfit gives the highest power first
        # the error relative to the function's size where it matters most
        print(f"// {name}: z in [0, {mp.nstr(zmax, 6)}], degree {degree} in z, "
              f"largest error of P {mp.nstr(error, 3)} (P(0) = {mp.nstr(coeffs[0], 8)})")
        print(f"constexpr double {name}_P[] = {{")
        for c in coeffs:
            print(f"    {float(c)!r},")
        print("};")


if __name__ == "__main__":
    main()
