// The numbers of the text interface: atof's grammar and "%.*f"'s digits in the
// C locale, through std::from_chars and std::to_chars, which ignore the
// locale and give the exact result on every platform (the C runtimes do not:
// a French locale makes atof stop at the "." and printf write a comma, and
// msvcrt's atof reads neither hexadecimal nor "inf").
//
// WebAssembly (emscripten 3.1) is the exception: its C++ library has no
// floating-point std::from_chars or std::to_chars. There the only locale is
// "C", and the C library's strtod and "%.*f" are exact: that build reads and
// writes through them, with the same grammar and the same digits.
#include "nombres.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <system_error>

#ifdef __EMSCRIPTEN__
#include <cstdio>
#include <cstdlib>
#include <string>

#include "decimal_court.h"
#define GEOKERN_NOMBRES_LIBC 1
#endif

namespace {

// White space as isspace sees it in the C locale.
bool EstBlanc(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

#ifndef GEOKERN_NOMBRES_LIBC

bool EstChiffre(char c) { return c >= '0' && c <= '9'; }

bool EstChiffreHexa(char c) { return EstChiffre(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// After "0x", strtod reads a hexadecimal number only if a digit follows, before
// or after the point; otherwise the number is the "0" alone.
bool DebutMantisseHexa(const char* p, const char* fin) {
    if (p == fin) return false;
    if (EstChiffreHexa(*p)) return true;
    return *p == '.' && fin - p >= 2 && EstChiffreHexa(p[1]);
}

// The end of the hexadecimal number at p, after its "0x": digits with at most
// one point, then, if a decimal digit follows the "p" and its optional sign,
// the binary exponent. The library's reading is given no more than this:
// GCC 12's takes "p+-1" for the exponent -1, where strtod stops before the "p".
const char* FinHexa(const char* p, const char* fin) {
    while (p != fin && EstChiffreHexa(*p)) ++p;
    if (p != fin && *p == '.')
        for (++p; p != fin && EstChiffreHexa(*p);) ++p;
    if (p == fin || (*p != 'p' && *p != 'P')) return p;
    const char* e = p + 1;
    if (e != fin && (*e == '+' || *e == '-')) ++e;
    if (e == fin || !EstChiffre(*e)) return p;
    while (e != fin && EstChiffre(*e)) ++e;
    return e;
}

// A number beyond the range of a double (from_chars then leaves its value
// alone): true when it is too large, false when too small. Such a number is
// above 1e308 or below 1e-323, so the order of magnitude of its first
// significant digit and its exponent, summed, tell which without doubt.
// [debut, fin) is the number without sign or "0x".
bool TropGrand(const char* debut, const char* fin, bool hexa) {
    const long long BORNE = 1000000000;  // beyond any double's exponent
    long long ordre = 0;                 // of the first significant digit, in digits
    bool significatif = false, apres_point = false;
    const char* p = debut;
    for (; p != fin; ++p) {
        if (*p == '.') {
            apres_point = true;
        } else if (!(hexa ? EstChiffreHexa(*p) : EstChiffre(*p))) {
            break;  // the exponent's letter
        } else if (apres_point) {
            if (!significatif) --ordre;
            if (*p != '0') significatif = true;
        } else if (significatif || *p != '0') {
            if (significatif && ordre < BORNE) ++ordre;
            significatif = true;
        }
    }
    long long exposant = 0;
    if (p != fin) {  // "e" or "p", an optional sign and the digits
        ++p;
        bool negatif = false;
        if (p != fin && (*p == '+' || *p == '-')) negatif = *p++ == '-';
        for (; p != fin && EstChiffre(*p); ++p)
            if (exposant < BORNE) exposant = exposant * 10 + (*p - '0');
        if (negatif) exposant = -exposant;
    }
    // Hexadecimal digits count 4 bits each; the exponent is a power of 2.
    return (hexa ? 4 * ordre : ordre) + exposant >= 0;
}

// On 32-bit x86 the C++ library reads on the x87 unit: its shortcut for short
// numbers (digits times an exact power of ten) would be rounded twice under
// the unit's extended precision, which MinGW and Linux programs leave set (1 in
// some 12,000 such numbers came out one unit off). For the reading, the unit
// rounds to double precision; the caller's setting is restored afterwards.
#if defined(__i386__) && defined(__GNUC__)
unsigned short PrecisionDouble() {
    unsigned short ancien = 0;
    __asm__ volatile("fnstcw %0" : "=m"(ancien) : : "memory");
    const unsigned short nouveau = static_cast<unsigned short>((ancien & ~0x0300) | 0x0200);
    __asm__ volatile("fldcw %0" : : "m"(nouveau) : "memory");
    return ancien;
}
void RestaurePrecision(unsigned short ancien) { __asm__ volatile("fldcw %0" : : "m"(ancien) : "memory"); }
#else
unsigned short PrecisionDouble() { return 0; }
void RestaurePrecision(unsigned short) {}
#endif

#endif  // GEOKERN_NOMBRES_LIBC

#if defined(__SIZEOF_INT128__)
// "%.*f" of |reel| < 1e10 with at most 8 decimals, the degrees and metres of
// the text interface, in half the time of to_chars. The double is exactly
// mantisse / 2^decalage: mantisse times 10^decimales, an integer of at most 80
// bits, shifted right by decalage with the lost bits rounded half to even,
// gives the digits to write, as to_chars and printf round them. A test holds
// the two together.
const std::uint64_t PUISSANCES_DE_DIX[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
const int DECIMALES_COURT = 8;
const double LIMITE_COURT = 1e10;  // 1e10 * 10^8 < 2^63

char* Reel2TexteCourt(double reel, int decimales, char* debut, char* limite) {
    std::uint64_t bits;
    std::memcpy(&bits, &reel, sizeof bits);
    const int exposant = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t mantisse = bits & ((std::uint64_t{1} << 52) - 1);
    if (exposant != 0) mantisse |= std::uint64_t{1} << 52;
    const int decalage = 1075 - (exposant != 0 ? exposant : 1);  // 19 or more below 1e10
    std::uint64_t n = 0;  // beyond 127 bits of shift, less than a half
    if (decalage < 128) {
        typedef unsigned __int128 Entier128;
        const Entier128 produit = static_cast<Entier128>(mantisse) * PUISSANCES_DE_DIX[decimales];
        n = static_cast<std::uint64_t>(produit >> decalage);
        const Entier128 reste = produit & ((static_cast<Entier128>(1) << decalage) - 1);
        const Entier128 moitie = static_cast<Entier128>(1) << (decalage - 1);
        if (reste > moitie || (reste == moitie && (n & 1) != 0)) ++n;
    }
    // The characters from the last: n's last digits are the decimals, then
    // the point, the integer part (at least "0") and the sign.
    char inverse[32];
    int k = 0;
    for (int i = 0; i < decimales; ++i, n /= 10) inverse[k++] = static_cast<char>('0' + n % 10);
    if (decimales > 0) inverse[k++] = '.';
    do {
        inverse[k++] = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n != 0);
    if ((bits >> 63) != 0) inverse[k++] = '-';
    if (limite - debut < k) return nullptr;
    for (int i = 0; i < k; ++i) debut[i] = inverse[k - 1 - i];
    return debut + k;
}
#endif

}  // namespace

#ifdef GEOKERN_NOMBRES_LIBC
double Texte2Reel(const char* debut, const char* fin, const char** suite) {
    const char* p = debut;
    while (p != fin && EstBlanc(*p)) ++p;
    double valeur = 0.0;
    if (DecimalCourt(p, fin, &valeur, suite != nullptr ? suite : &p)) return valeur;
    // strtod wants a terminated text: a copy of the range.
    const std::string texte(debut, fin);
    char* lu = nullptr;
    valeur = std::strtod(texte.c_str(), &lu);
    if (suite != nullptr) *suite = debut + (lu - texte.c_str());
    return valeur;
}
#else
double Texte2Reel(const char* debut, const char* fin, const char** suite) {
    if (suite != nullptr) *suite = debut;
    const char* p = debut;
    while (p != fin && EstBlanc(*p)) ++p;
    bool negatif = false;
    if (p != fin && (*p == '+' || *p == '-')) negatif = *p++ == '-';
    // from_chars would take a second sign ("+-1", "--1"), which atof refuses.
    if (p == fin || *p == '-') return 0.0;

    const bool hexa = fin - p >= 3 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && DebutMantisseHexa(p + 2, fin);
    if (hexa) p += 2;
    double valeur = 0.0;
    const unsigned short precision = PrecisionDouble();
    const std::from_chars_result lu = hexa ? std::from_chars(p, FinHexa(p, fin), valeur, std::chars_format::hex)
                                           : std::from_chars(p, fin, valeur, std::chars_format::general);
    RestaurePrecision(precision);

    if (lu.ec == std::errc::invalid_argument) return 0.0;
    if (lu.ec == std::errc::result_out_of_range) valeur = TropGrand(p, lu.ptr, hexa) ? HUGE_VAL : 0.0;
    if (suite != nullptr) *suite = lu.ptr;
    return negatif ? -valeur : valeur;
}
#endif

char* Reel2Texte(double reel, int decimales, char* debut, char* limite) {
#if defined(__SIZEOF_INT128__)
    if (decimales >= 0 && decimales <= DECIMALES_COURT && std::fabs(reel) < LIMITE_COURT)
        return Reel2TexteCourt(reel, decimales, debut, limite);
#endif
#ifdef GEOKERN_NOMBRES_LIBC
    const int taille = std::snprintf(nullptr, 0, "%.*f", decimales, reel);
    if (taille < 0 || limite - debut < taille) return nullptr;
    std::string texte(static_cast<std::size_t>(taille), '\0');
    std::snprintf(&texte[0], texte.size() + 1, "%.*f", decimales, reel);
    std::memcpy(debut, texte.data(), texte.size());
    return debut + taille;
#else
    const std::to_chars_result ecrit = std::to_chars(debut, limite, reel, std::chars_format::fixed, decimales);
    return ecrit.ec == std::errc() ? ecrit.ptr : nullptr;
#endif
}
