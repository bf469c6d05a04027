// Datum change between NTF, WGS84 and RGF93 through geocentric cartesian
// coordinates: the constant translation between NTF and WGS84, the GR3DF97A
// grid translation between NTF and RGF93 (IGN note NT/G 88: the grid is read
// once, at the position given by the constant translation, on the target
// ellipsoid). WGS84 and RGF93 count as one datum.
#include "constantes.h"
#include "interne.h"

using namespace constantes;

namespace {

enum METHODE { INCHANGE, ECHEC_DATUM, CONSTANTE, GRILLE };

METHODE ChoixMethode(int datumIn, int datumOut) {
    switch (datumIn) {
    case 0:
        return datumOut == 1 ? CONSTANTE : datumOut == 2 ? GRILLE : INCHANGE;
    case 1:
        return datumOut == 0 ? CONSTANTE : INCHANGE;
    case 2:
        return datumOut == 0 ? GRILLE : INCHANGE;
    default:
        return ECHEC_DATUM;
    }
}

}  // namespace

COORDONNEES_GEOGRAPHIQUES Datum2Datum(const COORDONNEES_GEOGRAPHIQUES& CoordGeo_entree,
                                      const PARAMETRES_SYSTEME_COORDONNNEES& zoneIn,
                                      const PARAMETRES_SYSTEME_COORDONNNEES& zoneOut) {
    const METHODE methode = ChoixMethode(zoneIn.Datum, zoneOut.Datum);
    if (methode == INCHANGE) return CoordGeo_entree;
    if (methode == ECHEC_DATUM) {
        COORDONNEES_GEOGRAPHIQUES echec = {ECHEC, ECHEC};
        return echec;
    }

    const COORDONNEES_CARTESIENNES CoordCart_entree =
        Geographique2Cartesienne(CoordGeo_entree, zoneIn.ellipsoide_DemiGrdAxe, zoneIn.ellipsoide_DemiPetitAxe);
    // From NTF the translation as published; towards NTF its opposite.
    const double sens = zoneIn.Datum == 0 ? 1.0 : -1.0;
    const double Tx = sens * NTF_TX, Ty = sens * NTF_TY, Tz = sens * NTF_TZ;

    // The constant translation: the whole change between NTF and WGS84, the
    // approximate position towards or from RGF93.
    COORDONNEES_CARTESIENNES CoordCart_sortie = {CoordCart_entree.x + Tx, CoordCart_entree.y + Ty,
                                                 CoordCart_entree.z + Tz};
    if (methode == GRILLE) {
        const COORDONNEES_GEOGRAPHIQUES CoordGeo_sortie_approx = Cartesienne2Geographique(
            CoordCart_sortie, zoneOut.ellipsoide_DemiGrdAxe, zoneOut.ellipsoide_DemiPetitAxe);
        const double phi_approx = radian2degre(CoordGeo_sortie_approx.phi);
        const double lambda_approx = radian2degre(CoordGeo_sortie_approx.lambda);

        int n_colonne, n_ligne;
        if (!CelluleGrille(lambda_approx, phi_approx, &n_colonne, &n_ligne)) {
            COORDONNEES_GEOGRAPHIQUES echec = {ECHEC, ECHEC};
            return echec;
        }
        // The cell's south-west node and the position inside the cell.
        const int indice = n_colonne * GRILLE_LIGNES + n_ligne;
        const double x = (lambda_approx - (n_colonne * GRILLE_PAS + GRILLE_LAMBDA_MIN)) / GRILLE_PAS;
        const double y = (phi_approx - (n_ligne * GRILLE_PAS + GRILLE_PHI_MIN)) / GRILLE_PAS;

        const LIGNE_GRILLE_GR3DF97A* noeuds = lpGrille_IGN();
        const LIGNE_GRILLE_GR3DF97A& so = noeuds[indice];
        const LIGNE_GRILLE_GR3DF97A& no = noeuds[indice + 1];
        const LIGNE_GRILLE_GR3DF97A& se = noeuds[indice + GRILLE_LIGNES];
        const LIGNE_GRILLE_GR3DF97A& ne = noeuds[indice + GRILLE_LIGNES + 1];
        const double Tx_grille = (1 - x) * (1 - y) * so.Tx + (1 - x) * y * no.Tx + (1 - y) * x * se.Tx + x * y * ne.Tx;
        const double Ty_grille = (1 - x) * (1 - y) * so.Ty + (1 - x) * y * no.Ty + (1 - y) * x * se.Ty + x * y * ne.Ty;
        const double Tz_grille = (1 - x) * (1 - y) * so.Tz + (1 - x) * y * no.Tz + (1 - y) * x * se.Tz + x * y * ne.Tz;

        // The grid translation applies to the input's own coordinates.
        CoordCart_sortie.x = CoordCart_entree.x + sens * Tx_grille;
        CoordCart_sortie.y = CoordCart_entree.y + sens * Ty_grille;
        CoordCart_sortie.z = CoordCart_entree.z + sens * Tz_grille;
    }
    return Cartesienne2Geographique(CoordCart_sortie, zoneOut.ellipsoide_DemiGrdAxe, zoneOut.ellipsoide_DemiPetitAxe);
}

// The export: the same change on its by-value arguments.
COORDONNEES_GEOGRAPHIQUES GEOKERN_APPEL ChangementDatum(COORDONNEES_GEOGRAPHIQUES CoordGeo_entree,
                                                        PARAMETRES_SYSTEME_COORDONNNEES zoneIn,
                                                        PARAMETRES_SYSTEME_COORDONNNEES zoneOut) {
    return Datum2Datum(CoordGeo_entree, zoneIn, zoneOut);
}
