// The engine's numeric constants other than the systems' own (those are in
// catalogue.cpp). Each is the double the computations are defined with.
#ifndef GEOKERN_CONSTANTES_H
#define GEOKERN_CONSTANTES_H

namespace constantes {

// Angle factors: the doubles nearest to pi/180 and 180/pi, and pi/2.
constexpr double DEGRE_EN_RADIAN = 0.017453292519943295;
constexpr double RADIAN_EN_DEGRE = 57.29577951308232;
constexpr double PI_SUR_2 = 1.5707963267948966;
// The same for grads: the doubles nearest to pi/200 and 200/pi.
constexpr double GRADE_EN_RADIAN = 0.015707963267948967;
constexpr double RADIAN_EN_GRADE = 63.66197723675813;

// Stop rule of the two latitude iterations, and a cap on their passes: points
// of the catalogue's area stop after two to four passes; the cap only keeps an
// input that oscillates (near the ellipsoid's centre, say) from hanging.
constexpr double SEUIL_ITERATION = 1e-9;       // also tan(1e-9) as a double
constexpr double DEMI_SEUIL_ITERATION = 5e-10; // tan(0.5e-9) as a double
constexpr int PASSES_MAXIMUM = 100;

// Points that each stage of the dispatcher takes at once: enough for the
// processor to overlap the independent points' computations, few enough for
// the stages' buffers to stay on the stack and in the first-level cache.
constexpr int BLOC_POINTS = 64;

// Marker of a missing value and of the failure pair.
constexpr int MARQUEUR_ABSENT = -9999;
constexpr double ECHEC = -9999.0;  // GEOKERN_ECHEC of the public header

// Geocentric translation NTF -> WGS84 (the approximate one NTF -> RGF93), metres.
constexpr double NTF_TX = -168.0;
constexpr double NTF_TY = -60.0;
constexpr double NTF_TZ = 320.0;

// Geometry of the datum-shift grid GR3DF97A, decimal degrees.
constexpr double GRILLE_LAMBDA_MIN = -5.5;
constexpr double GRILLE_LAMBDA_MAX = 10.0;  // exclusive
constexpr double GRILLE_PHI_MIN = 41.0;
constexpr double GRILLE_PHI_MAX = 52.0;     // exclusive
constexpr double GRILLE_PAS = 0.1;
constexpr int GRILLE_LIGNES = 111;          // records per column (latitudes)

// Rounding of the dispatcher's results: 10^3 for metres, 10^8 for degrees (and grads).
constexpr double ECHELLE_METRES = 1e3;
constexpr double ECHELLE_DEGRES = 1e8;
constexpr double METRES_PAR_TRANSLATION_Y = 1000000.0;

}  // namespace constantes

#endif
