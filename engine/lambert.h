// The Lambert conformal conic projection from stored constants (n, C, Xs, Ys,
// e, central meridian), after the IGN's ALG0003 (forward) and ALG0004
// (inverse), as templates on a double or a pair of doubles (paires.h):
// lambert.cpp gives them for one point, the dispatcher's stages for two at a
// time, with the same bits. The forward projection takes the radius of the
// parallel from the zone's table (rayons.h) over the latitudes of France.
#ifndef GEOKERN_LAMBERT_H
#define GEOKERN_LAMBERT_H

#include <iterator>

#include "geokern2.h"
#include "primitives.h"
#include "rayons.h"

namespace lambert {

using namespace elementaires;

// The zone's radius table (rayons.h), found by its n, C and e: its index in
// RAYONS, or -1 for another zone. The catalogue's rows hold theirs
// (catalogue.cpp); a record passed by value finds its own.
constexpr int IndiceRayon(const PARAMETRES_SYSTEME_COORDONNNEES& zone) {
    if (zone.IsProjection != 1) return -1;
    for (int k = 0; k < static_cast<int>(std::size(rayons::RAYONS)); ++k) {
        const rayons::RAYON_LAMBERT& table = rayons::RAYONS[k];
        if (table.n == zone.n && table.C == zone.C && table.e == zone.ellipsoide_Excentricite) return k;
    }
    return -1;
}
inline const rayons::RAYON_LAMBERT* TableRayon(int indice) { return indice >= 0 ? &rayons::RAYONS[indice] : nullptr; }

// The radius of the parallel, R = C exp(-n L), L the isometric latitude; the
// sine and cosine of gamma come with phi's, in the lanes of one pair.
template <class T>
inline T RayonFormule(T phi, T gamma, const PARAMETRES_SYSTEME_COORDONNNEES& zone, T* sinus, T* cosinus) {
    T sinphi, cosphi;
    SinCosDeux(phi, gamma, &sinphi, &cosphi, sinus, cosinus);
    const T latitudeIso = primitives::LatitudeIsoSinus(sinphi, zone.ellipsoide_Excentricite);
    return zone.C * Exp(-zone.n * latitudeIso);
}

// The same from the zone's table, for phi = noeud / 128 + d at a node of the
// table: the node's Taylor polynomial in d by Estrin's scheme, its constant
// term in two parts. d is exact, phi and noeud / 128 being within a factor
// of 2 of each other.
template <class T>
inline T RayonTable(const rayons::RAYON_LAMBERT& table, T phi, T noeud) {
    using namespace rayons;
    static_assert(COEFFICIENTS == 8 && NOEUDS <= 64, "the row index below");
    const T d = phi - noeud * 0.0078125;
    // The node's row from the bits of 1.5 * 2^52 + noeud - NOEUD_PREMIER.
    const auto ligne = (Bits(noeud + (coefficients::ARRONDI - NOEUD_PREMIER)) & 63) << 3;
    T c[COEFFICIENTS];
    for (int k = 0; k < COEFFICIENTS; ++k) c[k] = Cherche(table.coefficients + k, ligne);
    const T d2 = d * d;
    const T p = (c[2] + d * c[3]) + d2 * ((c[4] + d * c[5]) + d2 * (c[6] + d * c[7]));
    return c[0] + (c[1] + d * p);
}

// The projection of a point: the radius from the table where the zone has
// one and the latitude is in it (a chain of a dozen operations instead of a
// sine, a logarithm and an exponential), from the formula elsewhere. Lanes on
// both sides of the table's edge take each its own, so that each has the bits
// of its point alone.
template <class T>
inline void Geo2Lambert(T lambda, T phi, const PARAMETRES_SYSTEME_COORDONNNEES& zone,
                        const rayons::RAYON_LAMBERT* table, T* x, T* y) {
    using namespace rayons;
    const T gamma = zone.n * (lambda - zone.LAMBDA_ZERO);
    T R, sinus, cosinus;
    if (table == nullptr) {
        R = RayonFormule(phi, gamma, zone, &sinus, &cosinus);
    } else {
        const T noeud = (phi * 128.0 + coefficients::ARRONDI) - coefficients::ARRONDI;
        const auto dans = Et(noeud >= Diffuse<T>(NOEUD_PREMIER), noeud <= Diffuse<T>(NOEUD_DERNIER));
        if (Tous(dans)) {
            R = RayonTable(*table, phi, noeud);
            SinCos(gamma, &sinus, &cosinus);
        } else {
            R = RayonFormule(phi, gamma, zone, &sinus, &cosinus);
            if (!Aucun(dans))
                R = Choix(dans, RayonTable(*table, phi, Choix(dans, noeud, Diffuse<T>(NOEUD_PREMIER))), R);
        }
    }
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
