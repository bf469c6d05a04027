// Lambert conformal conic projection from stored constants (n, C, Xs, Ys, e,
// central meridian), after the IGN's ALG0003 (forward), ALG0004 (inverse) and
// their composition for plane-to-plane conversion; the first two for one
// point from lambert.h. Longitudes are not
// normalised, and the inverse uses the one-argument arc tangent, as the
// published algorithms do: both are exact in the systems' own areas.
#include <cmath>

#include "interne.h"
#include "lambert.h"

COORDONNEES_PLANES Geo2Lambert(const COORDONNEES_GEOGRAPHIQUES& entree,
                               const PARAMETRES_SYSTEME_COORDONNNEES& Const_sysCoordOut) {
    COORDONNEES_PLANES sortie;
    const rayons::RAYON_LAMBERT* table = lambert::TableRayon(lambert::IndiceRayon(Const_sysCoordOut));
    lambert::Geo2Lambert(entree.lambda, entree.phi, Const_sysCoordOut, table, &sortie.x, &sortie.y);
    return sortie;
}

COORDONNEES_GEOGRAPHIQUES Lambert2Geo(const COORDONNEES_PLANES& entree, const PARAMETRES_SYSTEME_COORDONNNEES& zone) {
    COORDONNEES_GEOGRAPHIQUES sortie;
    lambert::Lambert2Geo(entree.x, entree.y, zone, &sortie.lambda, &sortie.phi);
    return sortie;
}

// The exports: the same computations on their by-value arguments, the
// transverse Mercator's for a record of that projection.
COORDONNEES_PLANES GEOKERN_APPEL SysGeo2SysProj(COORDONNEES_GEOGRAPHIQUES entree,
                                                PARAMETRES_SYSTEME_COORDONNNEES Const_sysCoordOut) {
    return Geo2Plan(entree, Const_sysCoordOut);
}

COORDONNEES_GEOGRAPHIQUES GEOKERN_APPEL SysProj2SysGeo(COORDONNEES_PLANES entree,
                                                       PARAMETRES_SYSTEME_COORDONNNEES zone) {
    return Plan2Geo(entree, zone);
}

// Through the isometric latitude, which the two projections share with the
// longitude: the input's polar coordinates, the angle scaled by n2 / n1, the
// distance carried from C1 to C2. A transverse Mercator record on either side
// goes through the position.
COORDONNEES_PLANES GEOKERN_APPEL Lambert2Lambert(COORDONNEES_PLANES pointIn,
                                                 PARAMETRES_SYSTEME_COORDONNNEES Const_sysCoordIn,
                                                 PARAMETRES_SYSTEME_COORDONNNEES Const_sysCoordOut) {
    if (Const_sysCoordIn.IsProjection == 2 || Const_sysCoordOut.IsProjection == 2) {
        const COORDONNEES_GEOGRAPHIQUES position = Plan2Geo(pointIn, Const_sysCoordIn);
        if (position.lambda == constantes::ECHEC) return {constantes::ECHEC, constantes::ECHEC};
        return Geo2Plan(position, Const_sysCoordOut);
    }
    double R1, gamma1;
    lambert::CoordonneesPolaires(pointIn.x, pointIn.y, Const_sysCoordIn, &R1, &gamma1);
    const double gamma = gamma1 * (Const_sysCoordOut.n / Const_sysCoordIn.n);
    const double latitudeIso = (1.0 / Const_sysCoordIn.n) * Log(Const_sysCoordIn.C / R1);
    const double R = Const_sysCoordOut.C * Exp(-Const_sysCoordOut.n * latitudeIso);
    double sinus, cosinus;
    SinCos(gamma, &sinus, &cosinus);
    COORDONNEES_PLANES sortie;
    sortie.x = Const_sysCoordOut.Xs + R * sinus;
    sortie.y = Const_sysCoordOut.Ys - R * cosinus;
    return sortie;
}
