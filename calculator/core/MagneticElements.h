// The seven elements of the magnetic field and their instantaneous rates, in
// NOAA's order, from the field vector and its rate; the uncertainty a model's
// makers publish for them; and the zones near the magnetic poles where a
// compass is of little or no use.
#ifndef NORVANE_MAGNETICELEMENTS_H
#define NORVANE_MAGNETICELEMENTS_H

#include "Igrf.h"
#include "ModelTable.h"

// D, I, H, X, Y, Z, F, then dD, dI, dH, dX, dY, dZ, dF: degrees and nT, then
// degrees and nT per year.
enum MagneticElement {
    kElementD, kElementI, kElementH, kElementX, kElementY, kElementZ, kElementF,
    kElementCount = 7,
    kElementWithRatesCount = 14
};

// "D", "I", ... "dF", by index 0 to 13.
extern const char* const kszElementNames[kElementWithRatesCount];
// Whether element index 0 to 13 is an angle (D, I and their rates).
bool IsAngleElement(int nIndex);

// The fourteen values from the field and its rate (geodetic frame).
void ElementsFromField(const IgrfVector& field, const IgrfVector& rate, double* pdElements);

// The model's uncertainty of the seven elements at a horizontal intensity
// dH (nT); false when the model publishes none.
bool ElementUncertainties(const ModelDescription& model, double dH, double* pdUncertainties);

// The zones near the magnetic poles, by the horizontal intensity: its bounds
// in nT (the WMM technical report's caution and blackout zones).
constexpr double kPoleCautionH = 6000.0;
constexpr double kPoleBlackoutH = 2000.0;
enum PoleZone {
    kPoleZoneNone = 0,     // H at least 6000 nT
    kPoleZoneCaution = 1,  // H below 6000 nT: use with caution
    kPoleZoneBlackout = 2  // H below 2000 nT: the compass is unreliable
};
PoleZone PoleZoneOf(double dH);
// The zone in words (UTF-8), nullptr for kPoleZoneNone.
const char* PoleZoneText(PoleZone eZone);

#endif
