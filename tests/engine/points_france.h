// The fixed point set of the engine's benchmarks, of its fingerprint and of its
// comparison with the published formulas: positions spread uniformly over
// mainland France and Corsica, in WGS84 decimal degrees (longitude, latitude).
// The generator is deterministic (splitmix64 from a fixed seed), so every run,
// compiler and machine gets the same points.
#ifndef GEOKERN_POINTS_FRANCE_H
#define GEOKERN_POINTS_FRANCE_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "geokern2.h"

namespace points_france {

struct Sommet {
    double lon, lat;
};

// Coarse outlines of the mainland and of Corsica (28 and 7 vertices).
inline const std::vector<Sommet>& ContourContinent() {
    static const std::vector<Sommet> c = {
        {-4.6, 48.4}, {-3.0, 48.7}, {-1.6, 48.6}, {-1.2, 49.3}, {0.2, 49.4},  {1.5, 50.0},
        {1.8, 50.9},  {2.6, 51.0},  {4.1, 50.0},  {4.9, 49.8},  {6.4, 49.4},  {8.1, 48.9},
        {7.5, 47.6},  {6.1, 46.3},  {6.9, 45.9},  {6.8, 44.4},  {7.5, 43.8},  {6.2, 43.1},
        {4.6, 43.4},  {3.1, 43.0},  {3.0, 42.5},  {1.7, 42.5},  {-1.6, 43.3}, {-1.3, 44.4},
        {-1.2, 45.7}, {-2.0, 46.8}, {-2.4, 47.3}, {-4.2, 47.8}};
    return c;
}

inline const std::vector<Sommet>& ContourCorse() {
    static const std::vector<Sommet> c = {{8.8, 41.5}, {9.2, 41.4}, {9.5, 42.1}, {9.5, 42.8},
                                          {9.3, 43.0}, {8.6, 42.4}, {8.7, 41.8}};
    return c;
}

// Even-odd ray test.
inline bool DansContour(const std::vector<Sommet>& c, double lon, double lat) {
    bool dedans = false;
    for (std::size_t i = 0, j = c.size() - 1; i < c.size(); j = i++) {
        if ((c[i].lat > lat) != (c[j].lat > lat) &&
            lon < (c[j].lon - c[i].lon) * (lat - c[i].lat) / (c[j].lat - c[i].lat) + c[i].lon)
            dedans = !dedans;
    }
    return dedans;
}

inline std::uint64_t SplitMix64(std::uint64_t& etat) {
    std::uint64_t z = (etat += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// A uniform double in [0, 1) from the top 53 bits.
inline double Uniforme(std::uint64_t& etat) {
    return static_cast<double>(SplitMix64(etat) >> 11) * (1.0 / 9007199254740992.0);
}

// n points in WGS84 degrees, drawn in the box around both outlines and kept
// when inside one of them.
inline std::vector<COORDONNEES_TYPE_NC> PointsFrance(std::size_t n = 100000) {
    std::vector<COORDONNEES_TYPE_NC> points;
    points.reserve(n);
    std::uint64_t etat = 0x6765'6F6B'6572'6E32ull;  // "geokern2"
    while (points.size() < n) {
        const double lon = -4.6 + Uniforme(etat) * (9.5 - -4.6);
        const double lat = 41.4 + Uniforme(etat) * (51.0 - 41.4);
        if (DansContour(ContourContinent(), lon, lat) || DansContour(ContourCorse(), lon, lat))
            points.push_back(COORDONNEES_TYPE_NC{lon, lat});
    }
    return points;
}

}  // namespace points_france

#endif
