// The engine's published formulas, written out plainly for the tests to hold
// the fast code against: each function is the IGN's algorithm as the engine's
// documentation gives it (ALG0002, ALG0003, ALG0004, ALG0009, ALG0012, the
// GR3DF97A interpolation), step by step, with the standard library's
// functions, iterations on the latitude itself, and no shortcut. Nothing here
// is tuned; nothing here should be.
#ifndef GEOKERN_REFERENCE_H
#define GEOKERN_REFERENCE_H

#include "geokern2.h"

namespace reference {

// The catalogue, selection by selection; a code outside it sets Datum only.
// The conic conformal zones' constants come from their defining parameters by
// ALG0054, computed here: the catalogue's literals agree with them to the
// rounding of a double's computation, not to the bit.
PARAMETRES_SYSTEME_COORDONNNEES ChargeConstantes_SysCoord(int sysCoord);

double degre2radian(double AngleDeg);
double radian2degre(double AngleRad);
double TronqueReel(double reel);
double ArrondiReel(double reel);
COORDONNEES_CARTESIENNES Geographique2Cartesienne(COORDONNEES_GEOGRAPHIQUES entree, double DemiGrdAxe,
                                                  double DemiPetitAxe);
COORDONNEES_GEOGRAPHIQUES Cartesienne2Geographique(COORDONNEES_CARTESIENNES entree, double DemiGrdAxe,
                                                   double DemiPetitAxe);
double LatitudeIsoInverse(double latitudeiso, double e);

COORDONNEES_PLANES SysGeo2SysProj(COORDONNEES_GEOGRAPHIQUES entree, const PARAMETRES_SYSTEME_COORDONNNEES& zone);
COORDONNEES_GEOGRAPHIQUES SysProj2SysGeo(COORDONNEES_PLANES entree, const PARAMETRES_SYSTEME_COORDONNNEES& zone);
COORDONNEES_PLANES Lambert2Lambert(COORDONNEES_PLANES pointIn, const PARAMETRES_SYSTEME_COORDONNNEES& zoneIn,
                                   const PARAMETRES_SYSTEME_COORDONNNEES& zoneOut);

// The datum change. The grid's nodes are read through the engine's export
// LectureGrille_GR3DF97A, which reaches every node but those of the first row
// (41.0 N) and the last column (10.0 E): those come back as NaN, so that a
// cell using them could not go unnoticed. No position of metropolitan France
// needs them.
COORDONNEES_GEOGRAPHIQUES ChangementDatum(COORDONNEES_GEOGRAPHIQUES CoordGeo_entree,
                                          const PARAMETRES_SYSTEME_COORDONNNEES& zoneIn,
                                          const PARAMETRES_SYSTEME_COORDONNNEES& zoneOut);

// The system-to-system transformation, with what it had before rounding.
struct RESULTAT {
    COORDONNEES_TYPE_NC point;  // what SysCoord2SysCoord returns
    COORDONNEES_TYPE_NC brut;   // the same before rounding (equal to point where nothing is rounded)
    double echelle;             // 10^3 or 10^8 where the result is rounded, 0 where it is not
};
RESULTAT SysCoord2SysCoord(COORDONNEES_TYPE_NC pointInPrm, int sysCoordIn, int sysCoordOut);

}  // namespace reference

#endif
