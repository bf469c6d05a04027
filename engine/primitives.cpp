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
    const double sinphi = std::sin(entree.phi);
    const double cosphi = std::cos(entree.phi);
    const double N = DemiGrdAxe / std::sqrt(1.0 - e2 * sinphi * sinphi);
    COORDONNEES_CARTESIENNES sortie;
    sortie.x = (N + h) * cosphi * std::cos(entree.lambda);
    sortie.y = (N + h) * cosphi * std::sin(entree.lambda);
    sortie.z = ((1.0 - e2) * N + h) * sinphi;
    return sortie;
}

COORDONNEES_GEOGRAPHIQUES Cartesienne2Geographique(COORDONNEES_CARTESIENNES entree,
                                                   double DemiGrdAxe, double DemiPetitAxe) {
    const double a2 = DemiGrdAxe * DemiGrdAxe;
    const double e2 = (a2 - DemiPetitAxe * DemiPetitAxe) / a2;
    const double p = std::sqrt(entree.x * entree.x + entree.y * entree.y);
    COORDONNEES_GEOGRAPHIQUES sortie;
    // Half-angle form: east positive in (-pi, pi) with the one-argument arc tangent.
    sortie.lambda = 2.0 * std::atan(entree.y / (entree.x + p));

    double phi0 = std::atan((entree.z / p) / (1.0 - e2));
    double phi1 = phi0;
    for (int passe = 0; passe < PASSES_MAXIMUM; ++passe) {
        const double sinphi = std::sin(phi0);
        phi1 = std::atan(entree.z / (p - DemiGrdAxe * e2 * std::cos(phi0) /
                                               std::sqrt(1.0 - e2 * sinphi * sinphi)));
        // Written so that a NaN change ends the loop too.
        if (!(std::fabs(phi0 - phi1) >= SEUIL_ITERATION)) break;
        phi0 = phi1;
    }
    sortie.phi = phi1;
    return sortie;
}

double LatitudeIsoInverse(double latitudeiso, double e) {
    const double expo = std::exp(latitudeiso);
    double phi0 = 2.0 * std::atan(expo) - PI_SUR_2;
    double phi1 = phi0;
    for (int passe = 0; passe < PASSES_MAXIMUM; ++passe) {
        const double esin = e * std::sin(phi0);
        phi1 = 2.0 * std::atan(std::pow((1.0 + esin) / (1.0 - esin), e / 2.0) * expo) - PI_SUR_2;
        if (!(std::fabs(phi0 - phi1) >= SEUIL_ITERATION)) break;
        phi0 = phi1;
    }
    return phi1;
}
