// The fast engine against the published formulas (reference.cpp): the
// catalogue field by field, the shortcuts against the library functions they
// replace over their whole domain, and every pair of systems on the
// benchmark's points, result by result.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <ostream>
#include <vector>

#include "interne.h"
#include "lambert.h"
#include "points_france.h"
#include "reference.h"

namespace {

bool MemesOctets(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The Lambert radius comes from the zone's table (rayons.h), within a few
// 1e-9 m of the published formula, that formula's own error.
const double SEUIL_FRONTIERE = 1e-5;   // units of the last rounded digit
const double ECART_RAYON = 5e-9;       // metres
const double ECART_PLAN_MAX = 1e-6;    // metres
const double ULP_ITERATIONS = 8.0;

// The conic conformal zones' n, C and Ys against ALG0054 on their defining
// parameters: n to 1e-13, C and Ys to 0.1 mm, the rounding of Lambert 93's
// published C and Ys.
const double ECART_N_ALG0054 = 1e-13;
const double ECART_METRES_ALG0054 = 1e-4;

TEST(Reference, CatalogueRecordsAreThePublishedOnes) {
    for (int code = -1; code <= NombreSysCoord() + 2; ++code) {
        SCOPED_TRACE(code);
        auto attendu = reference::ChargeConstantes_SysCoord(code);
        const auto charge = ChargeConstantes_SysCoord(static_cast<Liste_SysCoord>(code));
        const auto table = *ConstantesSysCoord(static_cast<Liste_SysCoord>(code));
        EXPECT_EQ(charge.Datum, attendu.Datum);
        EXPECT_EQ(table.Datum, attendu.Datum);
        if (attendu.Datum == -9999) continue;  // nothing else is defined
        if (code >= RGF93CC42 && code <= RGF93CC50) {
            EXPECT_NEAR(charge.n, attendu.n, ECART_N_ALG0054);
            EXPECT_NEAR(charge.C, attendu.C, ECART_METRES_ALG0054);
            EXPECT_NEAR(charge.Ys, attendu.Ys, ECART_METRES_ALG0054);
            attendu.n = charge.n, attendu.C = charge.C, attendu.Ys = charge.Ys;
        }
        EXPECT_EQ(std::memcmp(&charge, &attendu, sizeof attendu), 0);
        EXPECT_EQ(std::memcmp(&table, &attendu, sizeof attendu), 0);
    }
}

// Doubles spread over every binade from 2^-1074 to 2^1023 and both signs, the
// integers and half-integers near zero and near 2^52 and 2^63, and the
// special values.
std::vector<double> ToutesGrandeurs() {
    std::vector<double> v = {0.0, 0.5, 1.0, 1.5, 0.3, 2.7, 4503599627370495.5, 4503599627370496.0,
                             4503599627370497.0, 9007199254740993.0, 9223372036854775808.0, 1e19, DBL_MAX,
                             DBL_MIN, 5e-324, std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN()};
    for (double x = 1.0; x < 70000.0; x += 0.25) v.push_back(x);
    for (int k = -1074; k <= 1023; ++k)
        for (double m : {1.0, 1.2345678901234567, 1.5, 1.9999999999999998}) v.push_back(std::ldexp(m, k));
    const std::size_t n = v.size();
    for (std::size_t i = 0; i < n; ++i) {
        v.push_back(-v[i]);
        v.push_back(std::nextafter(v[i], 0.0));
        v.push_back(std::nextafter(v[i], DBL_MAX));
    }
    return v;
}

// floor and ceil by integer conversion: the library's to the bit, sign of
// zero and NaN included, on every magnitude; the engine uses them on grid
// quotients (0 to 155) and on results scaled by 10^3 or 10^8 (up to 2e10).
TEST(Reference, PlancherPlafondAreFloorCeil) {
    for (double x : ToutesGrandeurs()) {
        EXPECT_TRUE(MemesOctets(Plancher(x), std::floor(x)) || (std::isnan(x) && std::isnan(Plancher(x))))
            << x;
        EXPECT_TRUE(MemesOctets(Plafond(x), std::ceil(x)) || (std::isnan(x) && std::isnan(Plafond(x)))) << x;
    }
}

double Ulp(double x) { return std::nextafter(std::fabs(x), DBL_MAX) - std::fabs(x); }

// Every point of the benchmark set on native x86-64 builds; every 50th under
// the address sanitizer and on 32-bit x86, whose tests run under qemu-i386:
// there a call costs ten to thirty times more, and 2,000 points still reach
// every pair, every route and hundreds of grid cells.
#if defined(__SANITIZE_ADDRESS__) || defined(__i386__) || defined(_M_IX86)
#define GEOKERN_ECHANTILLON 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define GEOKERN_ECHANTILLON 1
#endif
#endif
#ifdef GEOKERN_ECHANTILLON
const std::size_t PAS_POINTS = 50;
#else
const std::size_t PAS_POINTS = 1;
#endif

// The two latitude iterations on tangents against the published iterations on
// the latitude, on every ellipsoid, at the positions of the benchmark points
// and at the cartesian points the datum change makes of them (some hundreds of
// metres off the ellipsoid): the same latitude to a few units in the last place.
TEST(Reference, LatitudeIterations) {
    const std::vector<COORDONNEES_TYPE_NC> points = points_france::PointsFrance(100000);
    double ecartMax = 0.0;  // units in the last place
    auto Compare = [&ecartMax](double moteur, double attendu, const char* quoi, std::size_t k) {
        const double ecart = std::fabs(moteur - attendu) / Ulp(attendu);
        ecartMax = std::fmax(ecartMax, ecart);
        EXPECT_LE(ecart, ULP_ITERATIONS) << quoi << " at point " << k << ": " << moteur << " against " << attendu;
    };
    for (int code : {NTFGG, WGS84GG, RGF93GG}) {
        const auto z = reference::ChargeConstantes_SysCoord(code);
        const double a = z.ellipsoide_DemiGrdAxe, b = z.ellipsoide_DemiPetitAxe, e = z.ellipsoide_Excentricite;
        for (std::size_t k = 0; k < points.size(); k += 10 * PAS_POINTS) {
            const COORDONNEES_GEOGRAPHIQUES g = {reference::degre2radian(points[k].x_lambda),
                                                 reference::degre2radian(points[k].y_phi)};
            COORDONNEES_CARTESIENNES c = reference::Geographique2Cartesienne(g, a, b);
            c.x -= 168.0; c.y -= 60.0; c.z += 320.0;
            const auto moteur = Cartesienne2Geographique(c, a, b), attendu = reference::Cartesienne2Geographique(c, a, b);
            Compare(moteur.lambda, attendu.lambda, "Cartesienne2Geographique, lambda", k);
            Compare(moteur.phi, attendu.phi, "Cartesienne2Geographique, phi", k);
            const double L = LatitudeIso(g.phi, e);
            Compare(LatitudeIsoInverse(L, e), reference::LatitudeIsoInverse(L, e), "LatitudeIsoInverse", k);
        }
    }
    std::printf("latitude iterations: at most %.1f units in the last place from the published ones\n", ecartMax);
}

// Every Lambert zone's radius table against the formula it replaces, over
// the table's latitudes and their edges; and lanes on both sides of an edge,
// in the array export, give what each point gives alone.
TEST(Reference, LambertRadiusTablesHoldTheFormula) {
    using namespace rayons;
    const double premier = (NOEUD_PREMIER - 0.5) / 128, dernier = (NOEUD_DERNIER + 0.5) / 128;
    double ecartTotal = 0.0;
    for (int code = 1; code <= NombreSysCoord(); ++code) {
        const PARAMETRES_SYSTEME_COORDONNNEES zone = ChargeConstantes_SysCoord(static_cast<Liste_SysCoord>(code));
        if (zone.IsProjection != 1) continue;
        SCOPED_TRACE(code);
        const RAYON_LAMBERT* table = lambert::TableRayon(lambert::IndiceRayon(zone));
        ASSERT_NE(table, nullptr) << "no radius table: run tools/lambert-radius/rayons.py";
        double ecartMax = 0.0;
        for (int i = 0; i <= 20000; ++i) {
            const double phi = i == 0       ? std::nextafter(premier, 1.0)
                               : i == 20000 ? std::nextafter(dernier, 0.0)
                                            : premier + (dernier - premier) * i / 20000;
            const double noeud = std::nearbyint(phi * 128);
            double sinus, cosinus;
            const double formule = lambert::RayonFormule(phi, 0.0, zone, &sinus, &cosinus);
            ecartMax = std::fmax(ecartMax, std::fabs(lambert::RayonTable(*table, phi, noeud) - formule));
        }
        EXPECT_LE(ecartMax, ECART_RAYON);
        ecartTotal = std::fmax(ecartTotal, ecartMax);
    }
    std::printf("radius tables: at most %.3g m from the formula\n", ecartTotal);
    std::vector<double> x, y;
    for (int k = 0; k < 256; ++k) {
        x.push_back(2.0 + k * 0.01);
        y.push_back((k * 7) % 3 == 0 ? 60.0 + k * 0.01 : 45.0 + k * 0.01);
    }
    std::vector<double> xs(x.size()), ys(y.size());
    SysCoord2SysCoordTableau(x.data(), y.data(), xs.data(), ys.data(), static_cast<int>(x.size()), RGF93GG, RGF93L93);
    for (std::size_t k = 0; k < x.size(); ++k) {
        const COORDONNEES_TYPE_NC p = SysCoord2SysCoord({x[k], y[k]}, RGF93GG, RGF93L93);
        EXPECT_TRUE(MemesOctets(p.x_lambda, xs[k]) && MemesOctets(p.y_phi, ys[k])) << k;
    }
}

// What the comparison found.
struct Bilan {
    long resultats = 0;
    long arrondis = 0;          // rounded coordinates compared
    long uneUnite = 0;          // of which one unit of the last digit apart
    double distanceMax = 0.0;   // the farthest such reference value from its rounding boundary, in units
    double ecartPlanMax = 0.0;  // NTF plane to plane (not rounded), metres
};

struct Cas {
    std::size_t point;
    int in, out;
};

std::ostream& operator<<(std::ostream& flux, const Cas& c) {
    return flux << "point " << c.point << ", " << c.in << " -> " << c.out;
}

// One coordinate of a rounded result: equal, or one unit apart with the
// reference's own unrounded value at the rounding boundary (k + 1/2 units).
void CompareArrondi(double moteur, double attendu, double brut, double echelle, const Cas& cas, Bilan* bilan) {
    ++bilan->arrondis;
    if (MemesOctets(moteur, attendu)) return;
    const double unites = std::round(moteur * echelle) - std::round(attendu * echelle);
    const double v = brut * echelle;
    const double distance = std::fabs(v - (std::floor(v) + 0.5));
    ++bilan->uneUnite;
    bilan->distanceMax = std::fmax(bilan->distanceMax, distance);
    EXPECT_EQ(std::fabs(unites), 1.0) << cas << ": " << moteur << " against " << attendu;
    EXPECT_LE(distance, SEUIL_FRONTIERE) << cas << ": " << moteur << " against " << attendu << ", unrounded " << brut;
}

TEST(Reference, EveryPairOnTheBenchmarkPoints) {
    const std::vector<COORDONNEES_TYPE_NC> points = points_france::PointsFrance(100000);
    Bilan bilan;
    int pointsEnFaute = 0;
    for (std::size_t k = 0; k < points.size(); k += PAS_POINTS) {
        for (int in = 1; in <= 12; ++in) {
            const auto sIn = static_cast<Liste_SysCoord>(in);
            const COORDONNEES_TYPE_NC p = SysCoord2SysCoord(points[k], WGS84GG, sIn);
            for (int out = 1; out <= 12; ++out) {
                const Cas cas = {k, in, out};
                const COORDONNEES_TYPE_NC e = SysCoord2SysCoord(p, sIn, static_cast<Liste_SysCoord>(out));
                const reference::RESULTAT r = reference::SysCoord2SysCoord(p, in, out);
                ++bilan.resultats;
                if (r.echelle != 0.0) {
                    CompareArrondi(e.x_lambda, r.point.x_lambda, r.brut.x_lambda, r.echelle, cas, &bilan);
                    CompareArrondi(e.y_phi, r.point.y_phi, r.brut.y_phi, r.echelle, cas, &bilan);
                } else if (in == out || r.point.x_lambda == -9999.0) {
                    EXPECT_TRUE(MemesOctets(e.x_lambda, r.point.x_lambda) && MemesOctets(e.y_phi, r.point.y_phi))
                        << cas;
                } else {  // NTF plane to plane
                    const double ecart = std::fmax(std::fabs(e.x_lambda - r.point.x_lambda),
                                                   std::fabs(e.y_phi - r.point.y_phi));
                    bilan.ecartPlanMax = std::fmax(bilan.ecartPlanMax, ecart);
                    EXPECT_LE(ecart, ECART_PLAN_MAX) << cas;
                }
            }
        }
        if (::testing::Test::HasFailure() && ++pointsEnFaute == 20) FAIL() << "stopped after 20 points in fault";
    }
    std::printf("%ld results, %ld rounded coordinates; %ld one unit apart from the formulas' "
                "(reference at most %.3g units from the rounding boundary); NTF plane to plane within %.3g m\n",
                bilan.resultats, bilan.arrondis, bilan.uneUnite, bilan.distanceMax, bilan.ecartPlanMax);
    EXPECT_LE(bilan.uneUnite, bilan.arrondis / 100000);
}

}  // namespace
