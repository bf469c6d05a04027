// The geodetic primitives for one point: the templates of primitives.h on
// doubles.
#include "interne.h"
#include "primitives.h"

COORDONNEES_CARTESIENNES Geographique2Cartesienne(COORDONNEES_GEOGRAPHIQUES entree,
                                                  double DemiGrdAxe, double DemiPetitAxe) {
    COORDONNEES_CARTESIENNES sortie;
    primitives::Geographique2Cartesienne(entree.lambda, entree.phi, DemiGrdAxe, DemiPetitAxe, &sortie.x, &sortie.y,
                                         &sortie.z);
    return sortie;
}

COORDONNEES_GEOGRAPHIQUES Cartesienne2Geographique(COORDONNEES_CARTESIENNES entree,
                                                   double DemiGrdAxe, double DemiPetitAxe) {
    COORDONNEES_GEOGRAPHIQUES sortie;
    primitives::Cartesienne2Geographique(entree.x, entree.y, entree.z, DemiGrdAxe, DemiPetitAxe, &sortie.lambda,
                                         &sortie.phi);
    return sortie;
}

double LatitudeIsoInverse(double latitudeiso, double e) { return primitives::LatitudeIsoInverse(latitudeiso, e); }
