#include <gtest/gtest.h>

#include <cmath>

#include "interne.h"

namespace {

PARAMETRES_SYSTEME_COORDONNNEES Zone(Liste_SysCoord code) { return ChargeConstantes_SysCoord(code); }

TEST(Lambert, RoundTripZoneI) {
    const COORDONNEES_GEOGRAPHIQUES g = {0.145512099, 0.872664626};
    const auto retour = SysProj2SysGeo(SysGeo2SysProj(g, Zone(NTFL1)), Zone(NTFL1));
    EXPECT_NEAR(retour.lambda, g.lambda, 1e-14);
    EXPECT_NEAR(retour.phi, g.phi, 1e-9);
}

TEST(Lambert, Lambert93FalseOrigin) {
    const auto p = SysGeo2SysProj({0.05235987755982989, 0.8115781021773633}, Zone(RGF93L93));
    EXPECT_NEAR(p.x, 700000.0, 1e-4);
    EXPECT_NEAR(p.y, 6600000.0, 1e-4);
}

TEST(Lambert, CentralMeridianIsExact) {
    for (Liste_SysCoord code : {NTFL1, NTFL2, NTFL3, NTFL4, NTFL2E, RGF93L93}) {
        const auto zone = Zone(code);
        EXPECT_EQ(SysGeo2SysProj({zone.LAMBDA_ZERO, 0.8}, zone).x, zone.Xs) << code;
        EXPECT_EQ(SysProj2SysGeo({zone.Xs, zone.Ys - 4.0e6}, zone).lambda, zone.LAMBDA_ZERO) << code;
    }
}

TEST(Lambert, LongitudesAreNotNormalised) {
    const auto zone = Zone(NTFL2);
    const double lambda = zone.LAMBDA_ZERO + 0.01;
    const auto retour = SysProj2SysGeo(SysGeo2SysProj({lambda, 0.8}, zone), zone);
    EXPECT_NEAR(retour.lambda, lambda, 1e-14);
}

TEST(Lambert2LambertTest, SameRecordIsTheIdentity) {
    const COORDONNEES_PLANES p = {612345.678, 2123456.789};
    const auto q = Lambert2Lambert(p, Zone(NTFL2), Zone(NTFL2));
    EXPECT_NEAR(q.x, p.x, 1e-6);
    EXPECT_NEAR(q.y, p.y, 1e-6);
    // The carto offset is the dispatcher's business, not the projection's.
    const auto c = Lambert2Lambert(p, Zone(NTFL1), Zone(NTFL1C));
    EXPECT_NEAR(c.y, p.y, 1e-6);
}

TEST(Lambert2LambertTest, ZoneIIToExtended) {
    const COORDONNEES_PLANES p = {600000.0, 200000.0};
    const auto q = Lambert2Lambert(p, Zone(NTFL2), Zone(NTFL2E));
    EXPECT_EQ(q.x, 600000.0);
    const double gain = q.y - p.y - 2000000.0;
    EXPECT_LT(gain, -0.0015);
    EXPECT_GT(gain, -0.0017);
}

TEST(Lambert2LambertTest, AgreesWithInverseThenForward) {
    const COORDONNEES_PLANES p = {583211.4, 3127654.2};
    const auto direct = Lambert2Lambert(p, Zone(NTFL3), Zone(NTFL2E));
    const auto detour = SysGeo2SysProj(SysProj2SysGeo(p, Zone(NTFL3)), Zone(NTFL2E));
    EXPECT_NEAR(direct.x, detour.x, 1e-6);
    EXPECT_NEAR(direct.y, detour.y, 1e-6);
}

// The singular points return without trapping; these are what they give.
TEST(Lambert, SingularPoints) {
    const auto zone = Zone(NTFL2);
    const auto pole = SysGeo2SysProj({0.1, 1.5707963267948966}, zone);
    EXPECT_EQ(pole.x, zone.Xs);  // R = C exp(-inf) = 0: the projection's pole
    EXPECT_EQ(pole.y, zone.Ys);
    const auto sud = SysGeo2SysProj({0.1, -1.5707963267948966}, zone);
    EXPECT_FALSE(std::isfinite(sud.x) && std::isfinite(sud.y));

    const auto centre = SysProj2SysGeo({zone.Xs, zone.Ys}, zone);
    EXPECT_TRUE(std::isnan(centre.lambda));  // atan(0/0)
    EXPECT_NEAR(centre.phi, 1.5707963267948966, 1e-15);
    const auto surLAxe = SysProj2SysGeo({zone.Xs + 1000.0, zone.Ys}, zone);
    EXPECT_NEAR(surLAxe.lambda, zone.LAMBDA_ZERO + 1.5707963267948966 / zone.n, 1e-15);

    const auto plan = Lambert2Lambert({zone.Xs, zone.Ys}, zone, Zone(NTFL2E));
    EXPECT_TRUE(std::isnan(plan.x) || std::isnan(plan.y));
}

}  // namespace
