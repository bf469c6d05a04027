// The conic conformal zones, the UTM zones and NTF geographic in grads on
// published points, and the lookup of a system by its name, code or EPSG code.
#include <gtest/gtest.h>

#include <cmath>

#include "interne.h"

namespace {

COORDONNEES_TYPE_NC Transforme(double x, double y, int in, int out) {
    return SysCoord2SysCoord({x, y}, static_cast<Liste_SysCoord>(in), static_cast<Liste_SysCoord>(out));
}

// Published to the millimetre (metres) or to 1e-8 (degrees): the engine's rounding.
const double MILLIMETRE = 1e-3;
const double DEGRES = 1e-8;

struct Point {
    int geo, systeme;
    double lon, lat, x, y;
};

// The false origin of each CC zone is the image of (3 E, k N); UTM northings on
// the central meridian are 0.9996 times the meridian arc (4,982,950.400 m at
// 45 N on WGS84 and on GRS 80).
TEST(Projections, PublishedPoints) {
    const Point points[] = {
        {RGF93GG, RGF93CC42, 3.0, 42.0, 1700000.0, 1200000.0}, {RGF93GG, RGF93CC43, 3.0, 43.0, 1700000.0, 2200000.0},
        {RGF93GG, RGF93CC44, 3.0, 44.0, 1700000.0, 3200000.0}, {RGF93GG, RGF93CC45, 3.0, 45.0, 1700000.0, 4200000.0},
        {RGF93GG, RGF93CC46, 3.0, 46.0, 1700000.0, 5200000.0}, {RGF93GG, RGF93CC47, 3.0, 47.0, 1700000.0, 6200000.0},
        {RGF93GG, RGF93CC48, 3.0, 48.0, 1700000.0, 7200000.0}, {RGF93GG, RGF93CC49, 3.0, 49.0, 1700000.0, 8200000.0},
        {RGF93GG, RGF93CC50, 3.0, 50.0, 1700000.0, 9200000.0},
        {RGF93GG, RGF93UTM30N, -3.0, 42.0, 500000.0, 4649776.225}, {RGF93GG, RGF93UTM31N, 3.0, 45.0, 500000.0, 4982950.400},
        {RGF93GG, RGF93UTM32N, 9.0, 51.0, 500000.0, 5649824.888}, {WGS84GG, WGS84UTM30N, -3.0, 48.0, 500000.0, 5316300.224},
        {WGS84GG, WGS84UTM31N, 3.0, 45.0, 500000.0, 4982950.400}, {WGS84GG, WGS84UTM32N, 9.0, 0.0, 500000.0, 0.0},
        // 50 grads are 45 degrees; the prime meridian is 2.5969213 grads east of Greenwich.
        {NTFGG, NTFPARIS, 2.33722917, 45.0, 0.0, 50.0}, {NTFGG, NTFPARIS, 0.0, 0.0, -2.5969213, 0.0},
    };
    for (const Point& p : points) {
        SCOPED_TRACE(DescriptionSysCoord(static_cast<Liste_SysCoord>(p.systeme))->Nom);
        const double ecartPlan = p.systeme == NTFPARIS ? DEGRES : MILLIMETRE;
        const auto plan = Transforme(p.lon, p.lat, p.geo, p.systeme);
        EXPECT_NEAR(plan.x_lambda, p.x, ecartPlan);
        EXPECT_NEAR(plan.y_phi, p.y, ecartPlan);
        const auto retour = Transforme(p.x, p.y, p.systeme, p.geo);
        EXPECT_NEAR(retour.x_lambda, p.lon, DEGRES);
        EXPECT_NEAR(retour.y_phi, p.lat, DEGRES);
    }
}

// The projection exports serve the transverse Mercator too; 90 degrees or more
// from the central meridian it has no image and gives the failure pair.
TEST(Projections, TransverseMercatorThroughTheExportsAndItsLimit) {
    const auto zone = ChargeConstantes_SysCoord(WGS84UTM31N);
    const COORDONNEES_PLANES p = SysGeo2SysProj({degre2radian(3.0), degre2radian(45.0)}, zone);
    EXPECT_NEAR(p.x, 500000.0, MILLIMETRE);
    EXPECT_NEAR(p.y, 4982950.400, MILLIMETRE);
    const COORDONNEES_GEOGRAPHIQUES g = SysProj2SysGeo(p, zone);
    EXPECT_NEAR(radian2degre(g.phi), 45.0, DEGRES);
    const COORDONNEES_PLANES q = Lambert2Lambert(p, zone, ChargeConstantes_SysCoord(WGS84UTM32N));
    EXPECT_NEAR(q.x, Transforme(3.0, 45.0, WGS84GG, WGS84UTM32N).x_lambda, MILLIMETRE);
    for (double lon : {94.0, -88.0, 183.0})
        EXPECT_TRUE(GeokernEchec(Transforme(lon, 45.0, WGS84GG, WGS84UTM31N))) << lon;
    EXPECT_TRUE(GeokernEchec(Transforme(500000.0, 1e8, WGS84UTM31N, WGS84GG)));
}

TEST(Catalogue, LookupByNameCodeOrEpsg) {
    const struct {
        const char* texte;
        int code;
    } cas[] = {{"RGF93L93", RGF93L93}, {"rgf93cc42", RGF93CC42}, {"Wgs84Utm32N", WGS84UTM32N}, {"10", RGF93L93},
               {"28", NTFPARIS}, {"EPSG:2154", RGF93L93}, {"epsg:27572", NTFL2E}, {"EPSG:4807", NTFPARIS},
               {"EPSG:25830", RGF93UTM30N}, {"EPSG:0", 0}, {"EPSG:", 0}, {"EPSG:2154x", 0}, {"EPSG:-2154", 0},
               {"0", 0}, {"29", 0}, {"-1", 0}, {"", 0}, {" RGF93L93", 0}, {"RGF93L9", 0}, {"2154", 0},
               {nullptr, 0}};
    for (const auto& c : cas) EXPECT_EQ(CodeSysCoord(c.texte), c.code) << (c.texte ? c.texte : "(null)");
    // Every row is found by its own name and EPSG code.
    for (int code = 1; code <= NombreSysCoord(); ++code) {
        const DESCRIPTION_SYSCOORD* d = DescriptionSysCoord(static_cast<Liste_SysCoord>(code));
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(CodeSysCoord(d->Nom), code);
        EXPECT_EQ(CodeSysCoord(("EPSG:" + std::to_string(d->Epsg)).c_str()), code);
    }
}

}  // namespace
