// The embedded NTF -> RGF93 datum-shift grid GR3DF97A: the cell of a position
// and the node lookup. The node array is read in place through lpGrille_IGN()
// (ressource_windows.cpp, ressource_posix.cpp).
#include "constantes.h"
#include "interne.h"

using namespace constantes;

bool CelluleGrille(double lambda, double phi, int* n_colonne, int* n_ligne) {
    // Lower bounds inclusive, upper exclusive. Written as four comparisons that
    // must all hold, so that a NaN in either coordinate is outside.
    if (!(lambda >= GRILLE_LAMBDA_MIN && lambda < GRILLE_LAMBDA_MAX && phi >= GRILLE_PHI_MIN &&
          phi < GRILLE_PHI_MAX))
        return false;
    *n_colonne = static_cast<int>(TronqueReel((lambda - GRILLE_LAMBDA_MIN) / GRILLE_PAS));
    *n_ligne = static_cast<int>(TronqueReel((phi - GRILLE_PHI_MIN) / GRILLE_PAS));
    return true;
}

LIGNE_GRILLE_GR3DF97A GEOKERN_APPEL LectureGrille_GR3DF97A(double lambda, double phi) {
    int n_colonne, n_ligne;
    if (!CelluleGrille(lambda, phi, &n_colonne, &n_ligne)) {
        LIGNE_GRILLE_GR3DF97A HorsGrille_IGN = {0.0, 0.0, 0.0, MARQUEUR_ABSENT};
        return HorsGrille_IGN;
    }
    // The node north of the cell's south-west corner.
    const int indice = n_colonne * GRILLE_LIGNES + n_ligne + 1;
    return lpGrille_IGN()[indice];
}
