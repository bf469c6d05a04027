// The system-to-system transformation over arrays of points: the loop belongs
// to the library, so that callers from other languages cross the boundary once
// per array instead of once per point.
#include "interne.h"

int GEOKERN_APPEL SysCoord2SysCoordTableau(const double* x_lambda, const double* y_phi, double* x_sortie,
                                           double* y_sortie, int n, Liste_SysCoord sysCoordIn,
                                           Liste_SysCoord sysCoordOut) {
    int echecs = 0;
    for (int k = 0; k < n; ++k) {
        const COORDONNEES_TYPE_NC pointIn = {x_lambda[k], y_phi[k]};
        const COORDONNEES_TYPE_NC pointOut = SysCoord2SysCoord(pointIn, sysCoordIn, sysCoordOut);
        if (GeokernEchec(pointOut)) ++echecs;
        x_sortie[k] = pointOut.x_lambda;
        y_sortie[k] = pointOut.y_phi;
    }
    return echecs;
}
