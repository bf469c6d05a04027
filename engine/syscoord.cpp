// The system-to-system transformation: units and carto offsets at the boundary,
// then projection, datum change and rounding chained as the pair of systems needs.
#include "constantes.h"
#include "interne.h"

using namespace constantes;

namespace {

// k decimals through 10^k: half away from zero, so a coordinate that rounds to
// zero comes back as -0.0.
double Arrondi(double valeur, double echelle) {
    const double produit = valeur * echelle;
    return ArrondiReel(produit) / echelle;
}

COORDONNEES_TYPE_NC PaireEchec() {
    COORDONNEES_TYPE_NC echec = {ECHEC, ECHEC};
    return echec;
}

}  // namespace

COORDONNEES_TYPE_NC GEOKERN_APPEL SysCoord2SysCoord(COORDONNEES_TYPE_NC pointInPrm, Liste_SysCoord sysCoordIn,
                                                    Liste_SysCoord sysCoordOut) {
    if (static_cast<int>(sysCoordIn) == static_cast<int>(sysCoordOut)) return pointInPrm;

    // The catalogue's records read in place (the same values as ChargeConstantes_SysCoord).
    const PARAMETRES_SYSTEME_COORDONNNEES& Const_sysCoordIn = *ConstantesSysCoord(sysCoordIn);
    const PARAMETRES_SYSTEME_COORDONNNEES& Const_sysCoordOut = *ConstantesSysCoord(sysCoordOut);
    if (Const_sysCoordIn.Datum == MARQUEUR_ABSENT || Const_sysCoordOut.Datum == MARQUEUR_ABSENT)
        return PaireEchec();

    COORDONNEES_GEOGRAPHIQUES pointIn_Geo;
    if (Const_sysCoordIn.IsProjection == 0) {
        pointIn_Geo.lambda = degre2radian(pointInPrm.x_lambda);
        pointIn_Geo.phi = degre2radian(pointInPrm.y_phi);
    } else {
        COORDONNEES_PLANES pointIn_Plan = {pointInPrm.x_lambda, pointInPrm.y_phi};
        if (Const_sysCoordIn.Translation_Y != 0.0)
            pointIn_Plan.y -= METRES_PAR_TRANSLATION_Y * Const_sysCoordIn.Translation_Y;

        // NTF plane to NTF plane: directly, and not rounded.
        if (Const_sysCoordIn.Datum == 0 && Const_sysCoordOut.Datum == 0 && Const_sysCoordOut.IsProjection != 0) {
            COORDONNEES_PLANES pointOut_Plan = Lambert2Lambert(pointIn_Plan, Const_sysCoordIn, Const_sysCoordOut);
            if (Const_sysCoordOut.Translation_Y != 0.0)
                pointOut_Plan.y += METRES_PAR_TRANSLATION_Y * Const_sysCoordOut.Translation_Y;
            COORDONNEES_TYPE_NC pointOut = {pointOut_Plan.x, pointOut_Plan.y};
            return pointOut;
        }
        pointIn_Geo = Lambert2Geo(pointIn_Plan, Const_sysCoordIn);
    }

    COORDONNEES_GEOGRAPHIQUES pointOut_Geo = pointIn_Geo;
    if (Const_sysCoordIn.Datum != Const_sysCoordOut.Datum) {
        pointOut_Geo = Datum2Datum(pointIn_Geo, Const_sysCoordIn, Const_sysCoordOut);
        if (pointOut_Geo.phi == ECHEC || pointOut_Geo.lambda == ECHEC) return PaireEchec();
    }

    COORDONNEES_TYPE_NC pointOut;
    if (Const_sysCoordOut.IsProjection != 0) {
        COORDONNEES_PLANES pointOut_Plan = Geo2Lambert(pointOut_Geo, Const_sysCoordOut);
        if (Const_sysCoordOut.Translation_Y != 0.0)
            pointOut_Plan.y += METRES_PAR_TRANSLATION_Y * Const_sysCoordOut.Translation_Y;
        pointOut.x_lambda = Arrondi(pointOut_Plan.x, ECHELLE_METRES);
        pointOut.y_phi = Arrondi(pointOut_Plan.y, ECHELLE_METRES);
    } else {
        pointOut.x_lambda = Arrondi(radian2degre(pointOut_Geo.lambda), ECHELLE_DEGRES);
        pointOut.y_phi = Arrondi(radian2degre(pointOut_Geo.phi), ECHELLE_DEGRES);
    }
    return pointOut;
}
