// The text form of the transformation: "x@y" in, "x@y" out in the engine's own
// 40-character buffer, the library's one piece of mutable state.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "constantes.h"
#include "interne.h"

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
    // atof stops at the "@", which cannot continue a number, and at a second "@".
    point.x_lambda = std::atof(entree);
    point.y_phi = std::atof(arobase + 1);
    return point;
}

const char* GEOKERN_APPEL CSysCoord2SysCoord(const char* pointAVIn, Liste_SysCoord sysCoordIn,
                                             Liste_SysCoord sysCoordOut) {
    const COORDONNEES_TYPE_NC pointIn = AvPoint2CoordPlanes(pointAVIn);
    if (pointIn.x_lambda == ECHEC) return TexteVide();
    const COORDONNEES_TYPE_NC point = SysCoord2SysCoord(pointIn, sysCoordIn, sysCoordOut);
    if (point.x_lambda == ECHEC) return TexteVide();

    const int code = static_cast<int>(sysCoordOut);
    const bool degres = code == NTFGG || code == WGS84GG || code == RGF93GG;
    const int longueur = std::snprintf(pointAVOut, TAILLE_RESULTAT, degres ? "%.8f@%.8f" : "%.3f@%.3f",
                                       point.x_lambda, point.y_phi);
    // A text that does not fit is not cut short: it would read as another number.
    if (longueur < 0 || longueur >= TAILLE_RESULTAT) return TexteVide();
    return pointAVOut;
}
