// Geodetic primitives: angle conversion, truncation and rounding, geographic
// <-> geocentric cartesian (the IGN's algorithms ALG0009 and ALG0012), and the
// latitude from the isometric latitude (ALG0002).
#include <cmath>

#include "constantes.h"
#include "interne.h"

using namespace constantes;

// degre2radian, radian2degre, TronqueReel and ArrondiReel are inline, in interne.h.

COORDONNEES_CARTESIENNES Geographique2Cartesienne(COORDONNEES_GEOGRAPHIQUES entree,
                                                  double DemiGrdAxe, double DemiPetitAxe) {
    const double h = 0.0;
    const double a2 = DemiGrdAxe * DemiGrdAxe;
    const double e2 = (a2 - DemiPetitAxe * DemiPetitAxe) / a2;
    double sinphi, cosphi, sinlambda, coslambda;
    SinCos(entree.phi, &sinphi, &cosphi);
    SinCos(entree.lambda, &sinlambda, &coslambda);
    const double N = DemiGrdAxe / std::sqrt(1.0 - e2 * sinphi * sinphi);
    COORDONNEES_CARTESIENNES sortie;
    sortie.x = (N + h) * cosphi * coslambda;
    sortie.y = (N + h) * cosphi * sinlambda;
    sortie.z = ((1.0 - e2) * N + h) * sinphi;
    return sortie;
}

// The latitude iteration runs on t = tan(phi). A pass needs the sine and the
// cosine of the previous latitude, which its tangent gives with one square
// root, and the latitudes themselves only for the stop rule: for
// 1 + t0 t1 > 0, |atan t1 - atan t0| >= 1e-9 is |t1 - t0| >= tan(1e-9) (1 + t0 t1),
// and tan(1e-9) is 1e-9 as a double. The passes and the latitude returned are
// those of the iteration on the angle, without a sine, a cosine and an arc
// tangent per pass.
COORDONNEES_GEOGRAPHIQUES Cartesienne2Geographique(COORDONNEES_CARTESIENNES entree,
                                                   double DemiGrdAxe, double DemiPetitAxe) {
    const double a2 = DemiGrdAxe * DemiGrdAxe;
    const double e2 = (a2 - DemiPetitAxe * DemiPetitAxe) / a2;
    const double p = std::sqrt(entree.x * entree.x + entree.y * entree.y);
    COORDONNEES_GEOGRAPHIQUES sortie;
    // Half-angle form: east positive in (-pi, pi) with the one-argument arc tangent.
    sortie.lambda = 2.0 * ArcTangente(entree.y / (entree.x + p));

    double t0 = (entree.z / p) / (1.0 - e2);
    double t1 = t0;
    for (int passe = 0; passe < PASSES_MAXIMUM; ++passe) {
        double sinphi, cosphi;
        if (std::fabs(t0) <= 1.0) {
            cosphi = 1.0 / std::sqrt(1.0 + t0 * t0);
            sinphi = t0 * cosphi;
        } else {  // near the poles, where t0 * t0 could overflow
            const double r = 1.0 / t0;
            const double norme = std::sqrt(1.0 + r * r);
            cosphi = std::fabs(r) / norme;
            sinphi = std::copysign(1.0 / norme, t0);
        }
        t1 = entree.z / (p - DemiGrdAxe * e2 * cosphi / std::sqrt(1.0 - e2 * sinphi * sinphi));
        const double produit = 1.0 + t0 * t1;
        // A change of a right angle or more (product <= 0) goes on; a NaN ends the loop.
        if (!(produit <= 0.0 || std::fabs(t1 - t0) >= SEUIL_ITERATION * produit)) break;
        t0 = t1;
    }
    sortie.phi = ArcTangente(t1);
    return sortie;
}

namespace {

// sin(phi) for phi = 2 atan(w) - pi/2, w >= 0: (w^2 - 1) / (w^2 + 1), written
// with 1 / w^2 above 1 so that a large w gives 1 instead of inf / inf.
double SinusDemiTangente(double w) {
    if (w > 1.0) {
        const double q = 1.0 / (w * w);
        return (1.0 - q) / (1.0 + q);
    }
    const double q = w * w;
    return (q - 1.0) / (q + 1.0);
}

}  // namespace

// The iteration runs on w = tan(phi / 2 + pi / 4), so that phi = 2 atan(w) - pi/2
// as in the published form: the sine of the previous latitude comes from w
// without a sine, and the stop rule |phi1 - phi0| >= 1e-9 is, w being
// positive, |w1 - w0| >= tan(0.5e-9) (1 + w0 w1). One arc tangent at the end
// instead of a sine and an arc tangent per pass.
double LatitudeIsoInverse(double latitudeiso, double e) {
    const double expo = Exp(latitudeiso);
    double w0 = expo;
    double w1 = w0;
    for (int passe = 0; passe < PASSES_MAXIMUM; ++passe) {
        const double esin = e * SinusDemiTangente(w0);
        w1 = Puissance((1.0 + esin) / (1.0 - esin), e / 2.0) * expo;
        if (!(std::fabs(w1 - w0) >= DEMI_SEUIL_ITERATION * (1.0 + w0 * w1))) break;
        w0 = w1;
    }
    return 2.0 * ArcTangente(w1) - PI_SUR_2;
}
