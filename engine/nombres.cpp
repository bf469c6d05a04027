// The numbers of text, independent of the C runtime's locale (a French locale
// makes atof stop at the "." and printf write a comma). Reading is fast_float's,
// exact and locale-free, the same code on every platform; writing is the C++
// library's to_chars, exact too, except in WebAssembly, whose C++ library
// writes no double in <charconv> and whose C library's only locale is "C".
#include "nombres.h"

#include <cmath>
#include <system_error>

#include "fast_float/fast_float.h"

#ifdef __EMSCRIPTEN__
#include <cstdio>
#include <cstring>
#include <string>
#else
#include <charconv>
#endif

namespace {

// White space as isspace sees it in the C locale.
bool EstBlanc(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool EstChiffre(char c) { return c >= '0' && c <= '9'; }

// The decimal number at p, unsigned: digits with an optional point, then an
// optional exponent; the longest prefix that forms one. fast_float would also
// take a "-" and the words "inf" and "nan": it is given only a text that starts
// with a digit or a point. False when there is no number ("", ".", ".e5").
bool LitDecimal(const char* p, const char* fin, double* valeur, const char** suite) {
    if (p == fin || !(EstChiffre(*p) || *p == '.')) return false;
    const fast_float::from_chars_result lu = fast_float::from_chars(p, fin, *valeur, fast_float::chars_format::general);
    if (lu.ec != std::errc()) return false;
    *suite = lu.ptr;
    return true;
}

}  // namespace

double Texte2Reel(const char* debut, const char* fin, const char** suite) {
    if (suite != nullptr) *suite = debut;
    const char* p = debut;
    while (p != fin && EstBlanc(*p)) ++p;
    bool negatif = false;
    if (p != fin && (*p == '+' || *p == '-')) negatif = *p++ == '-';
    double valeur = 0.0;
    const char* lu = nullptr;
    if (!LitDecimal(p, fin, &valeur, &lu)) return 0.0;
    if (suite != nullptr) *suite = lu;
    return negatif ? -valeur : valeur;
}

bool Texte2ReelComplet(const char* debut, const char* fin, double* reel) {
    const char* p = debut;
    bool negatif = false;
    if (p != fin && (*p == '+' || *p == '-')) negatif = *p++ == '-';
    double valeur = 0.0;
    const char* lu = nullptr;
    if (!LitDecimal(p, fin, &valeur, &lu) || lu != fin || !std::isfinite(valeur)) return false;
    if (valeur == 0.0) {
        // Zero only if every digit is: "1e-400" is no number a double holds.
        for (; p != fin && *p != 'e' && *p != 'E'; ++p)
            if (EstChiffre(*p) && *p != '0') return false;
    }
    *reel = negatif ? -valeur : valeur;
    return true;
}

char* Point2Texte(double x, double y, int decimales, char* debut, char* limite) {
    char* fin = Reel2Texte(x, decimales, debut, limite);
    if (fin == nullptr || fin == limite) return nullptr;
    *fin++ = '@';
    return Reel2Texte(y, decimales, fin, limite);
}

char* Reel2Texte(double reel, int decimales, char* debut, char* limite) {
    if (decimales < 0) decimales = 6;  // as printf takes a negative precision
#ifdef __EMSCRIPTEN__
    // snprintf ends its text with a terminator, which [debut, limite) need not
    // have room for: the text is written apart, then copied.
    const int n = std::snprintf(nullptr, 0, "%.*f", decimales, reel);
    if (n < 0 || n > limite - debut) return nullptr;
    char tampon[128];
    std::string grand;
    char* texte = tampon;
    if (n >= static_cast<int>(sizeof tampon)) {
        grand.resize(static_cast<std::size_t>(n));
        texte = &grand[0];
    }
    std::snprintf(texte, static_cast<std::size_t>(n) + 1, "%.*f", decimales, reel);
    std::memcpy(debut, texte, static_cast<std::size_t>(n));
    return debut + n;
#else
    const std::to_chars_result ecrit = std::to_chars(debut, limite, reel, std::chars_format::fixed, decimales);
    return ecrit.ec == std::errc() ? ecrit.ptr : nullptr;
#endif
}
