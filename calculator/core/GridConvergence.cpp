// The meridians of a Lambert conformal conic projection are straight lines
// through the apex of the cone, so two points of the place's meridian, put
// through the engine's Lambert 93, give the direction of true north on the
// grid exactly, whatever their distance; 2 degrees (222 km) apart, the
// millimetre rounding of the engine's results moves it by at most 3e-7
// degree. The projection's constants stay in the engine's catalogue.
#include "GridConvergence.h"

#include <cmath>

namespace {

constexpr double kHalfSpanDegrees = 1.0;  // the two points: 1 degree south and north of the place
constexpr double kDegreesPerRadian = 57.295779513082320876;

}  // namespace

bool Lambert93Convergence(COORDONNEES_TYPE_NC point, Liste_SysCoord eSystem, PFN_SysCoord2SysCoord pfnTransform,
                          double* pdDegrees) {
    if (pfnTransform == nullptr) return false;
    const COORDONNEES_TYPE_NC geographic = pfnTransform(point, eSystem, RGF93GG);
    if (GeokernEchec(geographic) || !std::isfinite(geographic.x_lambda) || !std::isfinite(geographic.y_phi)) return false;
    const COORDONNEES_TYPE_NC south =
        pfnTransform({geographic.x_lambda, geographic.y_phi - kHalfSpanDegrees}, RGF93GG, RGF93L93);
    const COORDONNEES_TYPE_NC north =
        pfnTransform({geographic.x_lambda, geographic.y_phi + kHalfSpanDegrees}, RGF93GG, RGF93L93);
    if (GeokernEchec(south) || GeokernEchec(north)) return false;
    // True north on the grid points along (dx, dy); grid north is that
    // direction turned back by its angle east of the grid's y axis.
    const double dEast = north.x_lambda - south.x_lambda;
    const double dNorth = north.y_phi - south.y_phi;
    if (!std::isfinite(dEast) || !std::isfinite(dNorth) || !(dNorth > 0.0)) return false;
    *pdDegrees = -std::atan2(dEast, dNorth) * kDegreesPerRadian;
    return true;
}
