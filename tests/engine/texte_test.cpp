#include <gtest/gtest.h>

#include <string>

#include "interne.h"

namespace {

std::string Texte(const char* point, int in, int out) {
    return CSysCoord2SysCoord(point, static_cast<Liste_SysCoord>(in), static_cast<Liste_SysCoord>(out));
}

TEST(TextParser, ReadsBothSidesOfTheFirstAt) {
    auto p = AvPoint2CoordPlanes("1@2@3");
    EXPECT_EQ(p.x_lambda, 1.0);
    EXPECT_EQ(p.y_phi, 2.0);
    p = AvPoint2CoordPlanes("abc@def");
    EXPECT_EQ(p.x_lambda, 0.0);
    EXPECT_EQ(p.y_phi, 0.0);
    p = AvPoint2CoordPlanes("  -1.5e2xyz@ +7.25");
    EXPECT_EQ(p.x_lambda, -150.0);
    EXPECT_EQ(p.y_phi, 7.25);
    p = AvPoint2CoordPlanes("3.0 46.5");
    EXPECT_EQ(p.x_lambda, -9999.0);
    EXPECT_EQ(p.y_phi, -9999.0);
}

TEST(TextInterface, Formats) {
    EXPECT_EQ(Texte("3.0@46.5", RGF93GG, RGF93L93), "700000.000@6600000.000");
    EXPECT_EQ(Texte("700000@6600000", RGF93L93, RGF93GG), "3.00000000@46.50000000");
    EXPECT_EQ(Texte("1.5@2.5", 0, 0), "1.500@2.500");
    EXPECT_EQ(Texte("2.5@-9999", RGF93GG, RGF93GG), "2.50000000@-9999.00000000");
    EXPECT_EQ(Texte("1@2@3", WGS84GG, WGS84GG), "1.00000000@2.00000000");
}

TEST(TextInterface, CartoNorthingIsAMillionMore) {
    const std::string l1 = Texte("6@49.5", NTFGG, NTFL1);
    const std::string l1c = Texte("6@49.5", NTFGG, NTFL1C);
    const auto a = AvPoint2CoordPlanes(l1.c_str()), b = AvPoint2CoordPlanes(l1c.c_str());
    EXPECT_EQ(a.x_lambda, b.x_lambda);
    EXPECT_EQ(b.y_phi - a.y_phi, 1000000.0);
}

TEST(TextInterface, UnroundedRouteIsWrittenWithThreeDecimals) {
    // 2199999.998381685 before the format rounds it.
    EXPECT_EQ(Texte("600000@200000", NTFL2, NTFL2E), "600000.000@2199999.998");
}

TEST(TextInterface, FailuresGiveTheEmptyText) {
    EXPECT_EQ(Texte("3.0 46.5", RGF93GG, RGF93L93), "");
    EXPECT_EQ(Texte("-9999@46.5", RGF93GG, RGF93L93), "");
    EXPECT_EQ(Texte("-9999@46.5", RGF93GG, RGF93GG), "");
    EXPECT_EQ(Texte("1.5@2.5", 0, RGF93GG), "");
    EXPECT_EQ(Texte("20@46", RGF93GG, NTFL2E), "");
    EXPECT_EQ(Texte("", WGS84GG, NTFL2E), "");
    EXPECT_EQ(Texte(nullptr, WGS84GG, NTFL2E), "");
}

TEST(TextInterface, BufferHoldsTheLastResultOnly) {
    const char* premier = CSysCoord2SysCoord("3.0@46.5", RGF93GG, RGF93L93);
    EXPECT_STREQ(premier, "700000.000@6600000.000");
    const char* second = CSysCoord2SysCoord("nothing", RGF93GG, RGF93L93);
    EXPECT_EQ(premier, second);
    EXPECT_STREQ(second, "");
}

TEST(TextInterface, TooLongForTheBufferGivesTheEmptyText) {
    EXPECT_EQ(Texte("1e300@1", NTFL2, NTFL2), "");
    EXPECT_EQ(Texte("1e30@1", WGS84GG, WGS84GG), "");
    // 39 characters fit exactly; 40 do not.
    EXPECT_EQ(Texte("12345678901.5@1234567890123456789.25", 0, 0), "12345678901.500@1234567890123456768.000");
    EXPECT_EQ(Texte("12345678901.5@12345678901234567890.25", 0, 0), "");
}

TEST(TextInterface, CallerTextIsUntouchedAndLongTextsAreRead) {
    std::string point(5000, ' ');
    point += "3.0@46.5";
    const std::string copie = point;
    EXPECT_EQ(Texte(point.c_str(), RGF93GG, RGF93L93), "700000.000@6600000.000");
    EXPECT_EQ(point, copie);
    EXPECT_EQ(Texte(std::string(10000, '9').c_str(), WGS84GG, NTFL2E), "");
}

}  // namespace
