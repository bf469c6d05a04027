#include "PointDomain.h"

#include <cmath>

namespace programs {

PointVerdict CheckPoint(bool bGeographic, double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return PointVerdict::kNotFinite;
    if (!bGeographic) return std::hypot(x, y) <= kMaxProjectedMetres ? PointVerdict::kAccepted : PointVerdict::kFarFromOrigin;
    if (!(std::fabs(y) <= kMaxLatitudeDegrees)) return PointVerdict::kLatitudeBeyond90;
    if (!(std::fabs(x) <= kMaxLongitudeDegrees)) return PointVerdict::kLongitudeBeyond180;
    return PointVerdict::kAccepted;
}

const char* PointVerdictText(PointVerdict eVerdict) {
    switch (eVerdict) {
    case PointVerdict::kLatitudeBeyond90: return "latitude au-delà de ±90°";
    case PointVerdict::kLongitudeBeyond180: return "longitude au-delà de ±180°";
    case PointVerdict::kFarFromOrigin: return "point à plus de 10 000 km de l'origine du système, hors de son domaine";
    case PointVerdict::kNotFinite: return "nombre non fini";
    case PointVerdict::kAccepted: break;
    }
    return nullptr;
}

}  // namespace programs
