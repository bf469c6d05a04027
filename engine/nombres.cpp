// The numbers of the text interface: atof's grammar and "%.*f"'s digits in the
// C locale, computed here exactly, the same on every platform and in every
// locale (the C runtimes are not: a French locale makes atof stop at the "."
// and printf write a comma, and msvcrt's atof reads neither hexadecimal nor
// "inf"). The library needs nothing from the C or C++ library for them: a
// statically linked geokern.dll carries no locale, thread or exception code,
// and WebAssembly, whose C++ library has no floating-point from_chars, builds
// the same code.
#include "nombres.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "decimal_court.h"

namespace {

// White space as isspace sees it in the C locale.
bool EstBlanc(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

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

// A natural number in 32-bit limbs, least significant first: enough for every
// exact value the reading and the writing below meet (a double's exact
// decimal expansion, 800 significant digits times a power of ten).
const int LIMBES = 160;
struct Grand {
    std::uint32_t limbe[LIMBES];
    int taille;  // limbs in use; the last is not zero
};

void GrandDepuis(Grand& a, std::uint64_t v) {
    a.taille = 0;
    for (; v != 0; v >>= 32) a.limbe[a.taille++] = static_cast<std::uint32_t>(v);
}

// a = a * m + ajout
void GrandMultiplie(Grand& a, std::uint32_t m, std::uint32_t ajout = 0) {
    std::uint64_t retenue = ajout;
    for (int i = 0; i < a.taille; ++i) {
        const std::uint64_t t = static_cast<std::uint64_t>(a.limbe[i]) * m + retenue;
        a.limbe[i] = static_cast<std::uint32_t>(t);
        retenue = t >> 32;
    }
    if (retenue != 0) a.limbe[a.taille++] = static_cast<std::uint32_t>(retenue);
}

const std::uint32_t PUISSANCES_DE_DIX_32[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

void GrandFoisPuissanceDeDix(Grand& a, int n) {
    for (; n >= 9; n -= 9) GrandMultiplie(a, PUISSANCES_DE_DIX_32[9]);
    if (n > 0) GrandMultiplie(a, PUISSANCES_DE_DIX_32[n]);
}

int GrandBits(const Grand& a) {
    if (a.taille == 0) return 0;
    int bits = 32 * (a.taille - 1);
    for (std::uint32_t t = a.limbe[a.taille - 1]; t != 0; t >>= 1) ++bits;
    return bits;
}

// r = a << n
void GrandDecale(const Grand& a, int n, Grand& r) {
    const int limbes = n / 32, bits = n % 32;
    r.taille = a.taille == 0 ? 0 : a.taille + limbes + 1;
    for (int i = 0; i < r.taille; ++i) r.limbe[i] = 0;
    for (int i = 0; i < a.taille; ++i) {
        const std::uint64_t t = static_cast<std::uint64_t>(a.limbe[i]) << bits;
        r.limbe[i + limbes] |= static_cast<std::uint32_t>(t);
        r.limbe[i + limbes + 1] |= static_cast<std::uint32_t>(t >> 32);
    }
    while (r.taille > 0 && r.limbe[r.taille - 1] == 0) --r.taille;
}

int GrandCompare(const Grand& a, const Grand& b) {
    if (a.taille != b.taille) return a.taille < b.taille ? -1 : 1;
    for (int i = a.taille - 1; i >= 0; --i)
        if (a.limbe[i] != b.limbe[i]) return a.limbe[i] < b.limbe[i] ? -1 : 1;
    return 0;
}

// a -= b, with a >= b
void GrandSoustrait(Grand& a, const Grand& b) {
    std::int64_t emprunt = 0;
    for (int i = 0; i < a.taille; ++i) {
        const std::int64_t t = static_cast<std::int64_t>(a.limbe[i]) - (i < b.taille ? b.limbe[i] : 0) - emprunt;
        emprunt = t < 0;
        a.limbe[i] = static_cast<std::uint32_t>(t + (emprunt << 32));
    }
    while (a.taille > 0 && a.limbe[a.taille - 1] == 0) --a.taille;
}

// a /= d; returns the remainder.
std::uint32_t GrandDivise(Grand& a, std::uint32_t d) {
    std::uint64_t reste = 0;
    for (int i = a.taille - 1; i >= 0; --i) {
        const std::uint64_t t = (reste << 32) | a.limbe[i];
        a.limbe[i] = static_cast<std::uint32_t>(t / d);
        reste = t % d;
    }
    while (a.taille > 0 && a.limbe[a.taille - 1] == 0) --a.taille;
    return static_cast<std::uint32_t>(reste);
}

bool GrandBit(const Grand& a, int n) { return n / 32 < a.taille && ((a.limbe[n / 32] >> (n % 32)) & 1) != 0; }

// Whether a bit below n is set.
bool GrandBitsSous(const Grand& a, int n) {
    for (int i = 0; i < n / 32 && i < a.taille; ++i)
        if (a.limbe[i] != 0) return true;
    return n / 32 < a.taille && (a.limbe[n / 32] & ((std::uint32_t{1} << (n % 32)) - 1)) != 0;
}

// a >>= n
void GrandDecaleDroite(Grand& a, int n) {
    const int limbes = n / 32, bits = n % 32;
    int taille = 0;
    for (int i = limbes; i < a.taille; ++i) {
        std::uint64_t t = a.limbe[i] >> bits;
        if (bits != 0 && i + 1 < a.taille) t |= static_cast<std::uint64_t>(a.limbe[i + 1]) << (32 - bits);
        a.limbe[taille++] = static_cast<std::uint32_t>(t);
    }
    a.taille = taille;
    while (a.taille > 0 && a.limbe[a.taille - 1] == 0) --a.taille;
}

double DepuisBits(std::uint64_t bits) {
    double x;
    std::memcpy(&x, &bits, sizeof x);
    return x;
}

// The double nearest to (q + r) * 2^e2, where q has its top bit at bit 63 and
// 0 <= r < 1 is nonzero when inexact: 53 bits kept, fewer below DBL_MIN,
// rounded half to even; infinity beyond DBL_MAX, zero below half the smallest.
double Compose(std::uint64_t q, int e2, bool inexact) {
    const int exposant = 63 + e2;  // of the top bit
    if (exposant > 1023) return std::numeric_limits<double>::infinity();
    const int gardes = exposant >= -1022 ? 53 : exposant + 1075;
    if (gardes < 0) return 0.0;
    const int retires = 64 - gardes;  // 11 to 64
    std::uint64_t m = retires == 64 ? 0 : q >> retires;
    const std::uint64_t reste = retires == 64 ? q : q & ((std::uint64_t{1} << retires) - 1);
    const std::uint64_t moitie = std::uint64_t{1} << (retires - 1);
    if (reste > moitie || (reste == moitie && (inexact || (m & 1) != 0))) ++m;
    if (gardes < 53) return DepuisBits(m);  // subnormal; a carry into bit 52 gives DBL_MIN
    int biaise = exposant + 1023;
    if (m == std::uint64_t{1} << 53) {
        m >>= 1;
        ++biaise;
    }
    if (biaise >= 2047) return std::numeric_limits<double>::infinity();
    return DepuisBits((static_cast<std::uint64_t>(biaise) << 52) | (m & ((std::uint64_t{1} << 52) - 1)));
}

// An exponent's digits, saturated far beyond any double's range.
const long long SATURE = 1000000000;

bool SansCasse(const char* p, const char* fin, const char* mot) {
    for (; *mot != '\0'; ++p, ++mot)
        if (p == fin || (*p | 0x20) != *mot) return false;
    return true;
}

// "inf", "infinity", "nan", "nan(...)": the end of the word, or null.
const char* FinMot(const char* p, const char* fin, double* valeur) {
    if (SansCasse(p, fin, "inf")) {
        *valeur = std::numeric_limits<double>::infinity();
        return SansCasse(p, fin, "infinity") ? p + 8 : p + 3;
    }
    if (!SansCasse(p, fin, "nan")) return nullptr;
    *valeur = std::numeric_limits<double>::quiet_NaN();
    p += 3;
    const char* q = p;
    if (q != fin && *q == '(') {
        for (++q; q != fin && (EstChiffre(*q) || ((*q | 0x20) >= 'a' && (*q | 0x20) <= 'z') || *q == '_');) ++q;
        if (q != fin && *q == ')') return q + 1;
    }
    return p;
}

// The hexadecimal number [p, fin) after its "0x", as FinHexa bounds it.
double LitHexa(const char* p, const char* fin) {
    std::uint64_t q = 0;
    long long e2 = 0;  // binary exponent of q's last bit
    bool inexact = false, point = false;
    int chiffres = 0;  // significant digits in q
    for (; p != fin && *p != 'p' && *p != 'P'; ++p) {
        if (*p == '.') {
            point = true;
            continue;
        }
        const int v = EstChiffre(*p) ? *p - '0' : (*p | 0x20) - 'a' + 10;
        if (chiffres == 0 && v == 0) {
            if (point) e2 -= 4;
            continue;
        }
        if (chiffres < 16) {
            q = (q << 4) | static_cast<std::uint64_t>(v);
            ++chiffres;
            if (point) e2 -= 4;
        } else {
            inexact |= v != 0;
            if (!point) e2 += 4;
        }
    }
    if (p != fin) {  // the exponent FinHexa kept
        ++p;
        bool negatif = false;
        if (*p == '+' || *p == '-') negatif = *p++ == '-';
        long long exposant = 0;
        for (; p != fin; ++p)
            if (exposant < SATURE) exposant = exposant * 10 + (*p - '0');
        e2 += negatif ? -exposant : exposant;
    }
    if (q == 0) return 0.0;
    int decalage = 0;
    while ((q >> 63) == 0) {
        q <<= 1;
        ++decalage;
    }
    e2 -= decalage;
    if (e2 > 2000) return std::numeric_limits<double>::infinity();
    if (e2 < -2000) return 0.0;
    return Compose(q, static_cast<int>(e2), inexact);
}

void GrandAjouteUn(Grand& a) {
    for (int i = 0; i < a.taille; ++i)
        if (++a.limbe[i] != 0) return;
    a.limbe[a.taille++] = 1;
}

// chiffres[0, n) * 10^e10, correctly rounded: q, the 64-bit quotient of the
// number by a power of two, and whether it has a remainder.
double LitDecimalExact(const char* chiffres, int n, int e10) {
    Grand d, p;
    GrandDepuis(d, 0);
    for (int i = 0; i < n;) {
        std::uint32_t bloc = 0;
        int k = 0;
        for (; k < 9 && i < n; ++k, ++i) bloc = bloc * 10 + static_cast<std::uint32_t>(chiffres[i] - '0');
        GrandMultiplie(d, PUISSANCES_DE_DIX_32[k], bloc);
    }
    GrandDepuis(p, 1);
    if (e10 >= 0) GrandFoisPuissanceDeDix(d, e10);
    else GrandFoisPuissanceDeDix(p, -e10);
    // d * 2^-e2 / p between 2^62 and 2^64.
    const int e2 = GrandBits(d) - GrandBits(p) - 63;
    Grand reste, diviseur, t;
    if (e2 <= 0) {
        GrandDecale(d, -e2, reste);
        diviseur = p;
    } else {
        reste = d;
        GrandDecale(p, e2, diviseur);
    }
    std::uint64_t q = 0;
    for (int i = 63; i >= 0; --i) {
        GrandDecale(diviseur, i, t);
        if (GrandCompare(reste, t) >= 0) {
            GrandSoustrait(reste, t);
            q |= std::uint64_t{1} << i;
        }
    }
    int exposant = e2;
    if ((q >> 63) == 0) {  // one more bit
        GrandDecale(reste, 1, t);
        q <<= 1;
        --exposant;
        if (GrandCompare(t, diviseur) >= 0) {
            GrandSoustrait(t, diviseur);
            q |= 1;
        }
        reste = t;
    }
    return Compose(q, exposant, reste.taille != 0);
}

// Significant digits kept of a decimal number: halfway between two doubles
// needs at most 767; beyond, a last digit 1 stands for what is not zero.
const int CHIFFRES_GARDES = 800;

// The decimal number at p (digits, an optional point and digits, an optional
// exponent): its end in *suite, or p when there is none.
double LitDecimal(const char* p, const char* fin, const char** suite) {
    *suite = p;
    char chiffres[CHIFFRES_GARDES + 1];
    int n = 0;
    long long exposant = 0;  // of the last digit kept
    bool vu = false, point = false, tronque = false;
    const char* q = p;
    for (; q != fin; ++q) {
        if (*q == '.' && !point) {
            point = true;
            continue;
        }
        if (!EstChiffre(*q)) break;
        vu = true;
        if (n == 0 && *q == '0') {
            if (point && exposant > -SATURE) --exposant;
        } else if (n < CHIFFRES_GARDES) {
            chiffres[n++] = *q;
            if (point) --exposant;
        } else {
            tronque |= *q != '0';
            if (!point && exposant < SATURE) ++exposant;
        }
    }
    if (!vu) return 0.0;
    if (tronque) {
        chiffres[n++] = '1';
        --exposant;
    }
    if (q != fin && (*q == 'e' || *q == 'E')) {
        const char* e = q + 1;
        bool negatif = false;
        if (e != fin && (*e == '+' || *e == '-')) negatif = *e++ == '-';
        if (e != fin && EstChiffre(*e)) {
            long long valeur = 0;
            for (; e != fin && EstChiffre(*e); ++e)
                if (valeur < SATURE) valeur = valeur * 10 + (*e - '0');
            exposant += negatif ? -valeur : valeur;
            q = e;
        }
    }
    *suite = q;
    if (n == 0) return 0.0;
    // The value is chiffres * 10^exposant, in [10^(ordre - 1), 10^ordre).
    const long long ordre = n + exposant;
    if (ordre > 310) return std::numeric_limits<double>::infinity();
    if (ordre < -325) return 0.0;
    const int e10 = static_cast<int>(exposant);
    return LitDecimalExact(chiffres, n, e10);
}
#if defined(__SIZEOF_INT128__)
// "%.*f" of |reel| < 1e10 with at most 8 decimals, the degrees and metres of
// the text interface, in a fraction of the time of the exact writing below.
// The double is exactly mantisse / 2^decalage: mantisse times 10^decimales, an
// integer of at most 80 bits, shifted right by decalage with the lost bits
// rounded half to even, gives the digits to write, as printf rounds them. A
// test holds the two together.
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


// "%.*f" of reel, exactly: its value m * 2^f times 10^decimales, rounded half
// to even to an integer, gives the digits. Decimals beyond the 1074th of a
// double are zeros.
char* Reel2TexteExact(double reel, int decimales, char* debut, char* limite) {
    std::uint64_t bits;
    std::memcpy(&bits, &reel, sizeof bits);
    const bool negatif = (bits >> 63) != 0;
    const int champ = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t mantisse = bits & ((std::uint64_t{1} << 52) - 1);
    char texte[1420];
    int k = 0;  // characters of texte
    if (champ == 0x7FF) {
        for (const char* c = mantisse != 0 ? "nan" : "inf"; *c != '\0'; ++c) texte[k++] = *c;
    } else {
        if (decimales < 0) decimales = 6;  // as printf takes a negative precision
        const int exactes = decimales < 1074 ? decimales : 1074;
        Grand n, t;
        GrandDepuis(n, champ == 0 ? mantisse : mantisse | (std::uint64_t{1} << 52));
        GrandFoisPuissanceDeDix(n, exactes);
        const int f = champ == 0 ? -1074 : champ - 1075;
        if (f >= 0) {
            GrandDecale(n, f, t);
            n = t;
        } else {
            const bool moitie = GrandBit(n, -f - 1), dessous = GrandBitsSous(n, -f - 1);
            GrandDecaleDroite(n, -f);
            if (moitie && (dessous || GrandBit(n, 0))) GrandAjouteUn(n);
        }
        while (n.taille != 0) {
            std::uint32_t bloc = GrandDivise(n, PUISSANCES_DE_DIX_32[9]);
            for (int i = 0; i < 9; ++i, bloc /= 10) texte[k++] = static_cast<char>('0' + bloc % 10);
        }
        while (k > 0 && texte[k - 1] == '0') --k;
        while (k < exactes + 1) texte[k++] = '0';
        // The digits from the last: the exact decimals, then the integer part.
        const int entiers = k - exactes;
        const long long longueur = (negatif ? 1 : 0) + entiers + (decimales > 0 ? 1LL + decimales : 0);
        if (limite - debut < longueur) return nullptr;
        char* c = debut;
        if (negatif) *c++ = '-';
        for (int i = k - 1; i >= exactes; --i) *c++ = texte[i];
        if (decimales > 0) *c++ = '.';
        for (int i = exactes - 1; i >= 0; --i) *c++ = texte[i];
        for (int i = exactes; i < decimales; ++i) *c++ = '0';
        return c;
    }
    if (limite - debut < k + (negatif ? 1 : 0)) return nullptr;
    char* c = debut;
    if (negatif) *c++ = '-';
    std::memcpy(c, texte, static_cast<std::size_t>(k));
    return c + k;
}
}  // namespace

double Texte2Reel(const char* debut, const char* fin, const char** suite) {
    if (suite != nullptr) *suite = debut;
    const char* p = debut;
    while (p != fin && EstBlanc(*p)) ++p;
    double valeur = 0.0;
    const char* lu;
    // Most coordinates: Clinger's shortcut, which gives the same double.
    if (DecimalCourt(p, fin, &valeur, &lu)) {
        if (suite != nullptr) *suite = lu;
        return valeur;
    }
    bool negatif = false;
    if (p != fin && (*p == '+' || *p == '-')) negatif = *p++ == '-';
    if (fin - p >= 3 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && DebutMantisseHexa(p + 2, fin)) {
        lu = FinHexa(p + 2, fin);
        valeur = LitHexa(p + 2, lu);
    } else if ((lu = FinMot(p, fin, &valeur)) == nullptr) {
        valeur = LitDecimal(p, fin, &lu);
        if (lu == p) return 0.0;
    }
    if (suite != nullptr) *suite = lu;
    return negatif ? -valeur : valeur;
}

char* Reel2Texte(double reel, int decimales, char* debut, char* limite) {
#if defined(__SIZEOF_INT128__)
    if (decimales >= 0 && decimales <= DECIMALES_COURT && std::fabs(reel) < LIMITE_COURT)
        return Reel2TexteCourt(reel, decimales, debut, limite);
#endif
    return Reel2TexteExact(reel, decimales, debut, limite);
}
