// Internal declarations of the engine: the catalogue, the geodetic primitives,
// the grid's node array and the text parser. Nothing here is exported.
#ifndef GEOKERN_INTERNE_H
#define GEOKERN_INTERNE_H

#include <cmath>

#include "arctangente.h"
#include "constantes.h"
#include "geokern2.h"

// Catalogue (catalogue.cpp). A system's row: its description, its constants,
// and for a geographic system the unit of its coordinates at the boundary.
struct SYSTEME {
    DESCRIPTION_SYSCOORD description;
    PARAMETRES_SYSTEME_COORDONNNEES zone;
    double radiansParUnite;  // DEGRE_EN_RADIAN or GRADE_EN_RADIAN
    double unitesParRadian;  // RADIAN_EN_DEGRE or RADIAN_EN_GRADE
};
// The row of a code; the no-system row (Datum -9999, Code 0) outside the catalogue.
const SYSTEME& SystemeCatalogue(Liste_SysCoord sysCoord);
// The number of systems: codes 1 to NombreSysCoord().
int NombreSysCoord();
PARAMETRES_SYSTEME_COORDONNNEES ChargeConstantes_SysCoord(Liste_SysCoord sysCoord);
// The same record, read in place from a table built at compile time (never null).
const PARAMETRES_SYSTEME_COORDONNNEES* ConstantesSysCoord(Liste_SysCoord sysCoord);

// Geodetic primitives (primitives.cpp). The four one-line ones are defined
// here, inline: the dispatcher calls them for every point, and an out-of-line
// call costs more than the arithmetic (every floating-point register is saved
// around it).
constexpr double degre2radian(double AngleDeg) { return AngleDeg * constantes::DEGRE_EN_RADIAN; }
constexpr double radian2degre(double AngleRad) { return AngleRad * constantes::RADIAN_EN_DEGRE; }

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

inline double TronqueReel(double reel) { return reel >= 0.0 ? Plancher(reel) : Plafond(reel); }

// Halves away from zero; zero takes the second branch and comes back as -0.0.
inline double ArrondiReel(double reel) { return reel > 0.0 ? Plancher(reel + 0.5) : Plafond(reel - 0.5); }
// sin and cos of one angle with one argument reduction where the maths library
// has sincos, whose results are its sin's and cos's: glibc (where GCC makes
// the call of such a pair anyway) and the musl of WebAssembly. Elsewhere the
// two functions.
inline void SinCos(double angle, double* sinus, double* cosinus) {
#if defined(__GLIBC__) || defined(__EMSCRIPTEN__)
    ::sincos(angle, sinus, cosinus);
#else
    *sinus = std::sin(angle);
    *cosinus = std::cos(angle);
#endif
}

// sin and cos of the projection's angle at the pole, which stays below 0.2 rad
// wherever a catalogue system is used: their Taylor series to the 13th and 14th
// power are exact there to the last bit but one, and cheaper than the
// library's general sincos. Larger angles, and NaN, go to the library.
inline void SinCosGamma(double gamma, double* sinus, double* cosinus) {
    if (!(std::fabs(gamma) < 0.2)) {
        SinCos(gamma, sinus, cosinus);
        return;
    }
    const double g2 = gamma * gamma;
    *sinus = gamma + gamma * g2 * (-1.0 / 6 + g2 * (1.0 / 120 + g2 * (-1.0 / 5040 + g2 * (1.0 / 362880 +
             g2 * (-1.0 / 39916800 + g2 * (1.0 / 6227020800.0))))));
    *cosinus = 1.0 + g2 * (-0.5 + g2 * (1.0 / 24 + g2 * (-1.0 / 720 + g2 * (1.0 / 40320 + g2 * (-1.0 / 3628800 +
               g2 * (1.0 / 479001600 + g2 * (-1.0 / 87178291200.0)))))));
}

COORDONNEES_CARTESIENNES Geographique2Cartesienne(COORDONNEES_GEOGRAPHIQUES entree,
                                                  double DemiGrdAxe, double DemiPetitAxe);
COORDONNEES_GEOGRAPHIQUES Cartesienne2Geographique(COORDONNEES_CARTESIENNES entree,
                                                   double DemiGrdAxe, double DemiPetitAxe);
// The isometric latitude of phi (radians) on an ellipsoid of eccentricity e,
// and its inverse.
inline double LatitudeIso(double phi, double e) {
    const double s = std::sin(phi);
    return 0.5 * std::log((1.0 + s) / (1.0 - s)) - (e / 2.0) * std::log((1.0 + e * s) / (1.0 - e * s));
}
double LatitudeIsoInverse(double latitudeiso, double e);

// The projection and the datum change with their records by reference, for the
// dispatcher; the exports of the same names copy their arguments and call these.
// Geo2Plan and Plan2Geo choose by the record's IsProjection: the Lambert
// projection (lambert.cpp) or the transverse Mercator (mercator.cpp).
COORDONNEES_PLANES Geo2Mercator(const COORDONNEES_GEOGRAPHIQUES& entree, const PARAMETRES_SYSTEME_COORDONNNEES& zone);
COORDONNEES_GEOGRAPHIQUES Mercator2Geo(const COORDONNEES_PLANES& entree, const PARAMETRES_SYSTEME_COORDONNNEES& zone);
COORDONNEES_PLANES Geo2Lambert(const COORDONNEES_GEOGRAPHIQUES& entree,
                               const PARAMETRES_SYSTEME_COORDONNNEES& Const_sysCoordOut);
COORDONNEES_GEOGRAPHIQUES Lambert2Geo(const COORDONNEES_PLANES& entree, const PARAMETRES_SYSTEME_COORDONNNEES& zone);
inline COORDONNEES_PLANES Geo2Plan(const COORDONNEES_GEOGRAPHIQUES& entree,
                                   const PARAMETRES_SYSTEME_COORDONNNEES& zone) {
    return zone.IsProjection == 2 ? Geo2Mercator(entree, zone) : Geo2Lambert(entree, zone);
}
inline COORDONNEES_GEOGRAPHIQUES Plan2Geo(const COORDONNEES_PLANES& entree,
                                          const PARAMETRES_SYSTEME_COORDONNNEES& zone) {
    return zone.IsProjection == 2 ? Mercator2Geo(entree, zone) : Lambert2Geo(entree, zone);
}
COORDONNEES_GEOGRAPHIQUES Datum2Datum(const COORDONNEES_GEOGRAPHIQUES& CoordGeo_entree,
                                      const PARAMETRES_SYSTEME_COORDONNNEES& zoneIn,
                                      const PARAMETRES_SYSTEME_COORDONNNEES& zoneOut);
// The same change for m <= BLOC_POINTS points in place; a point that fails
// gets ECHEC in both members.
void Datum2DatumBloc(COORDONNEES_GEOGRAPHIQUES* points, int m, const PARAMETRES_SYSTEME_COORDONNNEES& zoneIn,
                     const PARAMETRES_SYSTEME_COORDONNNEES& zoneOut);

// The dispatcher for m <= BLOC_POINTS points (syscoord.cpp): SysCoord2SysCoord
// for each, stage by stage; the output arrays may be the input arrays.
void SysCoord2SysCoordBloc(const double* x_lambda, const double* y_phi, double* x_sortie, double* y_sortie, int m,
                           Liste_SysCoord sysCoordIn, Liste_SysCoord sysCoordOut);

// The embedded datum-shift grid: the node array, 17,316 records read in place,
// the one way into it (ressource_windows.cpp, ressource_posix.cpp).
const LIGNE_GRILLE_GR3DF97A* lpGrille_IGN();
// The cell of the grid that holds a position in decimal degrees: its column and
// row (the south-west node is record n_colonne * 111 + n_ligne). False outside
// the grid, NaN included (grille.cpp).
bool CelluleGrille(double lambda, double phi, int* n_colonne, int* n_ligne);

// Text parser (texte.cpp)
COORDONNEES_TYPE_NC AvPoint2CoordPlanes(const char* entree);

#endif
