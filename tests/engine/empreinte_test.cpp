// The engine's fingerprint: its results for all 12 x 12 pairs of systems on the
// benchmark's 100,000 points, from the library as built (the deliverable, with
// its optimisations). The engine computes with its own elementary functions
// and IEEE arithmetic only, so every build on every machine gives the same
// bits: one hash of the results holds for Linux (x86-64 and i386), both
// Windows DLLs and WebAssembly. And the array export gives, to the bit, what
// the point export gives.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "geokern2.h"
#include "points_france.h"

namespace {

const int NOMBRE_SYSTEMES = 12;
const int ECARTS_DECRITS = 10;  // the differences spelled out; the others are counted

bool MemesOctets(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// One pair's results over every point, as the array export or the point
// export gives them.
struct Resultats {
    std::vector<double> x, y;
};

// The differences found between two sets of results, the first few described
// with their pair, their point and their size.
class Ecarts {
public:
    explicit Ecarts(const char* nomA, const char* nomB) : nomA_(nomA), nomB_(nomB) {}

    void Compare(const std::vector<COORDONNEES_TYPE_NC>& wgs84, int in, int out, const Resultats& a,
                 const Resultats& b) {
        for (std::size_t k = 0; k < wgs84.size(); ++k) {
            if (MemesOctets(a.x[k], b.x[k]) && MemesOctets(a.y[k], b.y[k])) continue;
            if (++nombre_ > ECARTS_DECRITS) continue;
            char ligne[400];
            std::snprintf(ligne, sizeof ligne,
                          "%d -> %d, point %zu (WGS84 %.7f %.7f): %s (%.17g, %.17g), %s (%.17g, %.17g), "
                          "apart by %.3g and %.3g\n",
                          in, out, k, wgs84[k].x_lambda, wgs84[k].y_phi, nomA_, a.x[k], a.y[k], nomB_, b.x[k],
                          b.y[k], std::fabs(a.x[k] - b.x[k]), std::fabs(a.y[k] - b.y[k]));
            description_ += ligne;
        }
    }

    void Verifie() const {
        EXPECT_EQ(nombre_, 0) << nombre_ << " results differ between " << nomA_ << " and " << nomB_
                              << ", the first ones:\n"
                              << description_;
    }

private:
    const char* nomA_;
    const char* nomB_;
    long nombre_ = 0;
    std::string description_;
};

// 64-bit FNV-1a over the results as raw doubles, pair after pair in the order
// (1, 1), (1, 2), ..., (12, 12), point after point within a pair.
class Empreinte {
public:
    void Ajoute(const Resultats& r) {
        for (std::size_t k = 0; k < r.x.size(); ++k)
            for (double v : {r.x[k], r.y[k]}) {
                unsigned char octets[sizeof v];
                std::memcpy(octets, &v, sizeof v);
                for (unsigned char o : octets) hash_ = (hash_ ^ o) * 0x100000001b3ull;
            }
    }
    unsigned long long Valeur() const { return hash_; }

private:
    std::uint64_t hash_ = 0xcbf29ce484222325ull;
};

// The hash of the results on every build. A change of the engine's arithmetic
// changes it: the new value is printed by the failing test, and it must be
// the same in every preset before it replaces this one.
const unsigned long long EMPREINTE = 0xdf17a003de6c3455ull;

TEST(Fingerprint, AllPairsOnTheBenchmarkPoints) {
    const std::vector<COORDONNEES_TYPE_NC> wgs84 = points_france::PointsFrance(100000);
    const int n = static_cast<int>(wgs84.size());
    Ecarts tableauPoint("the array export", "the point export");
    Empreinte empreinte;
    for (int in = 1; in <= NOMBRE_SYSTEMES; ++in) {
        const auto sIn = static_cast<Liste_SysCoord>(in);
        std::vector<COORDONNEES_TYPE_NC> entree(wgs84.size());
        for (int k = 0; k < n; ++k) entree[k] = SysCoord2SysCoord(wgs84[k], WGS84GG, sIn);
        for (int out = 1; out <= NOMBRE_SYSTEMES; ++out) {
            const auto sOut = static_cast<Liste_SysCoord>(out);
            Resultats point{std::vector<double>(n), std::vector<double>(n)};
            Resultats tableau = point;
            for (int k = 0; k < n; ++k) {
                const COORDONNEES_TYPE_NC r = SysCoord2SysCoord(entree[k], sIn, sOut);
                point.x[k] = r.x_lambda;
                point.y[k] = r.y_phi;
                tableau.x[k] = entree[k].x_lambda;
                tableau.y[k] = entree[k].y_phi;
            }
            SysCoord2SysCoordTableau(tableau.x.data(), tableau.y.data(), tableau.x.data(), tableau.y.data(), n, sIn,
                                     sOut);
            tableauPoint.Compare(wgs84, in, out, tableau, point);
            empreinte.Ajoute(point);
        }
    }
    tableauPoint.Verifie();
    std::printf("fingerprint of this build: %016llx\n", empreinte.Valeur());
    EXPECT_EQ(empreinte.Valeur(), EMPREINTE) << std::hex << "fingerprint " << empreinte.Valeur() << ", expected "
                                             << EMPREINTE;
}

}  // namespace
