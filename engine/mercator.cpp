// Transverse Mercator projection by Krueger's series to order six in the third
// flattening n, after C. F. F. Karney, "Transverse Mercator with an accuracy of
// a few nanometers", J. Geodesy 85 (2011) 475-485: the conformal latitude
// (eqs. 7-9), the spherical transverse Mercator (eqs. 10-11), the series
// alpha (eq. 35) forward and beta (eq. 36) back, the rectifying radius A
// (eq. 14), and Newton's iteration for the latitude from the conformal one
// (eqs. 19-21).
//
// Karney shows the six-term series within 5 nm of the exact projection up to
// 3,900 km from the central meridian: the UTM zones hold to far better than
// the millimetre in their 3-degree half width, and beyond 6 degrees (a zone's
// neighbours) the results are still the exact projection's, the scale growing
// as 1/cos of the angular distance. 90 degrees and more from the central
// meridian the projection does not exist: such a point gives the failure pair.
#include <cmath>

#include "constantes.h"
#include "interne.h"

using namespace constantes;

namespace {

const int ORDRE = 6;

struct SERIES {
    double A;                // rectifying radius times the scale factor, metres
    double alpha[ORDRE + 1]; // alpha[j], j = 1 ... 6
    double beta[ORDRE + 1];
};

// The coefficients of the ellipsoid of flattening f (Karney, eqs. 14, 35, 36).
SERIES Series(const PARAMETRES_SYSTEME_COORDONNNEES& zone) {
    const double f = zone.ellipsoide_Aplatissement;
    const double n = f / (2.0 - f);
    const double n2 = n * n, n3 = n2 * n, n4 = n3 * n, n5 = n4 * n, n6 = n5 * n;
    SERIES s;
    s.A = zone.C * zone.ellipsoide_DemiGrdAxe / (1.0 + n) * (1.0 + n2 / 4.0 + n4 / 64.0 + n6 / 256.0);
    s.alpha[0] = s.beta[0] = 0.0;
    s.alpha[1] = n / 2 - 2.0 / 3 * n2 + 5.0 / 16 * n3 + 41.0 / 180 * n4 - 127.0 / 288 * n5 + 7891.0 / 37800 * n6;
    s.alpha[2] = 13.0 / 48 * n2 - 3.0 / 5 * n3 + 557.0 / 1440 * n4 + 281.0 / 630 * n5 - 1983433.0 / 1935360 * n6;
    s.alpha[3] = 61.0 / 240 * n3 - 103.0 / 140 * n4 + 15061.0 / 26880 * n5 + 167603.0 / 181440 * n6;
    s.alpha[4] = 49561.0 / 161280 * n4 - 179.0 / 168 * n5 + 6601661.0 / 7257600 * n6;
    s.alpha[5] = 34729.0 / 80640 * n5 - 3418889.0 / 1995840 * n6;
    s.alpha[6] = 212378941.0 / 319334400 * n6;
    s.beta[1] = n / 2 - 2.0 / 3 * n2 + 37.0 / 96 * n3 - 1.0 / 360 * n4 - 81.0 / 512 * n5 + 96199.0 / 604800 * n6;
    s.beta[2] = 1.0 / 48 * n2 + 1.0 / 15 * n3 - 437.0 / 1440 * n4 + 46.0 / 105 * n5 - 1118711.0 / 3870720 * n6;
    s.beta[3] = 17.0 / 480 * n3 - 37.0 / 840 * n4 - 209.0 / 4480 * n5 + 5569.0 / 90720 * n6;
    s.beta[4] = 4397.0 / 161280 * n4 - 11.0 / 504 * n5 - 830251.0 / 7257600 * n6;
    s.beta[5] = 4583.0 / 161280 * n5 - 108847.0 / 3991680 * n6;
    s.beta[6] = 20648693.0 / 638668800 * n6;
    return s;
}

// tau' = tan of the conformal latitude from tau = tan phi (Karney, eqs. 7-9).
double TauConforme(double tau, double e) {
    const double sigma = elementaires::Sinh(e * elementaires::Atanh(e * tau / std::sqrt(1.0 + tau * tau)));
    return tau * std::sqrt(1.0 + sigma * sigma) - sigma * std::sqrt(1.0 + tau * tau);
}

}  // namespace

COORDONNEES_PLANES Geo2Mercator(const COORDONNEES_GEOGRAPHIQUES& entree, const PARAMETRES_SYSTEME_COORDONNNEES& zone) {
    const double lambda = entree.lambda - zone.LAMBDA_ZERO;
    const double coslambda = Cos(lambda);
    if (!(coslambda > 0.0) || !(std::fabs(entree.phi) < PI_SUR_2)) return {ECHEC, ECHEC};
    const SERIES s = Series(zone);
    // The sphere's transverse Mercator of the conformal latitude (eqs. 10-11):
    // xi' = atan2(tau', cos lambda), eta' = asinh(sin lambda / hypot(tau', cos lambda)).
    const double tauPrime = TauConforme(elementaires::Tan(entree.phi), zone.ellipsoide_Excentricite);
    const double xiPrime = ArcTangente(tauPrime / coslambda);
    const double etaPrime = elementaires::Asinh(Sin(lambda) / std::sqrt(tauPrime * tauPrime + coslambda * coslambda));
    // Krueger's series (eq. 35 in eqs. 11-12).
    double xi = xiPrime, eta = etaPrime;
    for (int j = 1; j <= ORDRE; ++j) {
        double sinus, cosinus;
        SinCos(2 * j * xiPrime, &sinus, &cosinus);
        xi += s.alpha[j] * sinus * elementaires::Cosh(2 * j * etaPrime);
        eta += s.alpha[j] * cosinus * elementaires::Sinh(2 * j * etaPrime);
    }
    return {zone.Xs + s.A * eta, zone.Ys + s.A * xi};
}

COORDONNEES_GEOGRAPHIQUES Mercator2Geo(const COORDONNEES_PLANES& entree, const PARAMETRES_SYSTEME_COORDONNNEES& zone) {
    const SERIES s = Series(zone);
    const double xi = (entree.y - zone.Ys) / s.A;
    const double eta = (entree.x - zone.Xs) / s.A;
    // The inverse series (eq. 36).
    double xiPrime = xi, etaPrime = eta;
    for (int j = 1; j <= ORDRE; ++j) {
        double sinus, cosinus;
        SinCos(2 * j * xi, &sinus, &cosinus);
        xiPrime -= s.beta[j] * sinus * elementaires::Cosh(2 * j * eta);
        etaPrime -= s.beta[j] * cosinus * elementaires::Sinh(2 * j * eta);
    }
    const double cosxi = Cos(xiPrime), sinheta = elementaires::Sinh(etaPrime);
    if (!(cosxi > 0.0)) return {ECHEC, ECHEC};  // the poles and beyond
    // The sphere's inverse (eq. 18): tau' and lambda, cos xi' > 0 here.
    const double tauPrime = Sin(xiPrime) / std::sqrt(sinheta * sinheta + cosxi * cosxi);
    const double lambda = ArcTangente(sinheta / cosxi);
    // Newton's iteration for tau (eqs. 19-21), from tau'; two or three passes
    // reach the last bit.
    const double e = zone.ellipsoide_Excentricite, e2m = 1.0 - e * e;
    double tau = tauPrime;
    for (int passe = 0; passe < PASSES_MAXIMUM; ++passe) {
        const double tauPrimeI = TauConforme(tau, e);
        const double dtau = (tauPrime - tauPrimeI) / std::sqrt(1.0 + tauPrimeI * tauPrimeI) *
                            (1.0 + e2m * tau * tau) / (e2m * std::sqrt(1.0 + tau * tau));
        tau += dtau;
        if (!(std::fabs(dtau) >= SEUIL_ITERATION * 1e-6 * std::fmax(1.0, std::fabs(tau)))) break;
    }
    return {zone.LAMBDA_ZERO + lambda, ArcTangente(tau)};
}
