// The geodetic primitives as templates on the type of their coordinates, a
// double or a pair of doubles (paires.h): geographic <-> geocentric cartesian
// (the IGN's algorithms ALG0009 and ALG0012), the isometric latitude (ALG0001)
// and its inverse (ALG0002). primitives.cpp gives them for one point; the
// dispatcher's stages call them for two points at a time, which get the bits
// each would get alone. An iteration goes on while one of its lanes has not
// stopped; a lane that has keeps its values.
#ifndef GEOKERN_PRIMITIVES_H
#define GEOKERN_PRIMITIVES_H

#include "constantes.h"
#include "elementaires.h"

namespace primitives {

using namespace elementaires;

template <class T>
inline void Geographique2Cartesienne(T lambda, T phi, double DemiGrdAxe, double DemiPetitAxe, T* x, T* y, T* z) {
    const double h = 0.0;
    const double a2 = DemiGrdAxe * DemiGrdAxe;
    const double e2 = (a2 - DemiPetitAxe * DemiPetitAxe) / a2;
    T sinphi, cosphi, sinlambda, coslambda;
    SinCosDeux(phi, lambda, &sinphi, &cosphi, &sinlambda, &coslambda);
    const T N = DemiGrdAxe / Racine(1.0 - e2 * sinphi * sinphi);
    *x = (N + h) * cosphi * coslambda;
    *y = (N + h) * cosphi * sinlambda;
    *z = ((1.0 - e2) * N + h) * sinphi;
}

// The latitude iteration runs on t = tan(phi). A pass needs the sine and the
// cosine of the previous latitude only through
// a e^2 cos(phi) / sqrt(1 - e^2 sin^2(phi)) = a e^2 / sqrt(1 + (1 - e^2) t^2),
// one square root from its tangent; and the latitudes themselves only for the
// stop rule: for 1 + t0 t1 > 0, |atan t1 - atan t0| >= 1e-9 is
// |t1 - t0| >= tan(1e-9) (1 + t0 t1), and tan(1e-9) is 1e-9 as a double. The
// passes are those of the iteration on the angle, without a sine, a cosine
// and an arc tangent per pass. Near the poles t^2 overflows to infinity, and
// the pass gives z / p, its limit.
template <class T>
inline void Cartesienne2Geographique(T x, T y, T z, double DemiGrdAxe, double DemiPetitAxe, T* lambda, T* phi) {
    using namespace constantes;
    const double a2 = DemiGrdAxe * DemiGrdAxe;
    const double e2 = (a2 - DemiPetitAxe * DemiPetitAxe) / a2;
    const double ae2 = DemiGrdAxe * e2;
    const T p = Racine(x * x + y * y);

    T t0 = (z / p) / (1.0 - e2);
    T t1 = t0;
    auto actif = Diffuse<T>(0.0) == Diffuse<T>(0.0);  // every lane
    for (int passe = 0; passe < PASSES_MAXIMUM; ++passe) {
        const T suivant = z / (p - ae2 / Racine(1.0 + (1.0 - e2) * (t0 * t0)));
        t1 = Choix(actif, suivant, t1);
        const T produit = 1.0 + t0 * suivant;
        // A change of a right angle or more (product <= 0) goes on; a NaN ends the loop.
        actif = Et(actif, Ou(produit <= Diffuse<T>(0.0), Abs(suivant - t0) >= SEUIL_ITERATION * produit));
        if (Aucun(actif)) break;
        t0 = Choix(actif, t1, t0);
    }
    // The longitude in half-angle form: east positive in (-pi, pi) with the
    // one-argument arc tangent.
    T demi_lambda;
    ArcTangenteDeux(y / (x + p), t1, &demi_lambda, phi);
    *lambda = 2.0 * demi_lambda;
}

// The isometric latitude on an ellipsoid of eccentricity e, from the sine s
// of the latitude, and from the latitude phi (radians):
// atanh(s) - e atanh(e s), the first as half the logarithm of (1 + s) / (1 - s).
// The second, the ellipsoid's correction, is for e <= 0.1 (every ellipsoid of
// the engine) the odd series u + u^3/3 + ... + u^13/13 of u = e s, whose next
// term is below 10^-15 of it, and then below a tenth of the latitude's last
// bit; a larger e goes through the logarithm.
constexpr double ATANH_SERIE[] = {1.0 / 3, 1.0 / 5, 1.0 / 7, 1.0 / 9, 1.0 / 11, 1.0 / 13};
template <class T>
inline T LatitudeIsoSinus(T s, double e) {
    const T terme = Log((1.0 + s) / (1.0 - s));
    const T u = e * s;
    T correction;
    if (e <= 0.1) {
        // By Horner's scheme: the series is off the logarithm's chain.
        const T z = u * u;
        T somme = Diffuse<T>(ATANH_SERIE[5]);
        for (int i = 4; i >= 0; --i) somme = ATANH_SERIE[i] + z * somme;
        correction = u + u * z * somme;
    } else {
        correction = 0.5 * Log((1.0 + u) / (1.0 - u));
    }
    return 0.5 * terme - e * correction;
}
template <class T>
inline T LatitudeIso(T phi, double e) {
    T s, c;
    SinCos(phi, &s, &c);
    return LatitudeIsoSinus(s, e);
}

// The iteration runs on w = tan(phi / 2 + pi / 4), so that phi = 2 atan(w) - pi/2
// as in the published form: the sine of the previous latitude comes from w
// without a sine, (w^2 - 1) / (w^2 + 1), written with 1 / w^2 above 1 so that
// a large w gives 1 instead of inf / inf; and the stop rule
// |phi1 - phi0| >= 1e-9 is, w being positive, |w1 - w0| >= tan(0.5e-9) (1 + w0 w1).
// One arc tangent at the end instead of a sine and an arc tangent per pass.
template <class T>
inline T LatitudeIsoInverse(T latitudeiso, double e) {
    using namespace constantes;
    const T expo = Exp(latitudeiso);
    T w0 = expo;
    T w1 = w0;
    auto actif = Diffuse<T>(0.0) == Diffuse<T>(0.0);  // every lane
    for (int passe = 0; passe < PASSES_MAXIMUM; ++passe) {
        const auto grand = w0 > Diffuse<T>(1.0);
        const T q = Choix(grand, 1.0 / (w0 * w0), w0 * w0);
        const T sinus = Choix(grand, (1.0 - q) / (1.0 + q), (q - 1.0) / (q + 1.0));
        const T esin = e * sinus;
        const T suivant = Exp((e / 2.0) * Log((1.0 + esin) / (1.0 - esin))) * expo;
        w1 = Choix(actif, suivant, w1);
        actif = Et(actif, Abs(suivant - w0) >= DEMI_SEUIL_ITERATION * (1.0 + w0 * suivant));
        if (Aucun(actif)) break;
        w0 = Choix(actif, w1, w0);
    }
    return 2.0 * ArcTangente(w1) - PI_SUR_2;
}

}  // namespace primitives

#endif
