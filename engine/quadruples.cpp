// The dispatcher's stages four points at a time, for processors with AVX2:
// this file alone is compiled for AVX2 (the others for the architecture's
// baseline, SSE2 on x86-64), and the dispatcher comes here only where the
// processor has it. The same templates as the pairs' (blocs.h), lane by lane
// the same operations: the same bits as every other path.
#include "blocs.h"

bool QuadruplesDisponibles() { return __builtin_cpu_supports("avx2"); }

void SysCoord2SysCoordQuadruples(const double* x_lambda, const double* y_phi, double* x_sortie, double* y_sortie,
                                 int m, Liste_SysCoord sysCoordIn, Liste_SysCoord sysCoordOut) {
    blocs::SysCoord2SysCoordBlocT<elementaires::Quadruple>(x_lambda, y_phi, x_sortie, y_sortie, m, sysCoordIn,
                                                           sysCoordOut);
}
