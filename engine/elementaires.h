// The engine's elementary functions: sin, cos, tan, atan, exp and log, and
// what the projections build on them (the isometric latitude, sinh, cosh,
// asinh, atanh, the power). Written here rather than taken from the maths
// library, whose last bit depends on the library (glibc, MinGW, musl) and on
// the processor (x87 on Windows, glibc's variants by processor): with only
// IEEE 754 additions, multiplications, divisions and square roots, rounded to
// nearest, no fused multiply-add (-ffp-contract=off) and SSE2 on 32-bit x86,
// every build gives the same bits on every machine.
//
// Each function reduces its argument to a short interval, then evaluates a
// polynomial in the square of the reduced argument. The polynomials are
// near-minimax fits made with mpmath at 50 digits
// (tools/elementary-functions/coefficients.py prints every constant below); each
// function's schema is the classical one named beside it. Measured against
// mpmath on millions of arguments over the engine's ranges, sin, cos, tan,
// atan, exp and log stay within one ulp of the correctly rounded value
// (BENCHMARKS.md gives the figures; a test holds stored correctly rounded
// values).
//
// Header only, inline: the dispatcher's stages inline them, and the compiler
// may vectorise a stage without changing a bit in any lane (it may not
// reassociate: no -ffast-math).
#ifndef GEOKERN_ELEMENTAIRES_H
#define GEOKERN_ELEMENTAIRES_H

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace elementaires {

namespace coefficients {

// pi/2 in three parts for the reduction (Cody and Waite): the first two to
// 33 bits, so that their products by an integer below 2^20 are exact.
constexpr double DEMI_PI_1 = 1.5707963267341256;
constexpr double DEMI_PI_2 = 6.077100506303966e-11;
constexpr double DEMI_PI_3 = 2.0222662487959506e-21;
constexpr double DEUX_SUR_PI = 0.6366197723675814;
constexpr double PI_SUR_4 = 0.7853981633974483;
// atan(1/2), atan(1), atan(3/2) and pi/2, each as the double nearest and the
// double nearest to the rest.
constexpr double ATAN_HAUT[] = {0.4636476090008061, 0.7853981633974483, 0.982793723247329, 1.5707963267948966};
constexpr double ATAN_BAS[] = {2.2698777452961687e-17, 3.061616997868383e-17, 1.3903311031230998e-17,
                               6.123233995736766e-17};
// log 2 to 32 bits (its product by an integer below 2^21 is exact) and the rest.
constexpr double LN2_HAUT = 0.6931471806019545;
constexpr double LN2_BAS = -4.2009150726810846e-11;
constexpr double UN_SUR_LN2 = 1.4426950408889634;

// sin r = r + r^3 P(r^2) on |r| <= pi/4
constexpr double SIN_P[] = {-0.16666666666666666,    0.008333333333333331,   -0.00019841269841265065,
                            2.7557319219339167e-06,  -2.5052106232447578e-08, 1.6058531618986147e-10,
                            -7.586697117706918e-13};
// cos r = 1 - r^2/2 + r^4 P(r^2) on |r| <= pi/4
constexpr double COS_P[] = {0.041666666666666664,   -0.0013888888888887398, 2.480158729876569e-05,
                            -2.7557317271729793e-07, 2.08761462684032e-09,   -1.1382632425521717e-11};
// atan t = t + t^3 P(t^2) on |t| <= 7/16
constexpr double ATAN_P[] = {-0.3333333333333333,  0.1999999999999941,   -0.14285714285566806, 0.11111111096645038,
                             -0.09090908355602592, 0.07692285554889286,  -0.06666241923359964, 0.05876946456755061,
                             -0.05216679739313656, 0.04492259293193656,  -0.033128134256069586,
                             0.014773184616983806};
// r coth(r/2) = 2 + r^2 P(r^2) on |r| <= log(2)/2
constexpr double EXP_P[] = {0.16666666666666666,    -0.0027777777777777545, 6.613756613530131e-05,
                            -1.6534390729514401e-06, 4.1752220525280315e-08, -1.0472482723285645e-09};
// log((1+s)/(1-s)) = 2s + s^3 P(s^2) on |s| <= 3 - 2 sqrt(2)
constexpr double LOG_P[] = {0.6666666666666666,  0.4000000000000088,  0.28571428570803614, 0.22222222391713917,
                            0.18181795640132906, 0.15386239702814658, 0.13268773138656886, 0.13086626147840102};

// Horner's scheme, from the highest power down.
template <int N>
inline double Horner(const double (&p)[N], double z) {
    double somme = p[N - 1];
    for (int i = N - 2; i >= 0; --i) somme = p[i] + z * somme;
    return somme;
}

// 1.5 * 2^52: (x + ARRONDI) - ARRONDI is x rounded to the nearest integer,
// ties to even, for |x| < 2^51.
constexpr double ARRONDI = 6755399441055744.0;
inline double EntierProche(double x) { return (x + ARRONDI) - ARRONDI; }

// 2^k for a normal result (-1022 <= k <= 1023), from its bits.
inline double DeuxPuissance(int k) {
    const std::uint64_t bits = static_cast<std::uint64_t>(k + 1023) << 52;
    double resultat;
    std::memcpy(&resultat, &bits, sizeof resultat);
    return resultat;
}

// The exact product a * b as haut + bas (Dekker's, with Veltkamp's splitting),
// for |a|, |b| < 2^995.
inline void ProduitExact(double a, double b, double* haut, double* bas) {
    constexpr double SCISSION = 134217729.0;  // 2^27 + 1
    const double ta = SCISSION * a, tb = SCISSION * b;
    const double ah = ta - (ta - a), al = a - ah;
    const double bh = tb - (tb - b), bl = b - bh;
    *haut = a * b;
    *bas = ((ah * bh - *haut) + ah * bl + al * bh) + al * bl;
}

// x = q pi/2 + r + rl, |r| <= pi/4 (a little more after rounding), rl the
// rest of r below its last bit. Exact to about 2^-100 relative to x for
// |x| < 2^20 pi/2; beyond, the product of q by pi/2's first part is rounded
// and the reduction loses bits (the engine's angles stay far below). Infinite
// and NaN arguments, and |x| >= 2^50, give a NaN r.
struct REDUIT {
    double r, rl;
    int quadrant;  // q modulo 4
};
inline REDUIT ReduitDemiPi(double x) {
    if (std::fabs(x) <= PI_SUR_4) return {x, 0.0, 0};
    if (!(std::fabs(x) < 1125899906842624.0)) return {std::numeric_limits<double>::quiet_NaN(), 0.0, 0};
    const double q = EntierProche(x * DEUX_SUR_PI);
    const double a = x - q * DEMI_PI_1;  // exact
    const double b = q * DEMI_PI_2;      // exact
    // a - b with its rounding error (Knuth's two-sum), then the third part.
    const double h = a - b;
    const double bb = h - a;
    const double l = ((a - (h - bb)) - (b + bb)) - q * DEMI_PI_3;
    const double r = h + l;
    return {r, (h - r) + l, static_cast<int>(static_cast<std::int64_t>(q) & 3)};
}

// sin(r + rl) and cos(r + rl) for |r| <= pi/4 (Cody and Waite's kernels, in
// the form of Sun's fdlibm): the polynomial, and the first-order term of rl.
inline double NoyauSin(double r, double rl) {
    const double z = r * r;
    const double v = z * r;
    const double p = SIN_P[1] + z * (SIN_P[2] + z * (SIN_P[3] + z * (SIN_P[4] + z * (SIN_P[5] + z * SIN_P[6]))));
    // sin(r + rl) = sin r + rl cos r = r + v (P0 + z p) + rl (1 - z/2)
    return r - ((z * (0.5 * rl - v * p) - rl) - v * SIN_P[0]);
}
inline double NoyauCos(double r, double rl) {
    const double z = r * r;
    const double p = z * Horner(COS_P, z);
    // 1 - z/2 rounded, and what its rounding lost; cos(r + rl) = cos r - rl r.
    const double demi = 0.5 * z;
    const double w = 1.0 - demi;
    return w + (((1.0 - w) - demi) + (z * p - r * rl));
}

}  // namespace coefficients

// sin and cos of one angle, with one reduction.
inline void SinCos(double x, double* sinus, double* cosinus) {
    using namespace coefficients;
    const REDUIT a = ReduitDemiPi(x);
    // sin x = x below 2^-27, where x^3/6 is below half an ulp of x (and -0.0 stays -0.0).
    const double s = std::fabs(x) < 7.450580596923828e-09 ? x : NoyauSin(a.r, a.rl);
    const double c = NoyauCos(a.r, a.rl);
    switch (a.quadrant) {
    case 0: *sinus = s; *cosinus = c; break;
    case 1: *sinus = c; *cosinus = -s; break;
    case 2: *sinus = -s; *cosinus = -c; break;
    default: *sinus = -c; *cosinus = s; break;
    }
}
inline double Sin(double x) {
    double s, c;
    SinCos(x, &s, &c);
    return s;
}
inline double Cos(double x) {
    double s, c;
    SinCos(x, &s, &c);
    return c;
}

// tan x as sin x / cos x, both carried to about 2^-60 beyond their last bit
// as unevaluated sums and divided in double-double arithmetic: the only
// rounding of weight is the last one.
inline double Tan(double x) {
    using namespace coefficients;
    if (std::fabs(x) < 7.450580596923828e-09) return x;  // x^3/3 below half an ulp
    const REDUIT a = ReduitDemiPi(x);
    const double r = a.r, rl = a.rl;
    const double z = r * r;
    double zh, zl;  // r^2 exactly
    ProduitExact(r, r, &zh, &zl);
    // sin: r + (r^3 P(z) + rl (1 - z/2))
    const double s_haut = r;
    const double s_bas = z * r * Horner(SIN_P, z) + rl * (1.0 - 0.5 * z);
    // cos: 1 - z/2 rounded, then what the rounding and r^2's lost, the
    // polynomial and the first-order term of rl.
    const double demi = 0.5 * zh;
    const double c_haut = 1.0 - demi;
    const double c_bas = (((1.0 - c_haut) - demi) - 0.5 * zl) + (z * z * Horner(COS_P, z) - r * rl);
    // Each as its double and the rest below its last bit (Dekker's fast two-sum).
    const double sinus = s_haut + s_bas, sinus_bas = (s_haut - sinus) + s_bas;
    const double cosinus = c_haut + c_bas, cosinus_bas = (c_haut - cosinus) + c_bas;
    // Odd quadrants: tan x = -cos r / sin r.
    const bool impair = (a.quadrant & 1) != 0;
    const double n_haut = impair ? cosinus : sinus, n_bas = impair ? cosinus_bas : sinus_bas;
    const double d_haut = impair ? -sinus : cosinus, d_bas = impair ? -sinus_bas : cosinus_bas;
    const double q = n_haut / d_haut;
    double p_haut, p_bas;
    ProduitExact(q, d_haut, &p_haut, &p_bas);
    return q + ((((n_haut - p_haut) - p_bas) + n_bas) - q * d_bas) / d_haut;
}

// atan x: the argument brought below 7/16 by atan x = atan c + atan((x - c) / (1 + x c))
// with c = 1/2, 1, 3/2, or infinity (Sun's fdlibm's schema), then the polynomial.
inline double ArcTangente(double x) {
    using namespace coefficients;
    const double ax = std::fabs(x);
    if (!(ax < 7.378697629483821e19)) {  // 2^66: atan x is pi/2 to the last bit; NaN stays NaN
        if (x != x) return x;
        return std::copysign(ATAN_HAUT[3] + ATAN_BAS[3], x);
    }
    if (ax < 7.450580596923828e-09) return x;  // x^3/3 below half an ulp
    int id;
    double t;
    if (ax < 0.4375) {
        id = -1;
        t = ax;
    } else if (ax < 0.6875) {
        id = 0;
        t = (2.0 * ax - 1.0) / (2.0 + ax);
    } else if (ax < 1.1875) {
        id = 1;
        t = (ax - 1.0) / (ax + 1.0);
    } else if (ax < 2.4375) {
        id = 2;
        t = (ax - 1.5) / (1.0 + 1.5 * ax);
    } else {
        id = 3;
        t = -1.0 / ax;
    }
    const double z = t * t;
    const double reste = t * z * Horner(ATAN_P, z);
    const double resultat = id < 0 ? t + reste : ATAN_HAUT[id] + ((reste + ATAN_BAS[id]) + t);
    return std::copysign(resultat, x);
}

// exp x = 2^k exp r, r = x - k log 2 in two parts, |r| <= log(2)/2, and
// exp r = 1 + r + r c / (2 - c) with c = r - r^2 P(r^2) (Tang's reduction,
// the rational form of Sun's fdlibm).
inline double Exp(double x) {
    using namespace coefficients;
    if (!(x < 709.782712893384)) return x != x ? x : std::numeric_limits<double>::infinity();
    if (!(x > -745.1332191019412)) return 0.0;
    if (std::fabs(x) < 3.725290298461914e-09) return 1.0 + x;  // 2^-28
    const double k = EntierProche(x * UN_SUR_LN2);
    const double haut = x - k * LN2_HAUT;  // exact
    const double bas = k * LN2_BAS;
    const double r = haut - bas;
    const double z = r * r;
    const double c = r - z * Horner(EXP_P, z);
    const double y = 1.0 - ((bas - (r * c) / (2.0 - c)) - haut);
    const int ki = static_cast<int>(k);
    if (ki >= -1021) return ki > 1023 ? y * 2.0 * DeuxPuissance(ki - 1) : y * DeuxPuissance(ki);
    return (y * DeuxPuissance(ki + 1000)) * DeuxPuissance(-1000);  // towards the subnormals
}

// log x = k log 2 + log(1 + f), 1 + f in [sqrt(2)/2, sqrt(2)), and
// log(1 + f) = 2s + s^3 P(s^2) with s = f / (2 + f), 2s = f - f^2/2 + s f^2/2
// (Sun's fdlibm's schema).
inline double Log(double x) {
    using namespace coefficients;
    if (!(x > 0.0)) return x == 0.0 ? -std::numeric_limits<double>::infinity()
                                    : std::numeric_limits<double>::quiet_NaN();
    if (x == std::numeric_limits<double>::infinity()) return x;
    int k = 0;
    if (x < 2.2250738585072014e-308) {  // subnormal: scaled by 2^54 first
        x *= 18014398509481984.0;
        k = -54;
    }
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    k += static_cast<int>(bits >> 52) - 1023;
    bits = (bits & 0x000fffffffffffffULL) | 0x3ff0000000000000ULL;  // the mantissa in [1, 2)
    double m;
    std::memcpy(&m, &bits, sizeof m);
    if (m > 1.4142135623730951) {
        m *= 0.5;
        ++k;
    }
    const double f = m - 1.0;  // exact
    const double s = f / (2.0 + f);
    const double z = s * s;
    const double R = z * Horner(LOG_P, z);
    const double demi_carre = 0.5 * f * f;
    const double dk = k;
    return dk * LN2_HAUT - ((demi_carre - (s * (demi_carre + R) + dk * LN2_BAS)) - f);
}

// log(1 + u) without the loss of u's bits below 1's last one (Goldberg's
// correction: 1 + u rounded is w, and log w (w - 1) / u's ratio is exact).
inline double Log1p(double u) {
    const double w = 1.0 + u;
    if (w == 1.0) return u;
    return Log(w) * (u / (w - 1.0));
}

// exp x - 1: for |x| <= log(2)/2 from the exponential's own terms, without
// the subtraction.
inline double Expm1(double x) {
    using namespace coefficients;
    if (std::fabs(x) < 3.725290298461914e-09) return x;
    if (!(std::fabs(x) <= 0.34657359027997264)) return Exp(x) - 1.0;
    const double z = x * x;
    const double c = x - z * Horner(EXP_P, z);
    return x + (x * c) / (2.0 - c);
}

// x^y for x > 0, as exp(y log x): the engine's powers have y and log x small.
inline double Puissance(double x, double y) { return Exp(y * Log(x)); }

inline double Sinh(double x) {
    const double e = Expm1(std::fabs(x));
    return std::copysign(0.5 * (e + e / (e + 1.0)), x);
}
inline double Cosh(double x) {
    const double e = Exp(std::fabs(x));
    return 0.5 * (e + 1.0 / e);
}
// asinh x = log(x + sqrt(1 + x^2)) = log1p(x + x^2 / (1 + sqrt(1 + x^2))).
inline double Asinh(double x) {
    const double a = std::fabs(x);
    const double resultat = a > 1e8 ? Log(a) + coefficients::LN2_HAUT + coefficients::LN2_BAS
                                    : Log1p(a + a * a / (1.0 + std::sqrt(1.0 + a * a)));
    return std::copysign(resultat, x);
}
// atanh x = log((1 + x) / (1 - x)) / 2 = log1p(2x / (1 - x)) / 2.
inline double Atanh(double x) {
    const double a = std::fabs(x);
    return std::copysign(0.5 * Log1p((a + a) / (1.0 - a)), x);
}

// floor and ceil without a call into the maths library (which x86-64 makes for
// want of SSE4.1): the conversion to a 64-bit integer truncates exactly below
// 2^52, where every double is an integer anyway; the result has the sign of
// the argument, as floor and ceil give it (ceil(-0.3) is -0.0).
inline double Plancher(double reel) {
    if (!(std::fabs(reel) < 4503599627370496.0)) return std::floor(reel);
    double entier = static_cast<double>(static_cast<long long>(reel));
    if (entier > reel) entier -= 1.0;
    return std::copysign(entier, reel);
}
inline double Plafond(double reel) {
    if (!(std::fabs(reel) < 4503599627370496.0)) return std::ceil(reel);
    double entier = static_cast<double>(static_cast<long long>(reel));
    if (entier < reel) entier += 1.0;
    return std::copysign(entier, reel);
}

}  // namespace elementaires

#endif
