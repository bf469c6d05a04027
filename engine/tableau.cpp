// The system-to-system transformation over arrays of points: the loop belongs
// to the library, so that callers from other languages cross the boundary once
// per array instead of once per point.
#include "constantes.h"
#include "interne.h"

int GEOKERN_APPEL SysCoord2SysCoordTableau(const double* x_lambda, const double* y_phi, double* x_sortie,
                                           double* y_sortie, int n, Liste_SysCoord sysCoordIn,
                                           Liste_SysCoord sysCoordOut) {
    int echecs = 0;
    for (int debut = 0; debut < n;) {
        const int m = n - debut < constantes::BLOC_POINTS ? n - debut : constantes::BLOC_POINTS;
        SysCoord2SysCoordBloc(x_lambda + debut, y_phi + debut, x_sortie + debut, y_sortie + debut, m, sysCoordIn,
                              sysCoordOut);
        for (int k = debut; k < debut + m; ++k)
            if (GeokernEchec({x_sortie[k], y_sortie[k]})) ++echecs;
        debut += m;
    }
    return echecs;
}
