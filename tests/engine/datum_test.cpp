#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "interne.h"

namespace {

PARAMETRES_SYSTEME_COORDONNNEES Zone(Liste_SysCoord code) { return ChargeConstantes_SysCoord(code); }

COORDONNEES_GEOGRAPHIQUES Degres(double lon, double lat) { return {degre2radian(lon), degre2radian(lat)}; }

void AttendDegres(const COORDONNEES_GEOGRAPHIQUES& g, double lon, double lat, double tolerance) {
    EXPECT_NEAR(radian2degre(g.lambda), lon, tolerance);
    EXPECT_NEAR(radian2degre(g.phi), lat, tolerance);
}

bool MemesOctets(const COORDONNEES_GEOGRAPHIQUES& a, const COORDONNEES_GEOGRAPHIQUES& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The worked example: NTF 2.35 E 48.85 N to RGF93 through the grid, to WGS84
// with the constant translation, and back to NTF.
TEST(DatumChange, WorkedExample) {
    const auto ntf = Degres(2.35, 48.85);
    const auto rgf = ChangementDatum(ntf, Zone(NTFGG), Zone(RGF93GG));
    AttendDegres(rgf, 2.349295595, 48.849933562, 1e-9);
    AttendDegres(ChangementDatum(ntf, Zone(NTFGG), Zone(WGS84GG)), 2.349277019, 48.849930760, 1e-9);
    AttendDegres(ChangementDatum(rgf, Zone(RGF93GG), Zone(NTFGG)), 2.349999999, 48.850000005, 1e-9);
}

TEST(DatumChange, SameDatumGivesTheInputBackBitForBit) {
    const COORDONNEES_GEOGRAPHIQUES p = {0.0412345678901234, 0.8523456789012345};
    EXPECT_TRUE(MemesOctets(ChangementDatum(p, Zone(NTFGG), Zone(NTFL2E)), p));
    EXPECT_TRUE(MemesOctets(ChangementDatum(p, Zone(RGF93GG), Zone(RGF93L93)), p));
    EXPECT_TRUE(MemesOctets(ChangementDatum(p, Zone(WGS84GG), Zone(RGF93GG)), p));
    EXPECT_TRUE(MemesOctets(ChangementDatum(p, Zone(RGF93GG), Zone(WGS84GG)), p));
}

TEST(DatumChange, MethodTableEdges) {
    const auto p = Degres(2.0, 47.0);
    auto sansDatum = Zone(NTFGG);
    sansDatum.Datum = -9999;
    const auto echec = ChangementDatum(p, sansDatum, Zone(RGF93GG));
    EXPECT_EQ(echec.lambda, -9999.0);
    EXPECT_EQ(echec.phi, -9999.0);
    // A valid source with an unknown target: unchanged.
    EXPECT_TRUE(MemesOctets(ChangementDatum(p, Zone(NTFGG), sansDatum), p));
    auto autre = Zone(WGS84GG);
    autre.Datum = 7;
    EXPECT_TRUE(MemesOctets(ChangementDatum(p, Zone(RGF93GG), autre), p));
    EXPECT_EQ(ChangementDatum(p, autre, Zone(NTFGG)).phi, -9999.0);
}

TEST(DatumChange, ConstantTranslationHasNoBounds) {
    const auto r = ChangementDatum(Degres(20.0, 46.0), Zone(NTFGG), Zone(WGS84GG));
    EXPECT_NEAR(radian2degre(r.lambda), 20.0, 0.01);
    EXPECT_NE(r.phi, -9999.0);
}

TEST(DatumChange, GridMethodFailsOutsideTheGrid) {
    // Tested at the approximate position on the target ellipsoid.
    for (const auto& p : {Degres(10.01, 46.0), Degres(2.0, 52.01), Degres(-5.51, 46.0), Degres(2.0, 40.99)}) {
        const auto r = ChangementDatum(p, Zone(NTFGG), Zone(RGF93GG));
        EXPECT_EQ(r.lambda, -9999.0);
        EXPECT_EQ(r.phi, -9999.0);
        EXPECT_EQ(ChangementDatum(p, Zone(RGF93GG), Zone(NTFGG)).phi, -9999.0);
    }
    const double nan = std::nan("");
    EXPECT_EQ(ChangementDatum({nan, 0.8}, Zone(NTFGG), Zone(RGF93GG)).phi, -9999.0);
}

TEST(DatumChange, ContinuousAcrossCellEdges) {
    // Either side of a grid line, the result moves with the input and no more.
    const double eps = 1e-7;
    for (double lon : {-5.4, 0.0, 2.3, 7.0}) {
        const auto a = ChangementDatum(Degres(lon - eps, 46.0), Zone(RGF93GG), Zone(NTFGG));
        const auto b = ChangementDatum(Degres(lon + eps, 46.0), Zone(RGF93GG), Zone(NTFGG));
        EXPECT_NEAR(radian2degre(b.lambda - a.lambda), 2 * eps, 1e-9) << lon;
        EXPECT_NEAR(radian2degre(b.phi - a.phi), 0.0, 1e-9) << lon;
    }
}

// The grid is read at a slightly different place each way, so a round trip
// comes back within a few millimetres, not exactly.
TEST(DatumChange, GridRoundTripWithinMillimetres) {
    for (double lon = -4.0; lon <= 9.0; lon += 1.3)
        for (double lat = 42.0; lat <= 51.0; lat += 0.9) {
            const auto ntf = Degres(lon, lat);
            const auto retour = ChangementDatum(ChangementDatum(ntf, Zone(NTFGG), Zone(RGF93GG)), Zone(RGF93GG), Zone(NTFGG));
            AttendDegres(retour, lon, lat, 5e-8);
        }
}

}  // namespace
