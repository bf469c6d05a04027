// The system-to-system transformation: units and carto offsets at the boundary,
// then projection, datum change and rounding chained as the pair of systems
// needs, over blocks of points (one point is a block of one).
#include "constantes.h"
#include "interne.h"
#include "lambert.h"

using namespace constantes;
using elementaires::Paire;

namespace {

// k decimals through 10^k: half away from zero, so a coordinate that rounds to
// zero comes back as -0.0.
double Arrondi(double valeur, double echelle) {
    const double produit = valeur * echelle;
    return ArrondiReel(produit) / echelle;
}

}  // namespace

// Stage by stage over the block: the input's geographic coordinates, the datum
// change, the output. The stages repeat for every point what the point alone
// would go through, in the same order.
void SysCoord2SysCoordBloc(const double* x_lambda, const double* y_phi, double* x_sortie, double* y_sortie, int m,
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
            for (; k + 1 < m; k += 2) {
                Paire lambda, phi;
                lambert::Lambert2Geo(Paire{points[k].lambda, points[k + 1].lambda},
                                     Paire{points[k].phi, points[k + 1].phi}, Const_sysCoordIn, &lambda, &phi);
                points[k] = {lambda[0], phi[0]};
                points[k + 1] = {lambda[1], phi[1]};
            }
            if (k < m) points[k] = Lambert2Geo({points[k].lambda, points[k].phi}, Const_sysCoordIn);
        }
    }

    const bool change_datum = Const_sysCoordIn.Datum != Const_sysCoordOut.Datum;
    if (change_datum) Datum2DatumBloc(points, m, Const_sysCoordIn, Const_sysCoordOut);

    // A Lambert output's plane coordinates, two points at a time.
    COORDONNEES_PLANES plans[BLOC_POINTS];
    if (Const_sysCoordOut.IsProjection == 1) {
        int k = 0;
        for (; k + 1 < m; k += 2) {
            Paire x, y;
            lambert::Geo2Lambert(Paire{points[k].lambda, points[k + 1].lambda},
                                 Paire{points[k].phi, points[k + 1].phi}, Const_sysCoordOut, &x, &y);
            plans[k] = {x[0], y[0]};
            plans[k + 1] = {x[1], y[1]};
        }
        if (k < m) plans[k] = Geo2Lambert(points[k], Const_sysCoordOut);
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

COORDONNEES_TYPE_NC GEOKERN_APPEL SysCoord2SysCoord(COORDONNEES_TYPE_NC pointInPrm, Liste_SysCoord sysCoordIn,
                                                    Liste_SysCoord sysCoordOut) {
    COORDONNEES_TYPE_NC pointOut;
    SysCoord2SysCoordBloc(&pointInPrm.x_lambda, &pointInPrm.y_phi, &pointOut.x_lambda, &pointOut.y_phi, 1,
                          sysCoordIn, sysCoordOut);
    return pointOut;
}
