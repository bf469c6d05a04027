// Internal declarations of the engine: the catalogue, the geodetic primitives,
// the grid's node array and the text parser. Nothing here is exported.
#ifndef GEOKERN_INTERNE_H
#define GEOKERN_INTERNE_H

#include "geokern2.h"

// Catalogue (catalogue.cpp)
PARAMETRES_SYSTEME_COORDONNNEES ChargeConstantes_SysCoord(Liste_SysCoord sysCoord);

// Geodetic primitives (primitives.cpp)
double degre2radian(double AngleDeg);
double radian2degre(double AngleRad);
double TronqueReel(double reel);
double ArrondiReel(double reel);
COORDONNEES_CARTESIENNES Geographique2Cartesienne(COORDONNEES_GEOGRAPHIQUES entree,
                                                  double DemiGrdAxe, double DemiPetitAxe);
COORDONNEES_GEOGRAPHIQUES Cartesienne2Geographique(COORDONNEES_CARTESIENNES entree,
                                                   double DemiGrdAxe, double DemiPetitAxe);
double LatitudeIsoInverse(double latitudeiso, double e);

// The embedded datum-shift grid (grille.cpp): the node array, read in place.
const LIGNE_GRILLE_GR3DF97A* lpGrille_IGN();

// Text parser (texte.cpp)
COORDONNEES_TYPE_NC AvPoint2CoordPlanes(const char* entree);

#endif
