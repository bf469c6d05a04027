// Datum change between NTF, WGS84 and RGF93 through geocentric cartesian
// coordinates: the constant translation between NTF and WGS84, the GR3DF97A
// grid translation between NTF and RGF93 (IGN note NT/G 88: the grid is read
// once, at the position given by the constant translation, on the target
// ellipsoid). WGS84 and RGF93 count as one datum.
#include "blocs.h"
#include "constantes.h"
#include "interne.h"

// The change of a block of points in place, stage after stage (blocs.h): every
// point's geocentric coordinates, then every point's grid translation, then
// every point's latitude iteration, two points at a time.
void Datum2DatumBloc(COORDONNEES_GEOGRAPHIQUES* points, int m, const PARAMETRES_SYSTEME_COORDONNNEES& zoneIn,
                     const PARAMETRES_SYSTEME_COORDONNNEES& zoneOut) {
    blocs::Datum2DatumBlocT<elementaires::Paire>(points, m, zoneIn, zoneOut);
}

COORDONNEES_GEOGRAPHIQUES Datum2Datum(const COORDONNEES_GEOGRAPHIQUES& CoordGeo_entree,
                                      const PARAMETRES_SYSTEME_COORDONNNEES& zoneIn,
                                      const PARAMETRES_SYSTEME_COORDONNNEES& zoneOut) {
    COORDONNEES_GEOGRAPHIQUES point = CoordGeo_entree;
    Datum2DatumBloc(&point, 1, zoneIn, zoneOut);
    return point;
}

// The export: the same change on its by-value arguments.
COORDONNEES_GEOGRAPHIQUES GEOKERN_APPEL ChangementDatum(COORDONNEES_GEOGRAPHIQUES CoordGeo_entree,
                                                        PARAMETRES_SYSTEME_COORDONNNEES zoneIn,
                                                        PARAMETRES_SYSTEME_COORDONNNEES zoneOut) {
    return Datum2Datum(CoordGeo_entree, zoneIn, zoneOut);
}
