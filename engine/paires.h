// Pairs of doubles, computed lane by lane: the vector types of GCC and Clang
// (two doubles in an SSE2 register on x86, in a 128-bit register or two
// scalars in WebAssembly). Every operation on a pair is the IEEE operation of
// each lane, so a lane gets exactly the bits the same operations on a double
// give: the engine's functions are written once, as templates, for the
// double and for the pair.
//
// The few operations that differ between the two (a selection by a mask, the
// bits of a double, the absolute value, the sign, the square root) are the
// overloads below.
#ifndef GEOKERN_PAIRES_H
#define GEOKERN_PAIRES_H

#include <cmath>
#include <cstdint>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif
#ifdef __AVX2__
#include <immintrin.h>
#endif

namespace elementaires {

typedef double Paire __attribute__((vector_size(16)));
typedef std::uint64_t PaireBits __attribute__((vector_size(16)));
// What a comparison of two pairs gives: all ones in a lane where it holds.
typedef std::int64_t PaireMasque __attribute__((vector_size(16)));

// The lanes of a type: 1 for a double.
template <class T>
constexpr int VOIES = sizeof(T) / sizeof(double);

constexpr std::uint64_t BIT_SIGNE = 0x8000000000000000ULL;

// A constant in every lane.
template <class T>
inline T Diffuse(double c);
template <>
inline double Diffuse<double>(double c) { return c; }
template <>
inline Paire Diffuse<Paire>(double c) { return Paire{c, c}; }

inline std::uint64_t Bits(double x) {
    std::uint64_t b;
    std::memcpy(&b, &x, sizeof b);
    return b;
}
inline PaireBits Bits(Paire x) { return reinterpret_cast<PaireBits>(x); }
inline double Reel(std::uint64_t b) {
    double x;
    std::memcpy(&x, &b, sizeof x);
    return x;
}
inline Paire Reel(PaireBits b) { return reinterpret_cast<Paire>(b); }

// a where the mask holds, b elsewhere.
inline double Choix(bool masque, double a, double b) { return masque ? a : b; }
inline Paire Choix(PaireMasque masque, Paire a, Paire b) {
    const PaireBits m = reinterpret_cast<PaireBits>(masque);
    return Reel((m & Bits(a)) | (~m & Bits(b)));
}

// Where bit `rang` of the lanes' bits is set, as a mask: from the bit itself,
// without a comparison of 64-bit integers, which SSE2 does not have.
inline bool MasqueBit(std::uint64_t bits, int rang) { return ((bits >> rang) & 1) != 0; }
inline PaireMasque MasqueBit(PaireBits bits, int rang) {
    return reinterpret_cast<PaireMasque>(PaireBits{0, 0} - ((bits >> rang) & 1));
}

// The table's entries at the lanes' indices.
inline double Cherche(const double* table, std::uint64_t i) { return table[i]; }
inline Paire Cherche(const double* table, PaireBits i) { return Paire{table[i[0]], table[i[1]]}; }

inline double Abs(double x) { return std::fabs(x); }
inline Paire Abs(Paire x) { return Reel(Bits(x) & ~BIT_SIGNE); }
// |m| with the sign of s.
inline double CopieSigne(double m, double s) { return std::copysign(m, s); }
inline Paire CopieSigne(Paire m, Paire s) { return Reel((Bits(m) & ~BIT_SIGNE) | (Bits(s) & BIT_SIGNE)); }

inline double Racine(double x) { return std::sqrt(x); }
inline Paire Racine(Paire x) {
#ifdef __SSE2__
    return reinterpret_cast<Paire>(_mm_sqrt_pd(reinterpret_cast<__m128d>(x)));
#else
    return Paire{std::sqrt(x[0]), std::sqrt(x[1])};
#endif
}

// Whether the mask holds in every lane, in none; masks combined lane by lane.
inline bool Tous(bool masque) { return masque; }
inline bool Tous(PaireMasque masque) { return masque[0] != 0 && masque[1] != 0; }
inline bool Aucun(bool masque) { return !masque; }
inline bool Aucun(PaireMasque masque) { return masque[0] == 0 && masque[1] == 0; }
inline bool Et(bool a, bool b) { return a && b; }
inline PaireMasque Et(PaireMasque a, PaireMasque b) { return a & b; }
inline bool Ou(bool a, bool b) { return a || b; }
inline PaireMasque Ou(PaireMasque a, PaireMasque b) { return a | b; }

#ifdef __AVX2__
// Four doubles in an AVX register, for the code compiled for AVX2 alone
// (quadruples.cpp). AVX2 brings fused multiply-adds, which -ffp-contract=off
// keeps out.
typedef double Quadruple __attribute__((vector_size(32)));
typedef std::uint64_t QuadrupleBits __attribute__((vector_size(32)));
typedef std::int64_t QuadrupleMasque __attribute__((vector_size(32)));

template <>
inline Quadruple Diffuse<Quadruple>(double c) { return Quadruple{c, c, c, c}; }
inline QuadrupleBits Bits(Quadruple x) { return reinterpret_cast<QuadrupleBits>(x); }
inline Quadruple Reel(QuadrupleBits b) { return reinterpret_cast<Quadruple>(b); }
inline Quadruple Choix(QuadrupleMasque masque, Quadruple a, Quadruple b) {
    const QuadrupleBits m = reinterpret_cast<QuadrupleBits>(masque);
    return Reel((m & Bits(a)) | (~m & Bits(b)));
}
inline QuadrupleMasque MasqueBit(QuadrupleBits bits, int rang) {
    return reinterpret_cast<QuadrupleMasque>(QuadrupleBits{0, 0, 0, 0} - ((bits >> rang) & 1));
}
inline Quadruple Cherche(const double* table, QuadrupleBits i) {
    return Quadruple{table[i[0]], table[i[1]], table[i[2]], table[i[3]]};
}
inline Quadruple Abs(Quadruple x) { return Reel(Bits(x) & ~BIT_SIGNE); }
inline Quadruple CopieSigne(Quadruple m, Quadruple s) { return Reel((Bits(m) & ~BIT_SIGNE) | (Bits(s) & BIT_SIGNE)); }
inline Quadruple Racine(Quadruple x) {
    return reinterpret_cast<Quadruple>(_mm256_sqrt_pd(reinterpret_cast<__m256d>(x)));
}
inline bool Tous(QuadrupleMasque masque) { return _mm256_movemask_pd(reinterpret_cast<__m256d>(masque)) == 15; }
inline bool Aucun(QuadrupleMasque masque) { return _mm256_movemask_pd(reinterpret_cast<__m256d>(masque)) == 0; }
inline QuadrupleMasque Et(QuadrupleMasque a, QuadrupleMasque b) { return a & b; }
inline QuadrupleMasque Ou(QuadrupleMasque a, QuadrupleMasque b) { return a | b; }
#endif

}  // namespace elementaires

#endif
