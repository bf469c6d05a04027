// The text form of the transformation: "x@y" in, "x@y" out in the engine's own
// 40-character buffer, the library's one piece of mutable state. The numbers
// are read and written with "." whatever the caller's locale (nombres.cpp).
#include <cstring>

#include "constantes.h"
#include "interne.h"
#include "nombres.h"

using namespace constantes;

namespace {

const int TAILLE_RESULTAT = 40;  // 39 characters and the terminator
char pointAVOut[TAILLE_RESULTAT];

const char* TexteVide() {
    pointAVOut[0] = '\0';
    return pointAVOut;
}

}  // namespace

COORDONNEES_TYPE_NC AvPoint2CoordPlanes(const char* entree) {
    COORDONNEES_TYPE_NC point = {ECHEC, ECHEC};
    const char* arobase = entree != nullptr ? std::strchr(entree, '@') : nullptr;
    if (arobase == nullptr) return point;
    // Each number is read as atof reads it: the "@" cannot continue a number,
    // so the first ends before it, and the second before any other "@".
    const char* const suite = arobase + 1;
    point.x_lambda = Texte2Reel(entree, arobase, nullptr);
    point.y_phi = Texte2Reel(suite, suite + std::strlen(suite), nullptr);
    return point;
}

const char* GEOKERN_APPEL CSysCoord2SysCoord(const char* pointAVIn, Liste_SysCoord sysCoordIn,
                                             Liste_SysCoord sysCoordOut) {
    const COORDONNEES_TYPE_NC pointIn = AvPoint2CoordPlanes(pointAVIn);
    if (pointIn.x_lambda == ECHEC) return TexteVide();
    const COORDONNEES_TYPE_NC point = SysCoord2SysCoord(pointIn, sysCoordIn, sysCoordOut);
    if (point.x_lambda == ECHEC) return TexteVide();

    // 8 decimals for a geographic system of the catalogue, 3 for any other code.
    const DESCRIPTION_SYSCOORD& sortie = SystemeCatalogue(sysCoordOut).description;
    const int decimales = sortie.Code != 0 && sortie.IsProjection == 0 ? 8 : 3;
    // "%.8f@%.8f" or "%.3f@%.3f" in at most 39 characters. A text that does not
    // fit is not cut short: it would read as another number.
    char* const limite = pointAVOut + TAILLE_RESULTAT - 1;
    char* fin = Reel2Texte(point.x_lambda, decimales, pointAVOut, limite);
    if (fin == nullptr || fin == limite) return TexteVide();
    *fin++ = '@';
    fin = Reel2Texte(point.y_phi, decimales, fin, limite);
    if (fin == nullptr) return TexteVide();
    *fin = '\0';
    return pointAVOut;
}
