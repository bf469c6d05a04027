#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "interne.h"

namespace {

const double CLARKE_A = 6378249.2, CLARKE_B = 6356515.0, CLARKE_E = 0.0824832567634177;

TEST(Angles, StoredFactors) {
    EXPECT_EQ(degre2radian(180.0), 3.141592653589793);
    EXPECT_EQ(radian2degre(3.141592653589793), 180.0);
    EXPECT_EQ(degre2radian(3.0), 0.05235987755982989);
}

TEST(Rounding, TronqueReelTruncatesTowardZero) {
    EXPECT_EQ(TronqueReel(2.7), 2.0);
    EXPECT_EQ(TronqueReel(-2.7), -2.0);
    EXPECT_EQ(TronqueReel(5.0), 5.0);
}

TEST(Rounding, ArrondiReelHalvesAwayFromZero) {
    EXPECT_EQ(ArrondiReel(2.5), 3.0);
    EXPECT_EQ(ArrondiReel(-2.5), -3.0);
    EXPECT_EQ(ArrondiReel(2.4999), 2.0);
    const double moinsZero = ArrondiReel(-0.4);
    EXPECT_EQ(moinsZero, 0.0);
    EXPECT_TRUE(std::signbit(moinsZero));
    // Zero itself takes the ceil(x - 0.5) branch.
    EXPECT_TRUE(std::signbit(ArrondiReel(0.0)));
}

TEST(Cartesian, EquatorAndPole) {
    const COORDONNEES_CARTESIENNES origine = Geographique2Cartesienne({0.0, 0.0}, CLARKE_A, CLARKE_B);
    EXPECT_EQ(origine.x, CLARKE_A);
    EXPECT_EQ(origine.y, 0.0);
    EXPECT_EQ(origine.z, 0.0);
    const COORDONNEES_CARTESIENNES pole = Geographique2Cartesienne({0.0, 1.5707963267948966}, CLARKE_A, CLARKE_B);
    EXPECT_NEAR(pole.z, CLARKE_B, 1e-6);
    EXPECT_LT(std::fabs(pole.x), 1e-9);
    EXPECT_LT(std::fabs(pole.y), 1e-9);
}

TEST(Cartesian, RoundTripOnEveryEllipsoid) {
    const double axes[][2] = {{CLARKE_A, CLARKE_B}, {6378137.0, 6356752.314}, {6378137.0, 6356752.31424518}};
    for (const auto& ax : axes)
        for (double lon = -5.0; lon <= 10.0; lon += 2.5)
            for (double lat = 41.0; lat <= 52.0; lat += 2.75) {
                const COORDONNEES_GEOGRAPHIQUES g = {degre2radian(lon), degre2radian(lat)};
                const auto retour = Cartesienne2Geographique(Geographique2Cartesienne(g, ax[0], ax[1]), ax[0], ax[1]);
                EXPECT_NEAR(retour.lambda, g.lambda, 1e-9);
                EXPECT_NEAR(retour.phi, g.phi, 1e-9);
            }
}

TEST(Cartesian, SurfacePointGivesItsAnglesBack) {
    const COORDONNEES_GEOGRAPHIQUES g = {degre2radian(2.0), degre2radian(47.0)};
    const auto retour = Cartesienne2Geographique(Geographique2Cartesienne(g, CLARKE_A, CLARKE_B), CLARKE_A, CLARKE_B);
    EXPECT_NEAR(retour.lambda, g.lambda, 1e-15);
    EXPECT_NEAR(retour.phi, g.phi, 1e-12);
}

// Near the ellipsoid's centre the latitude iteration oscillates for ever; the
// cap on its passes makes it return.
TEST(Cartesian, NonConvergingPointReturns) {
    const auto g = Cartesienne2Geographique({40000.0, 0.0, 1000.0}, CLARKE_A, CLARKE_B);
    EXPECT_EQ(g.lambda, 0.0);
    EXPECT_TRUE(std::isfinite(g.phi));
    EXPECT_LE(std::fabs(g.phi), 1.5707963267948966);
}

TEST(Cartesian, NaNEndsTheIteration) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(std::isnan(Cartesienne2Geographique({nan, 0.0, 0.0}, CLARKE_A, CLARKE_B).phi));
    // The centre itself: 0/0 on the first pass.
    const auto centre = Cartesienne2Geographique({0.0, 0.0, 0.0}, CLARKE_A, CLARKE_B);
    EXPECT_TRUE(std::isnan(centre.phi));
}

TEST(IsometricLatitude, Inverse) {
    EXPECT_NEAR(LatitudeIsoInverse(1.0, CLARKE_E), 0.86913475766, 1e-11);
    EXPECT_EQ(LatitudeIsoInverse(0.0, CLARKE_E), 0.0);
    // An eccentricity above 1 has no meaning: the power is NaN and the loop ends.
    EXPECT_TRUE(std::isnan(LatitudeIsoInverse(1.0, 5.0)));
    EXPECT_NEAR(LatitudeIsoInverse(std::numeric_limits<double>::infinity(), CLARKE_E), 1.5707963267948966, 1e-15);
}

}  // namespace
