#include "MagneticElements.h"

#include <cmath>

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;

}  // namespace

const char* const kszElementNames[kElementWithRatesCount] = {"D",  "I",  "H",  "X",  "Y",  "Z",  "F",
                                                              "dD", "dI", "dH", "dX", "dY", "dZ", "dF"};

bool IsAngleElement(int nIndex) {
    const int nElement = nIndex % kElementCount;
    return nElement == kElementD || nElement == kElementI;
}

void ElementsFromField(const IgrfVector& field, const IgrfVector& rate, double* pdElements) {
    const double dX = field.x, dY = field.y, dZ = field.z;
    const double dH = std::hypot(dX, dY);
    const double dF = std::hypot(dH, dZ);
    // The rates by differentiating H = sqrt(X^2 + Y^2), F = sqrt(H^2 + Z^2),
    // D = atan2(Y, X), I = atan2(Z, H).
    const double dHRate = (dX * rate.x + dY * rate.y) / dH;
    const double dFRate = (dX * rate.x + dY * rate.y + dZ * rate.z) / dF;
    double* e = pdElements;
    e[kElementD] = IgrfDeclination(field);
    e[kElementI] = std::atan2(dZ, dH) * kDegreesPerRadian;
    e[kElementH] = dH;
    e[kElementX] = dX;
    e[kElementY] = dY;
    e[kElementZ] = dZ;
    e[kElementF] = dF;
    double* r = pdElements + kElementCount;
    r[kElementD] = IgrfDeclinationRate(field, rate);
    r[kElementI] = (dH * rate.z - dZ * dHRate) / (dF * dF) * kDegreesPerRadian;
    r[kElementH] = dHRate;
    r[kElementX] = rate.x;
    r[kElementY] = rate.y;
    r[kElementZ] = rate.z;
    r[kElementF] = dFRate;
}

bool ElementUncertainties(const ModelDescription& model, double dH, double* pdUncertainties) {
    if (!model.bHasUncertainty) return false;
    const ModelUncertainty& u = model.uncertainty;
    double* e = pdUncertainties;
    e[kElementD] = std::sqrt(u.dD0 * u.dD0 + (u.dDH / dH) * (u.dDH / dH));
    e[kElementI] = u.dI;
    e[kElementH] = u.dH;
    e[kElementX] = u.dX;
    e[kElementY] = u.dY;
    e[kElementZ] = u.dZ;
    e[kElementF] = u.dF;
    return true;
}

PoleZone PoleZoneOf(double dH) {
    if (dH < kPoleBlackoutH) return kPoleZoneBlackout;
    if (dH < kPoleCautionH) return kPoleZoneCaution;
    return kPoleZoneNone;
}

const char* PoleZoneText(PoleZone eZone) {
    switch (eZone) {
    case kPoleZoneBlackout: return "zone d'incertitude : boussole inutilisable";
    case kPoleZoneCaution: return "p\xC3\xB4le magn\xC3\xA9tique proche : \xC3\xA0 utiliser avec prudence";
    case kPoleZoneNone: break;
    }
    return nullptr;
}
