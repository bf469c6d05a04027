// Internal declarations of the engine: the catalogue, the geodetic primitives,
// the grid's node array and the text parser. Nothing here is exported.
#ifndef GEOKERN_INTERNE_H
#define GEOKERN_INTERNE_H

#include <cmath>

#include "constantes.h"
#include "elementaires.h"
#include "geokern2.h"
#include "primitives.h"

// The elementary functions of every computation: the engine's own
// (elementaires.h), never the maths library's.
using elementaires::ArcTangente;
using elementaires::Cos;
using elementaires::Exp;
using elementaires::Log;
using elementaires::Puissance;
using elementaires::Sin;
using elementaires::SinCos;

// Catalogue (catalogue.cpp). A system's row: its description, its constants,
// and for a geographic system the unit of its coordinates at the boundary.
struct SYSTEME {
    DESCRIPTION_SYSCOORD description;
    PARAMETRES_SYSTEME_COORDONNNEES zone;
    double radiansParUnite;  // DEGRE_EN_RADIAN or GRADE_EN_RADIAN
    double unitesParRadian;  // RADIAN_EN_DEGRE or RADIAN_EN_GRADE
    int rayon;  // a Lambert zone's radius table in rayons::RAYONS, or -1 (an index: the table stays read-only)
};
// The row of a code; the no-system row (Datum -9999, Code 0) outside the catalogue.
const SYSTEME& SystemeCatalogue(Liste_SysCoord sysCoord);
// The number of systems: codes 1 to NombreSysCoord().
int NombreSysCoord();
PARAMETRES_SYSTEME_COORDONNNEES ChargeConstantes_SysCoord(Liste_SysCoord sysCoord);
// The same record, read in place from a table built at compile time (never null).
const PARAMETRES_SYSTEME_COORDONNNEES* ConstantesSysCoord(Liste_SysCoord sysCoord);

// Geodetic primitives (primitives.h, primitives.cpp for one point). The four one-line ones are defined
// here, inline: the dispatcher calls them for every point, and an out-of-line
// call costs more than the arithmetic (every floating-point register is saved
// around it).
constexpr double degre2radian(double AngleDeg) { return AngleDeg * constantes::DEGRE_EN_RADIAN; }
constexpr double radian2degre(double AngleRad) { return AngleRad * constantes::RADIAN_EN_DEGRE; }

// The engine's own floor and ceil (elementaires.h): truncation and rounding.
using elementaires::Plafond;
using elementaires::Plancher;
inline double TronqueReel(double reel) { return reel >= 0.0 ? Plancher(reel) : Plafond(reel); }

// Halves away from zero; zero takes the second branch and comes back as -0.0.
inline double ArrondiReel(double reel) { return reel > 0.0 ? Plancher(reel + 0.5) : Plafond(reel - 0.5); }

COORDONNEES_CARTESIENNES Geographique2Cartesienne(COORDONNEES_GEOGRAPHIQUES entree,
                                                  double DemiGrdAxe, double DemiPetitAxe);
COORDONNEES_GEOGRAPHIQUES Cartesienne2Geographique(COORDONNEES_CARTESIENNES entree,
                                                   double DemiGrdAxe, double DemiPetitAxe);
// The isometric latitude of phi (radians) on an ellipsoid of eccentricity e,
// and its inverse.
inline double LatitudeIso(double phi, double e) { return primitives::LatitudeIso(phi, e); }
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
