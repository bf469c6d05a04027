// The system-to-system transformation: units and carto offsets at the boundary,
// then projection, datum change and rounding chained as the pair of systems
// needs, over blocks of points (one point is a block of one).
#include "blocs.h"
#include "constantes.h"
#include "interne.h"

// Four lanes where the processor has AVX2 (quadruples.cpp).
bool QuadruplesDisponibles();
void SysCoord2SysCoordQuadruples(const double* x_lambda, const double* y_phi, double* x_sortie, double* y_sortie,
                                 int m, Liste_SysCoord sysCoordIn, Liste_SysCoord sysCoordOut);

void SysCoord2SysCoordBloc(const double* x_lambda, const double* y_phi, double* x_sortie, double* y_sortie, int m,
                           Liste_SysCoord sysCoordIn, Liste_SysCoord sysCoordOut) {
#ifdef GEOKERN_QUADRUPLES
    if (m >= 4 && QuadruplesDisponibles()) {
        SysCoord2SysCoordQuadruples(x_lambda, y_phi, x_sortie, y_sortie, m, sysCoordIn, sysCoordOut);
        return;
    }
#endif
    blocs::SysCoord2SysCoordBlocT<elementaires::Paire>(x_lambda, y_phi, x_sortie, y_sortie, m, sysCoordIn,
                                                       sysCoordOut);
}

COORDONNEES_TYPE_NC GEOKERN_APPEL SysCoord2SysCoord(COORDONNEES_TYPE_NC pointInPrm, Liste_SysCoord sysCoordIn,
                                                    Liste_SysCoord sysCoordOut) {
    COORDONNEES_TYPE_NC pointOut;
    SysCoord2SysCoordBloc(&pointInPrm.x_lambda, &pointInPrm.y_phi, &pointOut.x_lambda, &pointOut.y_phi, 1,
                          sysCoordIn, sysCoordOut);
    return pointOut;
}
