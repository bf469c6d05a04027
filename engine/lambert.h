// The Lambert conformal conic projection from stored constants (n, C, Xs, Ys,
// e, central meridian), after the IGN's ALG0003 (forward) and ALG0004
// (inverse), as templates on a double or a pair of doubles (paires.h):
// lambert.cpp gives them for one point, the dispatcher's stages for two at a
// time, with the same bits.
#ifndef GEOKERN_LAMBERT_H
#define GEOKERN_LAMBERT_H

#include "geokern2.h"
#include "primitives.h"

namespace lambert {

using namespace elementaires;

template <class T>
inline void Geo2Lambert(T lambda, T phi, const PARAMETRES_SYSTEME_COORDONNNEES& zone, T* x, T* y) {
    const T gamma = zone.n * (lambda - zone.LAMBDA_ZERO);
    T sinphi, cosphi, sinus, cosinus;
    SinCosDeux(phi, gamma, &sinphi, &cosphi, &sinus, &cosinus);
    #if defined(ESSAI_SANS_LOG)
    const T latitudeIso = sinphi*1.1;
#else
    const T latitudeIso = primitives::LatitudeIsoSinus(sinphi, zone.ellipsoide_Excentricite);
#endif
    #if defined(ESSAI_SANS_EXP)
    const T R = zone.C * (-zone.n * latitudeIso);
#else
    const T R = zone.C * Exp(-zone.n * latitudeIso);
#endif
    *x = zone.Xs + R * sinus;
    *y = zone.Ys - R * cosinus;
}

// The polar coordinates of a plane point about the projection's pole: the
// distance R and the angle gamma from the central meridian, with the
// one-argument arc tangent (ALG0004, steps 1 and 2).
template <class T>
inline void CoordonneesPolaires(T x, T y, const PARAMETRES_SYSTEME_COORDONNNEES& zone, T* R, T* gamma) {
    const T dx = x - zone.Xs;
    const T dy = y - zone.Ys;
    *R = Racine(dx * dx + dy * dy);
    *gamma = ArcTangente(dx / (zone.Ys - y));
}

template <class T>
inline void Lambert2Geo(T x, T y, const PARAMETRES_SYSTEME_COORDONNNEES& zone, T* lambda, T* phi) {
    T R, gamma;
    CoordonneesPolaires(x, y, zone, &R, &gamma);
    const T latitudeIso = (-1.0 / zone.n) * Log(Abs(R / zone.C));
    *lambda = zone.LAMBDA_ZERO + gamma / zone.n;
    *phi = primitives::LatitudeIsoInverse(latitudeIso, zone.ellipsoide_Excentricite);
}

}  // namespace lambert

#endif
