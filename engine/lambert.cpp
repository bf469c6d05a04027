// Lambert conformal conic projection from stored constants (n, C, Xs, Ys, e,
// central meridian), after the IGN's ALG0003 (forward), ALG0004 (inverse) and
// their composition for plane-to-plane conversion. Longitudes are not
// normalised, and the inverse uses the one-argument arc tangent, as the
// published algorithms do: both are exact in the systems' own areas.
#include <cmath>

#include "interne.h"

namespace {

// sin and cos of the angle at the pole, which stays below 0.2 rad wherever a
// catalogue system is used: their Taylor series to the 13th and 14th power
// are exact there to the last bit but one, and cheaper than the library's
// general sincos. Larger angles go to the library.
void SinCosGamma(double gamma, double* sinus, double* cosinus) {
    if (!(std::fabs(gamma) < 0.2)) {
        *sinus = std::sin(gamma);
        *cosinus = std::cos(gamma);
        return;
    }
    const double g2 = gamma * gamma;
    *sinus = gamma + gamma * g2 * (-1.0 / 6 + g2 * (1.0 / 120 + g2 * (-1.0 / 5040 + g2 * (1.0 / 362880 +
             g2 * (-1.0 / 39916800 + g2 * (1.0 / 6227020800.0))))));
    *cosinus = 1.0 + g2 * (-0.5 + g2 * (1.0 / 24 + g2 * (-1.0 / 720 + g2 * (1.0 / 40320 + g2 * (-1.0 / 3628800 +
               g2 * (1.0 / 479001600 + g2 * (-1.0 / 87178291200.0)))))));
}

}  // namespace

COORDONNEES_PLANES Geo2Lambert(const COORDONNEES_GEOGRAPHIQUES& entree,
                               const PARAMETRES_SYSTEME_COORDONNNEES& Const_sysCoordOut) {
    const double e = Const_sysCoordOut.ellipsoide_Excentricite;
    const double s = std::sin(entree.phi);
    const double latitudeIso = 0.5 * std::log((1.0 + s) / (1.0 - s)) -
                               (e / 2.0) * std::log((1.0 + e * s) / (1.0 - e * s));
    const double R = Const_sysCoordOut.C * std::exp(-Const_sysCoordOut.n * latitudeIso);
    const double gamma = Const_sysCoordOut.n * (entree.lambda - Const_sysCoordOut.LAMBDA_ZERO);
    double sinus, cosinus;
    SinCosGamma(gamma, &sinus, &cosinus);
    COORDONNEES_PLANES sortie;
    sortie.x = Const_sysCoordOut.Xs + R * sinus;
    sortie.y = Const_sysCoordOut.Ys - R * cosinus;
    return sortie;
}

COORDONNEES_GEOGRAPHIQUES Lambert2Geo(const COORDONNEES_PLANES& entree, const PARAMETRES_SYSTEME_COORDONNNEES& zone) {
    const double dx = entree.x - zone.Xs;
    const double dy = entree.y - zone.Ys;
    const double R = std::sqrt(dx * dx + dy * dy);
    const double gamma = std::atan(dx / (zone.Ys - entree.y));
    const double latitudeIso = (-1.0 / zone.n) * std::log(std::fabs(R / zone.C));
    COORDONNEES_GEOGRAPHIQUES sortie;
    sortie.lambda = zone.LAMBDA_ZERO + gamma / zone.n;
    sortie.phi = LatitudeIsoInverse(latitudeIso, zone.ellipsoide_Excentricite);
    return sortie;
}

// The exports: the same computations on their by-value arguments.
COORDONNEES_PLANES GEOKERN_APPEL SysGeo2SysProj(COORDONNEES_GEOGRAPHIQUES entree,
                                                PARAMETRES_SYSTEME_COORDONNNEES Const_sysCoordOut) {
    return Geo2Lambert(entree, Const_sysCoordOut);
}

COORDONNEES_GEOGRAPHIQUES GEOKERN_APPEL SysProj2SysGeo(COORDONNEES_PLANES entree,
                                                       PARAMETRES_SYSTEME_COORDONNNEES zone) {
    return Lambert2Geo(entree, zone);
}

COORDONNEES_PLANES GEOKERN_APPEL Lambert2Lambert(COORDONNEES_PLANES pointIn,
                                                 PARAMETRES_SYSTEME_COORDONNNEES Const_sysCoordIn,
                                                 PARAMETRES_SYSTEME_COORDONNNEES Const_sysCoordOut) {
    const double dx = pointIn.x - Const_sysCoordIn.Xs;
    const double dy = pointIn.y - Const_sysCoordIn.Ys;
    const double gamma = std::atan((Const_sysCoordIn.Xs - pointIn.x) / (pointIn.y - Const_sysCoordIn.Ys)) *
                         (Const_sysCoordOut.n / Const_sysCoordIn.n);
    const double R1 = std::sqrt(dy * dy + dx * dx);
    const double latitudeIso = (1.0 / Const_sysCoordIn.n) * std::log(Const_sysCoordIn.C / R1);
    const double R = Const_sysCoordOut.C * std::exp(-Const_sysCoordOut.n * latitudeIso);
    COORDONNEES_PLANES sortie;
    sortie.x = Const_sysCoordOut.Xs + R * std::sin(gamma);
    sortie.y = Const_sysCoordOut.Ys - R * std::cos(gamma);
    return sortie;
}
