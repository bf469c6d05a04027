// The short decimal numbers of coordinate texts ("2.350000", "-6861302.726")
// read without the C library, for the builds whose strtod is slow
// (WebAssembly: a general algorithm costing about 2 microseconds per number).
// Header only: the engine's text interface and the programs' readers include
// it; neither crosses the library's boundary for it.
//
// The shortcut is Clinger's: a number of at most 15 significant digits and at
// most 22 decimals is an integer below 2^53 divided by a power of ten below
// 10^23, both exact doubles, and IEEE division rounds their quotient
// correctly: the double strtod gives. Anything else (an exponent, "inf",
// "0x", more digits) is left to strtod. A test holds the two together.
#ifndef GEOKERN_DECIMAL_COURT_H
#define GEOKERN_DECIMAL_COURT_H

#include <cstdint>

// Reads an optional sign, then digits with an optional point ("12", "12.5",
// ".5", "12.") at debut. True, *valeur and *suite (the first character not
// read) when the shortcut applies; false otherwise, and strtod must read it.
inline bool DecimalCourt(const char* debut, const char* fin, double* valeur, const char** suite) {
    static const double PUISSANCES[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const char* p = debut;
    bool negatif = false;
    if (p != fin && (*p == '+' || *p == '-')) negatif = *p++ == '-';
    std::uint64_t mantisse = 0;
    int significatifs = 0, decimales = 0, chiffres = 0;
    bool point = false;
    for (; p != fin; ++p) {
        if (*p >= '0' && *p <= '9') {
            ++chiffres;
            if (point) ++decimales;
            if (mantisse != 0 || *p != '0') ++significatifs;
            mantisse = mantisse * 10 + static_cast<std::uint64_t>(*p - '0');
            if (significatifs > 15 || decimales > 22) return false;
        } else if (*p == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (chiffres == 0) return false;
    // What strtod would read further: an exponent, or "0x" and hexadecimal digits.
    if (p != fin && (*p == 'e' || *p == 'E' || *p == 'x' || *p == 'X')) return false;
    const double absolu = static_cast<double>(mantisse) / PUISSANCES[decimales];
    *valeur = negatif ? -absolu : absolu;
    *suite = p;
    return true;
}

#endif
