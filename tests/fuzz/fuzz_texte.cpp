// CSysCoord2SysCoord on arbitrary texts and system codes. Input: code in, code
// out (one signed byte each), then the text (the rest, given a terminator). The
// call must leave the text as it was and return the engine's buffer holding
// at most 39 characters. Its numbers are what strtod reads in the C locale of
// the decimal characters that start each side of the "@" (the same double and
// the same length read: no hexadecimal number, infinity or NaN), and its result
// is what snprintf writes in the C locale, or the empty text on failure or
// when that needs over 39 characters.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "geokern2.h"
#include "interne.h"
#include "nombres.h"

namespace {

void Verifie(bool condition) {
    if (!condition) std::abort();
}

bool MemeReel(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The number at the start of [debut, fin), read both ways; strtod is given the
// white space and the characters of a decimal number that start it.
double LuCommeStrtod(const char* debut, const char* fin) {
    const std::string texte(debut, fin);
    const std::string copie = texte.substr(0, texte.find_first_not_of(" \t\n\v\f\r+-0123456789.eE"));
    char* fin_strtod = nullptr;
    const double attendu = std::strtod(copie.c_str(), &fin_strtod);
    const char* suite = nullptr;
    const double lu = Texte2Reel(debut, fin, &suite);
    Verifie(MemeReel(lu, attendu));
    Verifie(suite - debut == fin_strtod - copie.c_str());
    return lu;
}

void EcritCommeSnprintf(double x) {
    for (int decimales : {3, 8}) {
        char attendu[400], ecrit[400];
        const int n = std::snprintf(attendu, sizeof attendu, "%.*f", decimales, x);
        const char* fin = Reel2Texte(x, decimales, ecrit, ecrit + sizeof ecrit);
        Verifie(fin != nullptr && fin - ecrit == n && std::memcmp(ecrit, attendu, n) == 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const Liste_SysCoord in = static_cast<Liste_SysCoord>(static_cast<signed char>(data[0]));
    const Liste_SysCoord out = static_cast<Liste_SysCoord>(static_cast<signed char>(data[1]));
    // Exactly the text and its terminator on the heap, so that a read past it shows.
    char* texte = static_cast<char*>(std::malloc(size - 1));
    std::memcpy(texte, data + 2, size - 2);
    texte[size - 2] = '\0';
    const std::vector<char> copie(texte, texte + size - 1);

    const char* resultat = CSysCoord2SysCoord(texte, in, out);
    Verifie(resultat != nullptr);
    Verifie(std::memchr(resultat, '\0', 40) != nullptr);
    Verifie(std::memcmp(texte, copie.data(), copie.size()) == 0);
    const std::string texte_resultat = resultat;

    const char* const fin = texte + std::strlen(texte);
    const char* const arobase = std::strchr(texte, '@');
    if (arobase == nullptr) {
        Verifie(texte_resultat.empty());
        LuCommeStrtod(texte, fin);
    } else {
        COORDONNEES_TYPE_NC point = {LuCommeStrtod(texte, arobase), LuCommeStrtod(arobase + 1, fin)};
        EcritCommeSnprintf(point.x_lambda);
        EcritCommeSnprintf(point.y_phi);
        std::string attendu;
        if (point.x_lambda != -9999.0) point = SysCoord2SysCoord(point, in, out);
        if (point.x_lambda != -9999.0) {
            // Angles (degrees or grads) to 1e-8, metres to the millimetre.
            const DESCRIPTION_SYSCOORD* cible = DescriptionSysCoord(out);
            const bool degres = cible != nullptr && cible->Code != 0 && cible->IsProjection == 0;
            char tampon[800];
            const int n = std::snprintf(tampon, sizeof tampon, degres ? "%.8f@%.8f" : "%.3f@%.3f", point.x_lambda,
                                        point.y_phi);
            if (n < 40) attendu = tampon;
        }
        Verifie(texte_resultat == attendu);
    }
    std::free(texte);
    return 0;
}
