#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iomanip>
#include <limits>
#include <vector>

#include "geokern2.h"
#include "blocs.h"
#include "interne.h"
#include "points_france.h"

namespace {

COORDONNEES_TYPE_NC Transforme(double x, double y, int in, int out) {
    return SysCoord2SysCoord({x, y}, static_cast<Liste_SysCoord>(in), static_cast<Liste_SysCoord>(out));
}

bool EstEchec(const COORDONNEES_TYPE_NC& p) { return p.x_lambda == -9999.0 && p.y_phi == -9999.0; }

// The first code past the catalogue.
const int APRES = NombreSysCoord() + 1;

TEST(SysCoord, SameCodeReturnsTheInputUntouched) {
    const COORDONNEES_TYPE_NC p = {612345.123456789, 2123456.987654321};
    for (int code : {int(NTFL2), int(WGS84GG), 0, APRES, -5}) {
        const auto r = Transforme(p.x_lambda, p.y_phi, code, code);
        EXPECT_EQ(std::memcmp(&r, &p, sizeof p), 0) << code;
    }
    EXPECT_TRUE(EstEchec(Transforme(-9999.0, -9999.0, NTFL2, NTFL2)));
    const auto nan = Transforme(std::nan(""), 1.0, 0, 0);
    EXPECT_TRUE(std::isnan(nan.x_lambda));
}

TEST(SysCoord, CodesOutsideTheCatalogueFail) {
    EXPECT_TRUE(EstEchec(Transforme(1.25, 2.5, 0, RGF93L93)));
    EXPECT_TRUE(EstEchec(Transforme(700000.0, 6600000.0, RGF93L93, APRES)));
    EXPECT_TRUE(EstEchec(Transforme(2.0, 46.0, -1, WGS84GG)));
    EXPECT_TRUE(EstEchec(Transforme(2.0, 46.0, WGS84GG, 1 << 31)));
}

TEST(SysCoord, Lambert93FalseOriginExactlyAfterRounding) {
    const auto p = Transforme(3.0, 46.5, RGF93GG, RGF93L93);
    EXPECT_EQ(p.x_lambda, 700000.0);
    EXPECT_EQ(p.y_phi, 6600000.0);
    const auto g = Transforme(700000.0, 6600000.0, RGF93L93, RGF93GG);
    EXPECT_EQ(g.x_lambda, 3.0);
    EXPECT_EQ(g.y_phi, 46.5);
}

TEST(SysCoord, CartoOffsets) {
    const auto l1 = Transforme(6.0, 49.5, NTFGG, NTFL1);
    const auto l1c = Transforme(6.0, 49.5, NTFGG, NTFL1C);
    EXPECT_EQ(l1.x_lambda, l1c.x_lambda);
    EXPECT_EQ(l1c.y_phi - l1.y_phi, 1000000.0);
    EXPECT_EQ(l1.x_lambda * 1000.0, std::round(l1.x_lambda * 1000.0));
    // The millimetre rounding shows in the eighth decimal on the way back.
    const auto retour = Transforme(l1.x_lambda, l1.y_phi, NTFL1, NTFGG);
    EXPECT_EQ(retour.x_lambda, 6.00000001);
    EXPECT_EQ(retour.y_phi, 49.5);

    for (int zone : {NTFL3, NTFL4}) {
        const auto plan = Transforme(2.5, 44.0, NTFGG, zone);
        const auto carto = Transforme(2.5, 44.0, NTFGG, zone - 1);
        EXPECT_NEAR(carto.y_phi - plan.y_phi, zone == NTFL3 ? 3000000.0 : 4000000.0, 1e-6);
    }
}

TEST(SysCoord, NtfPlaneToPlaneIsNotRounded) {
    const auto c = Transforme(612345.678, 160000.125, NTFL1, NTFL1C);
    EXPECT_NEAR(c.y_phi - 1160000.125, 0.0, 1e-6);
    EXPECT_NEAR(c.x_lambda, 612345.678, 1e-6);

    const auto e = Transforme(600000.0, 200000.0, NTFL2, NTFL2E);
    EXPECT_EQ(e.x_lambda, 600000.0);
    const double ecart = e.y_phi - 2200000.0;
    EXPECT_LT(ecart, -0.0015);
    EXPECT_GT(ecart, -0.0017);
    EXPECT_NE(e.y_phi * 1000.0, std::round(e.y_phi * 1000.0));  // more than three decimals
}

TEST(SysCoord, GeographicResultsRoundAtTheEighthDecimal) {
    const auto r = Transforme(2.123456789, 46.0, WGS84GG, RGF93GG);
    EXPECT_EQ(r.x_lambda, 2.12345679);
    EXPECT_EQ(r.y_phi, 46.0);
    const auto z = Transforme(0.0, 45.0, WGS84GG, RGF93GG);
    EXPECT_EQ(z.x_lambda, 0.0);
    EXPECT_TRUE(std::signbit(z.x_lambda));
    EXPECT_EQ(z.y_phi, 45.0);
}

TEST(SysCoord, DatumRoutes) {
    // The grid route fails where the grid has no node; the constant route does not.
    EXPECT_TRUE(EstEchec(Transforme(20.0, 46.0, RGF93GG, NTFL2E)));
    const auto w = Transforme(20.0, 46.0, WGS84GG, NTFL2E);
    EXPECT_TRUE(std::isfinite(w.x_lambda) && std::isfinite(w.y_phi));
    EXPECT_FALSE(EstEchec(w));

    // The worked example of the datum change, through the dispatcher.
    const auto rgf = Transforme(2.35, 48.85, NTFGG, RGF93GG);
    EXPECT_EQ(rgf.x_lambda, 2.3492956);
    EXPECT_EQ(rgf.y_phi, 48.84993356);
    const auto wgs = Transforme(2.35, 48.85, NTFGG, WGS84GG);
    EXPECT_EQ(wgs.x_lambda, 2.34927702);
    EXPECT_EQ(wgs.y_phi, 48.84993076);

    // Paris through every route to Lambert 93 agrees to the centimetre.
    const auto direct = Transforme(2.3492956, 48.84993356, RGF93GG, RGF93L93);
    for (int depuis : {NTFL1, NTFL2, NTFL2E, NTFL3C}) {
        const auto ntf = Transforme(2.35, 48.85, NTFGG, depuis);
        const auto l93 = Transforme(ntf.x_lambda, ntf.y_phi, depuis, RGF93L93);
        EXPECT_NEAR(l93.x_lambda, direct.x_lambda, 0.01) << depuis;
        EXPECT_NEAR(l93.y_phi, direct.y_phi, 0.01) << depuis;
    }
}

// The calculator's route, at the points its declination grid is built on.
TEST(SysCoord, CalculatorRouteRoundTrip) {
    for (double x = 100000.0; x <= 1200000.0; x += 110000.0)
        for (double y = 1650000.0; y <= 2700000.0; y += 105000.0) {
            const auto g = Transforme(x, y, NTFL2E, WGS84GG);
            const auto p = Transforme(g.x_lambda, g.y_phi, WGS84GG, NTFL2E);
            EXPECT_NEAR(p.x_lambda, x, 0.002);
            EXPECT_NEAR(p.y_phi, y, 0.002);
        }
}

// Whatever the input, the call returns, and with one of three things: the
// input itself (same code), the failure pair (a code outside the catalogue, or
// a point the datum change cannot move), or a result rounded as its route
// rounds (to the millimetre, or to 1e-8 degree; NTF plane to plane is not).
TEST(SysCoord, AnyInputReturns) {
    const double inf = std::numeric_limits<double>::infinity();
    const double valeurs[] = {0.0, -0.0, 1e308, -1e308, inf, -inf, std::nan(""), 5e-324, 90.0, -90.0, 180.0};
    auto Connu = [](int code) { return code >= 1 && code < APRES; };
    auto Geographique = [](int code) { return ConstantesSysCoord(static_cast<Liste_SysCoord>(code))->IsProjection == 0; };
    int arrondis = 0;
    for (double x : valeurs)
        for (double y : valeurs)
            for (int in = 0; in <= APRES; ++in)
                for (int out = 0; out <= APRES; ++out) {
                    const auto r = Transforme(x, y, in, out);
                    if (in == out) {
                        EXPECT_TRUE(std::memcmp(&r.x_lambda, &x, sizeof x) == 0 &&
                                    std::memcmp(&r.y_phi, &y, sizeof y) == 0);
                    } else if (!Connu(in) || !Connu(out)) {
                        EXPECT_TRUE(EstEchec(r)) << in << " -> " << out;
                    } else if (!EstEchec(r) && !(in <= NTFL2E && out <= NTFL2E)) {
                        const double echelle = Geographique(out) ? 1e8 : 1e3;
                        for (double c : {r.x_lambda, r.y_phi})
                            if (std::isfinite(c) && std::fabs(c) < 1e7) {
                                EXPECT_EQ(c, std::round(c * echelle) / echelle) << x << " " << y << " " << in << " -> " << out;
                                ++arrondis;
                            }
                    }
                }
    EXPECT_GT(arrondis, 0);
}

}  // namespace

// The array export gives, point for point, what SysCoord2SysCoord gives, in
// place too, over several of its blocks and a part of one, and counts the
// failure pairs.
TEST(SysCoord, ArraysGiveThePointByPointResults) {
    std::vector<COORDONNEES_TYPE_NC> wgs84 = {{2.35, 48.85}, {-1.55, 47.22}, {20.0, 46.0}, {7.75, 48.58},
                                              {-9999.0, -9999.0}, {3.0, 46.5}};
    for (const auto& p : points_france::PointsFrance(1000)) wgs84.push_back(p);
    const int n = static_cast<int>(wgs84.size());
    for (int in = 1; in < APRES; ++in) {
        std::vector<double> lon(n), lat(n);
        for (int k = 0; k < n; ++k) {
            const auto p = k == 4 ? wgs84[k] : Transforme(wgs84[k].x_lambda, wgs84[k].y_phi, WGS84GG, in);
            lon[k] = p.x_lambda;
            lat[k] = p.y_phi;
        }
        for (int out = 0; out <= APRES; ++out) {
            std::vector<double> x = lon, y = lat;
            const int echecs = SysCoord2SysCoordTableau(x.data(), y.data(), x.data(), y.data(), n,
                                                        static_cast<Liste_SysCoord>(in), static_cast<Liste_SysCoord>(out));
            int attendus = 0;
            for (int k = 0; k < n; ++k) {
                const auto p = Transforme(lon[k], lat[k], in, out);
                attendus += GeokernEchec(p);
                ASSERT_EQ(std::memcmp(&p.x_lambda, &x[k], 8) | std::memcmp(&p.y_phi, &y[k], 8), 0)
                    << in << " -> " << out << " point " << k << std::setprecision(17) << ": array (" << x[k] << ", "
                    << y[k] << "), point (" << p.x_lambda << ", " << p.y_phi << ")";
            }
            EXPECT_EQ(echecs, attendus) << in << " -> " << out;
        }
    }
    EXPECT_EQ(SysCoord2SysCoordTableau(nullptr, nullptr, nullptr, nullptr, 0, WGS84GG, NTFL2E), 0);
}

#ifdef GEOKERN_QUADRUPLES
// Defined in quadruples.cpp, compiled for AVX2.
bool QuadruplesDisponibles();
void SysCoord2SysCoordQuadruples(const double* x_lambda, const double* y_phi, double* x_sortie, double* y_sortie,
                                 int m, Liste_SysCoord sysCoordIn, Liste_SysCoord sysCoordOut);
#endif

// Every width of the dispatcher's lanes (two, and four where the processor
// has AVX2) against the point alone, on every pair of systems and blocks of
// every length: the same bits.
TEST(SysCoord, EveryLaneWidthGivesThePointsBits) {
    const std::vector<COORDONNEES_TYPE_NC> wgs84 = points_france::PointsFrance(constantes::BLOC_POINTS * 40);
    long ecarts = 0;
    for (int in = 1; in <= 12; ++in)
        for (int out = 1; out <= 12; ++out) {
            const auto sIn = static_cast<Liste_SysCoord>(in), sOut = static_cast<Liste_SysCoord>(out);
            std::vector<double> x, y;
            for (const COORDONNEES_TYPE_NC& p : wgs84) {
                const COORDONNEES_TYPE_NC q = SysCoord2SysCoord(p, WGS84GG, sIn);
                x.push_back(q.x_lambda);
                y.push_back(q.y_phi);
            }
            for (std::size_t debut = 0, m = 1; debut + m <= x.size(); debut += m, m = m % constantes::BLOC_POINTS + 1) {
                double xs[2][constantes::BLOC_POINTS], ys[2][constantes::BLOC_POINTS];
                const int n = static_cast<int>(m);
                blocs::SysCoord2SysCoordBlocT<elementaires::Paire>(&x[debut], &y[debut], xs[0], ys[0], n, sIn, sOut);
                int largeurs = 1;
#ifdef GEOKERN_QUADRUPLES
                if (QuadruplesDisponibles()) {
                    SysCoord2SysCoordQuadruples(&x[debut], &y[debut], xs[1], ys[1], n, sIn, sOut);
                    largeurs = 2;
                }
#endif
                for (int l = 0; l < largeurs; ++l)
                    for (int k = 0; k < n; ++k) {
                        const COORDONNEES_TYPE_NC seul = SysCoord2SysCoord({x[debut + k], y[debut + k]}, sIn, sOut);
                        if (std::memcmp(&seul.x_lambda, &xs[l][k], sizeof(double)) == 0 &&
                            std::memcmp(&seul.y_phi, &ys[l][k], sizeof(double)) == 0)
                            continue;
                        if (++ecarts <= 10)
                            ADD_FAILURE() << (l == 0 ? "pairs" : "quadruples") << ", " << in << " -> " << out
                                          << ", point " << debut + k << std::setprecision(17) << ": " << xs[l][k]
                                          << " " << ys[l][k] << " against " << seul.x_lambda << " " << seul.y_phi;
                    }
            }
        }
    EXPECT_EQ(ecarts, 0);
}
