// The dispatcher's stages over a block of points, as templates on the lanes
// they compute with: a pair of doubles (syscoord.cpp, datum.cpp, every
// build), or four (quadruples.cpp, where the processor has AVX2). Each lane
// goes through the operations of the point alone, in the same order, so every
// instance gives the bits of the one-point path; a test holds them together.
#ifndef GEOKERN_BLOCS_H
#define GEOKERN_BLOCS_H

#include "constantes.h"
#include "interne.h"
#include "lambert.h"
#include "primitives.h"

namespace blocs {

using namespace constantes;
using elementaires::VOIES;

// N consecutive records' member as the lanes of T, and back.
template <class T, class S>
inline T Charge(const S* s, double S::*membre) {
    T v;
    for (int i = 0; i < VOIES<T>; ++i) v[i] = s[i].*membre;
    return v;
}
template <class T, class S>
inline void Range(T v, S* s, double S::*membre) {
    for (int i = 0; i < VOIES<T>; ++i) s[i].*membre = v[i];
}

enum METHODE { INCHANGE, ECHEC_DATUM, CONSTANTE, GRILLE };

inline METHODE ChoixMethode(int datumIn, int datumOut) {
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

// The geocentric coordinates of a stage's points, N at a time (the rest one
// by one), and back.
template <class T>
void Cartesiennes(const COORDONNEES_GEOGRAPHIQUES* g, COORDONNEES_CARTESIENNES* c, int m, double a, double b) {
    int k = 0;
    for (; k + VOIES<T> <= m; k += VOIES<T>) {
        T x, y, z;
        primitives::Geographique2Cartesienne(Charge<T>(g + k, &COORDONNEES_GEOGRAPHIQUES::lambda),
                                             Charge<T>(g + k, &COORDONNEES_GEOGRAPHIQUES::phi), a, b, &x, &y, &z);
        Range(x, c + k, &COORDONNEES_CARTESIENNES::x);
        Range(y, c + k, &COORDONNEES_CARTESIENNES::y);
        Range(z, c + k, &COORDONNEES_CARTESIENNES::z);
    }
    for (; k < m; ++k)
        primitives::Geographique2Cartesienne(g[k].lambda, g[k].phi, a, b, &c[k].x, &c[k].y, &c[k].z);
}

template <class T>
void Geographiques(const COORDONNEES_CARTESIENNES* c, COORDONNEES_GEOGRAPHIQUES* g, int m, double a, double b) {
    int k = 0;
    for (; k + VOIES<T> <= m; k += VOIES<T>) {
        T lambda, phi;
        primitives::Cartesienne2Geographique(Charge<T>(c + k, &COORDONNEES_CARTESIENNES::x),
                                             Charge<T>(c + k, &COORDONNEES_CARTESIENNES::y),
                                             Charge<T>(c + k, &COORDONNEES_CARTESIENNES::z), a, b, &lambda, &phi);
        Range(lambda, g + k, &COORDONNEES_GEOGRAPHIQUES::lambda);
        Range(phi, g + k, &COORDONNEES_GEOGRAPHIQUES::phi);
    }
    for (; k < m; ++k)
        primitives::Cartesienne2Geographique(c[k].x, c[k].y, c[k].z, a, b, &g[k].lambda, &g[k].phi);
}


// k decimals through 10^k: half away from zero, so a coordinate that rounds to
// zero comes back as -0.0.
inline double Arrondi(double valeur, double echelle) {
    const double produit = valeur * echelle;
    return ArrondiReel(produit) / echelle;
}


// The datum change, after datum.cpp's description.
// The change of a block of points in place, stage after stage: every point's
// geocentric coordinates, then every point's grid translation, then every
// point's latitude iteration. The points of a stage are independent: they go
// two at a time through the pair forms of the primitives, and the processor
// overlaps the pairs' long chains of divisions and square roots; each point
// goes through the same operations as alone.
// GCC cannot see that a stage reads only the m records the previous one wrote.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
template <class T>
void Datum2DatumBlocT(COORDONNEES_GEOGRAPHIQUES* points, int m, const PARAMETRES_SYSTEME_COORDONNNEES& zoneIn,
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
    Cartesiennes<T>(points, entree, m, zoneIn.ellipsoide_DemiGrdAxe, zoneIn.ellipsoide_DemiPetitAxe);
    for (int k = 0; k < m; ++k) {
        sortie[k].x = entree[k].x + Tx;
        sortie[k].y = entree[k].y + Ty;
        sortie[k].z = entree[k].z + Tz;
    }

    bool hors_grille[BLOC_POINTS] = {};
    if (methode == GRILLE) {
        Geographiques<T>(sortie, points, m, zoneOut.ellipsoide_DemiGrdAxe, zoneOut.ellipsoide_DemiPetitAxe);
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

    Geographiques<T>(sortie, points, m, zoneOut.ellipsoide_DemiGrdAxe, zoneOut.ellipsoide_DemiPetitAxe);
    for (int k = 0; k < m; ++k)
        if (hors_grille[k]) points[k].lambda = points[k].phi = ECHEC;
}

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

// Stage by stage over the block: the input's geographic coordinates, the datum
// change, the output. The stages repeat for every point what the point alone
// would go through, in the same order.
template <class T>
void SysCoord2SysCoordBlocT(const double* x_lambda, const double* y_phi, double* x_sortie, double* y_sortie, int m,
                           Liste_SysCoord sysCoordIn, Liste_SysCoord sysCoordOut) {
    if (static_cast<int>(sysCoordIn) == static_cast<int>(sysCoordOut)) {
        for (int k = 0; k < m; ++k) {
            x_sortie[k] = x_lambda[k];
            y_sortie[k] = y_phi[k];
        }
        return;
    }

    // The catalogue's rows read in place (the same records as ChargeConstantes_SysCoord).
    const SYSTEME& systemeIn = SystemeCatalogue(sysCoordIn);
    const SYSTEME& systemeOut = SystemeCatalogue(sysCoordOut);
    const PARAMETRES_SYSTEME_COORDONNNEES& Const_sysCoordIn = systemeIn.zone;
    const PARAMETRES_SYSTEME_COORDONNNEES& Const_sysCoordOut = systemeOut.zone;
    if (Const_sysCoordIn.Datum == MARQUEUR_ABSENT || Const_sysCoordOut.Datum == MARQUEUR_ABSENT) {
        for (int k = 0; k < m; ++k) x_sortie[k] = y_sortie[k] = ECHEC;
        return;
    }

    COORDONNEES_GEOGRAPHIQUES points[BLOC_POINTS];
    // Points without a position: a transverse Mercator input past the poles.
    bool sansPosition[BLOC_POINTS] = {};
    // A geographic system's unit (degrees, grads) and prime meridian.
    if (Const_sysCoordIn.IsProjection == 0) {
        const double facteur = systemeIn.radiansParUnite;
        for (int k = 0; k < m; ++k) {
            points[k].lambda = x_lambda[k] * facteur;
            points[k].phi = y_phi[k] * facteur;
        }
        if (Const_sysCoordIn.LAMBDA_ZERO != 0.0)
            for (int k = 0; k < m; ++k) points[k].lambda += Const_sysCoordIn.LAMBDA_ZERO;
    } else {
        // NTF plane to NTF plane: directly, and not rounded.
        const bool plan_a_plan =
            Const_sysCoordIn.Datum == 0 && Const_sysCoordOut.Datum == 0 && Const_sysCoordOut.IsProjection != 0;
        for (int k = 0; k < m; ++k) {
            COORDONNEES_PLANES pointIn_Plan = {x_lambda[k], y_phi[k]};
            if (Const_sysCoordIn.Translation_Y != 0.0)
                pointIn_Plan.y -= METRES_PAR_TRANSLATION_Y * Const_sysCoordIn.Translation_Y;
            if (plan_a_plan) {
                COORDONNEES_PLANES pointOut_Plan = Lambert2Lambert(pointIn_Plan, Const_sysCoordIn, Const_sysCoordOut);
                if (Const_sysCoordOut.Translation_Y != 0.0)
                    pointOut_Plan.y += METRES_PAR_TRANSLATION_Y * Const_sysCoordOut.Translation_Y;
                x_sortie[k] = pointOut_Plan.x;
                y_sortie[k] = pointOut_Plan.y;
            } else if (Const_sysCoordIn.IsProjection == 1) {
                points[k] = {pointIn_Plan.x, pointIn_Plan.y};  // the Lambert stage below
            } else {
                points[k] = Plan2Geo(pointIn_Plan, Const_sysCoordIn);
                sansPosition[k] = points[k].lambda == ECHEC;
            }
        }
        if (plan_a_plan) return;
        if (Const_sysCoordIn.IsProjection == 1) {
            int k = 0;
            for (; k + VOIES<T> <= m; k += VOIES<T>) {
                T lambda, phi;
                lambert::Lambert2Geo(Charge<T>(points + k, &COORDONNEES_GEOGRAPHIQUES::lambda),
                                     Charge<T>(points + k, &COORDONNEES_GEOGRAPHIQUES::phi), Const_sysCoordIn, &lambda,
                                     &phi);
                Range(lambda, points + k, &COORDONNEES_GEOGRAPHIQUES::lambda);
                Range(phi, points + k, &COORDONNEES_GEOGRAPHIQUES::phi);
            }
            for (; k < m; ++k)
                lambert::Lambert2Geo(points[k].lambda, points[k].phi, Const_sysCoordIn, &points[k].lambda,
                                     &points[k].phi);
        }
    }

    const bool change_datum = Const_sysCoordIn.Datum != Const_sysCoordOut.Datum;
    if (change_datum) Datum2DatumBlocT<T>(points, m, Const_sysCoordIn, Const_sysCoordOut);

    // A Lambert output's plane coordinates, N points at a time.
    COORDONNEES_PLANES plans[BLOC_POINTS];
    if (Const_sysCoordOut.IsProjection == 1) {
        const rayons::RAYON_LAMBERT* table = lambert::TableRayon(systemeOut.rayon);
        int k = 0;
        for (; k + VOIES<T> <= m; k += VOIES<T>) {
            T x, y;
            lambert::Geo2Lambert(Charge<T>(points + k, &COORDONNEES_GEOGRAPHIQUES::lambda),
                                 Charge<T>(points + k, &COORDONNEES_GEOGRAPHIQUES::phi), Const_sysCoordOut,
                                 table, &x, &y);
            Range(x, plans + k, &COORDONNEES_PLANES::x);
            Range(y, plans + k, &COORDONNEES_PLANES::y);
        }
        for (; k < m; ++k)
            lambert::Geo2Lambert(points[k].lambda, points[k].phi, Const_sysCoordOut, table, &plans[k].x,
                                 &plans[k].y);
    }

    for (int k = 0; k < m; ++k) {
        const COORDONNEES_GEOGRAPHIQUES& pointOut_Geo = points[k];
        if (sansPosition[k] || (change_datum && (pointOut_Geo.phi == ECHEC || pointOut_Geo.lambda == ECHEC))) {
            x_sortie[k] = y_sortie[k] = ECHEC;
            continue;
        }
        if (Const_sysCoordOut.IsProjection != 0) {
            COORDONNEES_PLANES pointOut_Plan =
                Const_sysCoordOut.IsProjection == 1 ? plans[k] : Geo2Plan(pointOut_Geo, Const_sysCoordOut);
            if (Const_sysCoordOut.IsProjection == 2 && pointOut_Plan.x == ECHEC) {
                x_sortie[k] = y_sortie[k] = ECHEC;
                continue;
            }
            if (Const_sysCoordOut.Translation_Y != 0.0)
                pointOut_Plan.y += METRES_PAR_TRANSLATION_Y * Const_sysCoordOut.Translation_Y;
            x_sortie[k] = Arrondi(pointOut_Plan.x, ECHELLE_METRES);
            y_sortie[k] = Arrondi(pointOut_Plan.y, ECHELLE_METRES);
        } else {
            const double lambda = Const_sysCoordOut.LAMBDA_ZERO != 0.0
                                      ? pointOut_Geo.lambda - Const_sysCoordOut.LAMBDA_ZERO
                                      : pointOut_Geo.lambda;
            x_sortie[k] = Arrondi(lambda * systemeOut.unitesParRadian, ECHELLE_DEGRES);
            y_sortie[k] = Arrondi(pointOut_Geo.phi * systemeOut.unitesParRadian, ECHELLE_DEGRES);
        }
    }
}

}  // namespace blocs

#endif
