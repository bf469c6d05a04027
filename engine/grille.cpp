// The embedded NTF -> RGF93 datum-shift grid GR3DF97A: its location at load and
// the node lookup. The node array is the resource itself, read in place.
#include "constantes.h"
#include "interne.h"
#include "ressource.h"

using namespace constantes;

HMODULE hmoduledll = nullptr;
HRSRC rsrc = nullptr;
HGLOBAL glbmem = nullptr;

// Called on every notification; the result counts at process attach, where 0
// makes the library fail to load. Nothing is released at detach.
extern "C" BOOL WINAPI DllEntryPoint(HINSTANCE hinstDLL, DWORD fdwReason, LPVOID lpvReserved) {
    (void)fdwReason;
    (void)lpvReserved;
    hmoduledll = hinstDLL;
    rsrc = FindResourceA(hmoduledll, "GR3DF97A", RT_RCDATA);
    if (rsrc == nullptr) return 0;
    glbmem = LoadResource(hmoduledll, rsrc);
    return glbmem != nullptr ? 1 : 0;
}

#ifdef _WIN32
// The C runtime's start-up code calls DllMain once it has initialised itself.
extern "C" BOOL WINAPI DllMain(HINSTANCE hinstDLL, DWORD fdwReason, LPVOID lpvReserved) {
    return DllEntryPoint(hinstDLL, fdwReason, lpvReserved);
}
#endif

const LIGNE_GRILLE_GR3DF97A* lpGrille_IGN() {
    return static_cast<const LIGNE_GRILLE_GR3DF97A*>(LockResource(glbmem));
}

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
