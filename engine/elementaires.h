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
// Header only, inline. sin and cos, atan, exp and log are templates on the
// type of their argument: a double, or a pair of doubles (paires.h) that the
// dispatcher's stages compute two points at a time with. Their special cases
// are selections, not branches, so that both lanes of a pair go through the
// same operations; each lane gets the bits the double would get.
#ifndef GEOKERN_ELEMENTAIRES_H
#define GEOKERN_ELEMENTAIRES_H

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "paires.h"

namespace elementaires {

// Inlined wherever they are called, the one-point path included: a call would
// cost more than a division, and the caller's unused results (the cosine of
// the isometric latitude's sine) would be computed.
#if defined(__GNUC__)
#define GEOKERN_EN_LIGNE inline __attribute__((always_inline))
#else
#define GEOKERN_EN_LIGNE inline
#endif

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

// The polynomial p[0] + p[1] z + ... + p[N-1] z^(N-1) by Estrin's scheme:
// pairs p[2i] + p[2i+1] z, then pairs of those with z^2, with z^4...: a few
// more multiplications than Horner's scheme, but a chain of about log2(N)
// steps instead of N, which a single point's computation waits on.
template <int N, class T>
GEOKERN_EN_LIGNE T Estrin(const double* p, T z) {
    T termes[(N + 1) / 2];
    for (int i = 0; i < N / 2; ++i) termes[i] = p[2 * i] + p[2 * i + 1] * z;
    if (N % 2 != 0) termes[N / 2] = Diffuse<T>(p[N - 1]);
    T puissance = z * z;
    for (int n = (N + 1) / 2; n > 1; n = (n + 1) / 2) {
        for (int i = 0; i < n / 2; ++i) termes[i] = termes[2 * i] + termes[2 * i + 1] * puissance;
        if (n % 2 != 0) termes[n / 2] = termes[n - 1];
        if (n > 2) puissance = puissance * puissance;
    }
    return termes[0];
}
template <class T, int N>
GEOKERN_EN_LIGNE T Polynome(const double (&p)[N], T z) {
    return Estrin<N>(p, z);
}

// 1.5 * 2^52: (x + ARRONDI) - ARRONDI is x rounded to the nearest integer,
// ties to even, for |x| < 2^51.
// The sum's bits are then those of 1.5 * 2^52 + k: its lowest bits are k's
// two's complement.
constexpr double ARRONDI = 6755399441055744.0;

// 2^k for a normal result (-1022 <= k <= 1023), from the bits of 1.5 * 2^52 + k.
template <class B>
inline B BitsDeuxPuissance(B somme_arrondi) {
    return (somme_arrondi + 1023) << 52;
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
// rest of r below its last bit; q's lowest bits in those of `somme`. Exact to
// about 2^-100 relative to x for |x| < 2^20 pi/2; beyond, the product of q by
// pi/2's first part is rounded and the reduction loses bits (the engine's
// angles stay far below). Infinite and NaN arguments, and |x| >= 2^50, give a
// NaN r.
template <class T>
struct REDUIT {
    T r, rl, somme;
};
template <class T>
GEOKERN_EN_LIGNE REDUIT<T> ReduitDemiPi(T x) {
    const T somme = x * DEUX_SUR_PI + ARRONDI;
    const T q = somme - ARRONDI;
    const T a = x - q * DEMI_PI_1;  // exact
    const T b = q * DEMI_PI_2;      // exact
    // a - b with its rounding error (Knuth's two-sum), then the third part.
    const T h = a - b;
    const T bb = h - a;
    const T l = ((a - (h - bb)) - (b + bb)) - q * DEMI_PI_3;
    const T r = h + l;
    const T rl = (h - r) + l;
    const auto petit = Abs(x) <= Diffuse<T>(PI_SUR_4);  // no reduction (and -0.0 kept)
    const auto reductible = Abs(x) < Diffuse<T>(1125899906842624.0);
    return {Choix(petit, x, Choix(reductible, r, Diffuse<T>(std::numeric_limits<double>::quiet_NaN()))),
            Choix(petit, Diffuse<T>(0.0), rl), somme};
}

// sin(r + rl) and cos(r + rl) for |r| <= pi/4 (Cody and Waite's kernels, in
// the form of Sun's fdlibm): the polynomial, and the first-order term of rl.
template <class T>
GEOKERN_EN_LIGNE T NoyauSin(T r, T rl) {
    const T z = r * r;
    const T v = z * r;
    const T p = Estrin<6>(SIN_P + 1, z);
    // sin(r + rl) = sin r + rl cos r = r + v (P0 + z p) + rl (1 - z/2)
    return r - ((z * (0.5 * rl - v * p) - rl) - v * SIN_P[0]);
}
template <class T>
GEOKERN_EN_LIGNE T NoyauCos(T r, T rl) {
    const T z = r * r;
    const T p = z * Polynome(COS_P, z);
    // 1 - z/2 rounded, and what its rounding lost; cos(r + rl) = cos r - rl r.
    const T demi = 0.5 * z;
    const T w = 1.0 - demi;
    return w + (((1.0 - w) - demi) + (z * p - r * rl));
}

}  // namespace coefficients

// sin and cos of one angle, with one reduction.
template <class T>
GEOKERN_EN_LIGNE void SinCos(T x, T* sinus, T* cosinus) {
    using namespace coefficients;
    const REDUIT<T> a = ReduitDemiPi(x);
    // sin x = x below 2^-27, where x^3/6 is below half an ulp of x (and -0.0 stays -0.0).
    const T s = Choix(Abs(x) < Diffuse<T>(7.450580596923828e-09), x, NoyauSin(a.r, a.rl));
    const T c = NoyauCos(a.r, a.rl);
    // q odd: sin x = cos r, cos x = -sin r; q = 2 or 3 (modulo 4): both negated.
    const auto impair = (Bits(a.somme) & 1) != 0;
    const auto oppose = (Bits(a.somme) & 2) != 0;
    const T s1 = Choix(impair, c, s), c1 = Choix(impair, -s, c);
    *sinus = Choix(oppose, -s1, s1);
    *cosinus = Choix(oppose, -c1, c1);
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
    const REDUIT<double> a = ReduitDemiPi(x);
    const double r = a.r, rl = a.rl;
    const double z = r * r;
    double zh, zl;  // r^2 exactly
    ProduitExact(r, r, &zh, &zl);
    // sin: r + (r^3 P(z) + rl (1 - z/2))
    const double s_haut = r;
    const double s_bas = z * r * Polynome(SIN_P, z) + rl * (1.0 - 0.5 * z);
    // cos: 1 - z/2 rounded, then what the rounding and r^2's lost, the
    // polynomial and the first-order term of rl.
    const double demi = 0.5 * zh;
    const double c_haut = 1.0 - demi;
    const double c_bas = (((1.0 - c_haut) - demi) - 0.5 * zl) + (z * z * Polynome(COS_P, z) - r * rl);
    // Each as its double and the rest below its last bit (Dekker's fast two-sum).
    const double sinus = s_haut + s_bas, sinus_bas = (s_haut - sinus) + s_bas;
    const double cosinus = c_haut + c_bas, cosinus_bas = (c_haut - cosinus) + c_bas;
    // Odd quadrants: tan x = -cos r / sin r.
    const bool impair = (Bits(a.somme) & 1) != 0;
    const double n_haut = impair ? cosinus : sinus, n_bas = impair ? cosinus_bas : sinus_bas;
    const double d_haut = impair ? -sinus : cosinus, d_bas = impair ? -sinus_bas : cosinus_bas;
    const double q = n_haut / d_haut;
    double p_haut, p_bas;
    ProduitExact(q, d_haut, &p_haut, &p_bas);
    return q + ((((n_haut - p_haut) - p_bas) + n_bas) - q * d_bas) / d_haut;
}

// atan x: the argument brought below 7/16 by atan x = atan c + atan((x - c) / (1 + x c))
// with c = 1/2, 1, 3/2, or infinity (Sun's fdlibm's schema), then the polynomial.
template <class T>
GEOKERN_EN_LIGNE T ArcTangente(T x) {
    using namespace coefficients;
    const T ax = Abs(x);
    const auto m0 = ax < Diffuse<T>(0.4375), m1 = ax < Diffuse<T>(0.6875), m2 = ax < Diffuse<T>(1.1875),
               m3 = ax < Diffuse<T>(2.4375);
    // t = (x - c) / (1 + x c) in each range's exact form; ax / 1 is ax.
    const T numerateur = Choix(m0, ax, Choix(m1, 2.0 * ax - 1.0, Choix(m2, ax - 1.0, Choix(m3, ax - 1.5,
                                                                                           Diffuse<T>(-1.0)))));
    const T denominateur = Choix(m0, Diffuse<T>(1.0), Choix(m1, 2.0 + ax, Choix(m2, ax + 1.0, Choix(m3, 1.0 + 1.5 * ax,
                                                                                                    ax))));
    const T t = numerateur / denominateur;
    const T haut = Choix(m1, Diffuse<T>(ATAN_HAUT[0]), Choix(m2, Diffuse<T>(ATAN_HAUT[1]),
                                                             Choix(m3, Diffuse<T>(ATAN_HAUT[2]), Diffuse<T>(ATAN_HAUT[3]))));
    const T bas = Choix(m1, Diffuse<T>(ATAN_BAS[0]), Choix(m2, Diffuse<T>(ATAN_BAS[1]),
                                                           Choix(m3, Diffuse<T>(ATAN_BAS[2]), Diffuse<T>(ATAN_BAS[3]))));
    const T z = t * t;
    const T reste = t * z * Polynome(ATAN_P, z);
    T resultat = CopieSigne(Choix(m0, t + reste, haut + ((reste + bas) + t)), x);
    resultat = Choix(ax < Diffuse<T>(7.450580596923828e-09), x, resultat);  // x^3/3 below half an ulp
    // From 2^66 atan x is pi/2 to the last bit; NaN stays NaN.
    const T infini = Choix(x != x, x, CopieSigne(Diffuse<T>(ATAN_HAUT[3] + ATAN_BAS[3]), x));
    return Choix(ax < Diffuse<T>(7.378697629483821e19), resultat, infini);
}

// exp x = 2^k exp r, r = x - k log 2 in two parts, |r| <= log(2)/2, and
// exp r = 1 + r + r c / (2 - c) with c = r - r^2 P(r^2) (Tang's reduction,
// the rational form of Sun's fdlibm).
template <class T>
GEOKERN_EN_LIGNE T Exp(T x) {
    using namespace coefficients;
    const T somme = x * UN_SUR_LN2 + ARRONDI;
    const T k = somme - ARRONDI;
    const T haut = x - k * LN2_HAUT;  // exact
    const T bas = k * LN2_BAS;
    const T r = haut - bas;
    const T z = r * r;
    const T c = r - z * Polynome(EXP_P, z);
    const T y = 1.0 - ((bas - (r * c) / (2.0 - c)) - haut);
    // y 2^k; k = 1024 in two steps, and below -1021 (towards the subnormals) through 2^-1000.
    const auto b = Bits(somme);
    const T normal = y * Reel(BitsDeuxPuissance(b));
    const T grand = y * 2.0 * Reel(BitsDeuxPuissance(b - 1));
    const T petit = (y * Reel(BitsDeuxPuissance(b + 1000))) * 9.332636185032189e-302;  // 2^-1000
    T resultat = Choix(k > Diffuse<T>(1023.0), grand, Choix(k >= Diffuse<T>(-1021.0), normal, petit));
    resultat = Choix(Abs(x) < Diffuse<T>(3.725290298461914e-09), 1.0 + x, resultat);  // 2^-28
    resultat = Choix(x > Diffuse<T>(-745.1332191019412), resultat, Diffuse<T>(0.0));
    const T infini = Choix(x != x, x, Diffuse<T>(std::numeric_limits<double>::infinity()));
    return Choix(x < Diffuse<T>(709.782712893384), resultat, infini);
}

// log x = k log 2 + log(1 + f), 1 + f in [sqrt(2)/2, sqrt(2)), and
// log(1 + f) = 2s + s^3 P(s^2) with s = f / (2 + f), 2s = f - f^2/2 + s f^2/2
// (Sun's fdlibm's schema).
template <class T>
GEOKERN_EN_LIGNE T Log(T x) {
    using namespace coefficients;
    // A subnormal is scaled by 2^54 first.
    const auto subnormal = x < Diffuse<T>(2.2250738585072014e-308);
    const T xn = Choix(subnormal, x * 18014398509481984.0, x);
    const auto bits = Bits(xn);
    // The exponent field as a double: the bits of 2^52 + e, less 2^52.
    const T e = Reel((bits >> 52) | 0x4330000000000000ULL) - 4503599627370496.0;
    T k = (e - 1023.0) + Choix(subnormal, Diffuse<T>(-54.0), Diffuse<T>(0.0));
    T m = Reel((bits & 0x000fffffffffffffULL) | 0x3ff0000000000000ULL);  // the mantissa in [1, 2)
    const auto au_dela = m > Diffuse<T>(1.4142135623730951);
    m = Choix(au_dela, m * 0.5, m);
    k = Choix(au_dela, k + 1.0, k);
    const T f = m - 1.0;  // exact
    const T s = f / (2.0 + f);
    const T z = s * s;
    const T R = z * Polynome(LOG_P, z);
    const T demi_carre = 0.5 * f * f;
    T resultat = k * LN2_HAUT - ((demi_carre - (s * (demi_carre + R) + k * LN2_BAS)) - f);
    const double infini = std::numeric_limits<double>::infinity();
    resultat = Choix(x == Diffuse<T>(infini), x, resultat);
    resultat = Choix(x >= Diffuse<T>(0.0), resultat, Diffuse<T>(std::numeric_limits<double>::quiet_NaN()));
    return Choix(x == Diffuse<T>(0.0), Diffuse<T>(-infini), resultat);
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
    const double c = x - z * Polynome(EXP_P, z);
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
