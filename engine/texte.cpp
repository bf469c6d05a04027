// The text form of the transformation: "x@y" in, "x@y" out in the engine's own
// 40-character buffer, the library's one piece of mutable state. The numbers
// are read and written with "." whatever the caller's locale (nombres.cpp).
#include <cstring>

#include "constantes.h"
#include "interne.h"
#include "nombres.h"

using namespace constantes;

namespace {

char pointAVOut[TAILLE_TEXTE_POINT];

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

    const DESCRIPTION_SYSCOORD& sortie = SystemeCatalogue(sysCoordOut).description;
    const int decimales = DecimalesTexte(sortie.Code != 0 && sortie.IsProjection == 0);
    char* const fin = Point2Texte(point.x_lambda, point.y_phi, decimales, pointAVOut,
                                  pointAVOut + TAILLE_TEXTE_POINT - 1);
    if (fin == nullptr) return TexteVide();
    *fin = '\0';
    return pointAVOut;
}
