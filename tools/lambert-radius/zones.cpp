// Prints the Lambert zones of the engine's catalogue, one line each: n, C and
// the eccentricity e, to the last bit, for rayons.py.
//   g++ -I../../engine zones.cpp ../../engine/catalogue.cpp -o zones
#include <cstdio>

#include "interne.h"

int main() {
    for (int code = 1; code <= NombreSysCoord(); ++code) {
        const PARAMETRES_SYSTEME_COORDONNNEES zone = ChargeConstantes_SysCoord(static_cast<Liste_SysCoord>(code));
        if (zone.IsProjection == 1) std::printf("%.17g %.17g %.17g\n", zone.n, zone.C, zone.ellipsoide_Excentricite);
    }
    return 0;
}
