// Datum change between NTF, WGS84 and RGF93 through geocentric cartesian
// coordinates: the constant translation between NTF and WGS84, the GR3DF97A
// grid translation between NTF and RGF93 (IGN note NT/G 88: the grid is read
// once, at the position given by the constant translation, on the target
// ellipsoid). WGS84 and RGF93 count as one datum.
#include "constantes.h"
#include "interne.h"
#include "primitives.h"

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

// The geocentric coordinates of a stage's points, two at a time (the last
// alone), and back.
void Cartesiennes(const COORDONNEES_GEOGRAPHIQUES* g, COORDONNEES_CARTESIENNES* c, int m, double a, double b) {
    int k = 0;
    for (; k + 1 < m; k += 2) {
        elementaires::Paire x, y, z;
        primitives::Geographique2Cartesienne(elementaires::Paire{g[k].lambda, g[k + 1].lambda},
                                             elementaires::Paire{g[k].phi, g[k + 1].phi}, a, b, &x, &y, &z);
        c[k] = {x[0], y[0], z[0]};
        c[k + 1] = {x[1], y[1], z[1]};
    }
    if (k < m) c[k] = Geographique2Cartesienne(g[k], a, b);
}

void Geographiques(const COORDONNEES_CARTESIENNES* c, COORDONNEES_GEOGRAPHIQUES* g, int m, double a, double b) {
    int k = 0;
    for (; k + 1 < m; k += 2) {
        elementaires::Paire lambda, phi;
        primitives::Cartesienne2Geographique(elementaires::Paire{c[k].x, c[k + 1].x},
                                             elementaires::Paire{c[k].y, c[k + 1].y},
                                             elementaires::Paire{c[k].z, c[k + 1].z}, a, b, &lambda, &phi);
        g[k] = {lambda[0], phi[0]};
        g[k + 1] = {lambda[1], phi[1]};
    }
    if (k < m) g[k] = Cartesienne2Geographique(c[k], a, b);
}

}  // namespace

// The change of a block of points in place, stage after stage: every point's
// geocentric coordinates, then every point's grid translation, then every
// point's latitude iteration. The points of a stage are independent: they go
// two at a time through the pair forms of the primitives, and the processor
// overlaps the pairs' long chains of divisions and square roots; each point
// goes through the same operations as alone.
void Datum2DatumBloc(COORDONNEES_GEOGRAPHIQUES* points, int m, const PARAMETRES_SYSTEME_COORDONNNEES& zoneIn,
                     const PARAMETRES_SYSTEME_COORDONNNEES& zoneOut) {
    const METHODE methode = ChoixMethode(zoneIn.Datum, zoneOut.Datum);
    if (methode == INCHANGE) return;
    if (methode == ECHEC_DATUM) {
        for (int k = 0; k < m; ++k) points[k].lambda = points[k].phi = ECHEC;
        return;
    }

    // From NTF the translation as published; towards NTF its opposite.
    const double sens = zoneIn.Datum == 0 ? 1.0 : -1.0;
    const double Tx = sens * NTF_TX, Ty = sens * NTF_TY, Tz = sens * NTF_TZ;

    // The constant translation: the whole change between NTF and WGS84, the
    // approximate position towards or from RGF93.
    COORDONNEES_CARTESIENNES entree[BLOC_POINTS], sortie[BLOC_POINTS];
    Cartesiennes(points, entree, m, zoneIn.ellipsoide_DemiGrdAxe, zoneIn.ellipsoide_DemiPetitAxe);
    for (int k = 0; k < m; ++k) {
        sortie[k].x = entree[k].x + Tx;
        sortie[k].y = entree[k].y + Ty;
        sortie[k].z = entree[k].z + Tz;
    }

    bool hors_grille[BLOC_POINTS] = {};
    if (methode == GRILLE) {
        Geographiques(sortie, points, m, zoneOut.ellipsoide_DemiGrdAxe, zoneOut.ellipsoide_DemiPetitAxe);
        for (int k = 0; k < m; ++k) {
            const double phi_approx = radian2degre(points[k].phi);
            const double lambda_approx = radian2degre(points[k].lambda);
            int n_colonne, n_ligne;
            if (!CelluleGrille(lambda_approx, phi_approx, &n_colonne, &n_ligne)) {
                hors_grille[k] = true;
                continue;
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
            const double Tx_grille =
                (1 - x) * (1 - y) * so.Tx + (1 - x) * y * no.Tx + (1 - y) * x * se.Tx + x * y * ne.Tx;
            const double Ty_grille =
                (1 - x) * (1 - y) * so.Ty + (1 - x) * y * no.Ty + (1 - y) * x * se.Ty + x * y * ne.Ty;
            const double Tz_grille =
                (1 - x) * (1 - y) * so.Tz + (1 - x) * y * no.Tz + (1 - y) * x * se.Tz + x * y * ne.Tz;

            // The grid translation applies to the input's own coordinates.
            sortie[k].x = entree[k].x + sens * Tx_grille;
            sortie[k].y = entree[k].y + sens * Ty_grille;
            sortie[k].z = entree[k].z + sens * Tz_grille;
        }
    }

    Geographiques(sortie, points, m, zoneOut.ellipsoide_DemiGrdAxe, zoneOut.ellipsoide_DemiPetitAxe);
    for (int k = 0; k < m; ++k)
        if (hors_grille[k]) points[k].lambda = points[k].phi = ECHEC;
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
