#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

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

// A program in France: the C locale set from the user's settings, with a
// decimal comma (make test generates fr_FR.UTF-8; Windows and wine know "French").
#ifdef _WIN32
const char* const LOCALE_FRANCAISE = "French";
#else
const char* const LOCALE_FRANCAISE = "fr_FR.UTF-8";
#endif

// Puts the C locale back when a test ends, whichever way it ends.
struct RetourLocaleC {
    ~RetourLocaleC() { std::setlocale(LC_ALL, "C"); }
};

struct CasTexte {
    const char* point;
    int in, out;
    const char* attendu;
};

const CasTexte CAS_LOCALE[] = {
    {"2.35@48.85", WGS84GG, RGF93GG, "2.35000000@48.85000000"},
    {"2.35@48.85", WGS84GG, NTFL2E, "600990.892@2427961.512"},
    {"3.0@46.5", RGF93GG, RGF93L93, "700000.000@6600000.000"},
    {"700000@6600000", RGF93L93, RGF93GG, "3.00000000@46.50000000"},
    {"600000@200000", NTFL2, NTFL2E, "600000.000@2199999.998"},
    {" \t-1.5e2xyz@ +7.25", 0, 0, "-150.000@7.250"},
    // No hexadecimal, infinity or NaN is read: what atof reads of them.
    {"0x1.8p1@-0X.8P-2", 0, 0, "0.000@-0.000"},
    {"inf@-Infinity", 0, 0, "0.000@0.000"},
    {"nan@-nan(1)", 0, 0, "0.000@0.000"},
    {"-0@-1e-9", WGS84GG, WGS84GG, "-0.00000000@-0.00000000"},
    {"1@0.0625", 0, 0, "1.000@0.062"},
    {"4.9e-324@9007199254740993", 0, 0, "0.000@9007199254740992.000"},
    {"-@nan(a b)", 0, 0, "0.000@0.000"},
    {"1,5@2,5", 0, 0, "1.000@2.000"},  // the comma ends a number, in every locale
    {"abc@def", 0, 0, "0.000@0.000"},
    {"1@2@3", WGS84GG, WGS84GG, "1.00000000@2.00000000"},
    {"-1e-400@-1e400", 0, 0, "-0.000@-inf"},
    {"1e30@1", WGS84GG, WGS84GG, ""},
    {"12345678901.5@1234567890123456789.25", 0, 0, "12345678901.500@1234567890123456768.000"},
    {"3.0 46.5", RGF93GG, RGF93L93, ""},
    {"-9999@46.5", RGF93GG, RGF93GG, ""},
};

// Random points passed through unchanged (same system on both sides), written
// exactly as "%.17g@%.17g"; what "%.3f@%.3f" or "%.8f@%.8f" write of them in the
// C locale is the expected text (of zero for an infinity or a NaN, which are
// not read), or the empty text when it needs more than 39 characters or the
// first number is the failure marker.
std::vector<CasTexte> CasAuHasard(std::vector<std::string>& textes) {
    std::mt19937_64 hasard(700000);
    const int n = 3000;
    textes.reserve(2 * n);
    std::vector<CasTexte> cas;
    for (int i = 0; i < n; ++i) {
        double xy[2];
        for (double& v : xy) {
            const std::uint64_t bits = hasard();
            switch (hasard() % 4) {
                case 0: std::memcpy(&v, &bits, sizeof v); break;
                case 1: v = std::ldexp(static_cast<double>(bits >> 11), -53) * 360.0 - 180.0; break;
                case 2: v = std::ldexp(static_cast<double>(bits >> 11), -53) * 1.0e7; break;
                default: v = std::ldexp(static_cast<double>(bits >> 40), -static_cast<int>(hasard() % 40)); break;
            }
        }
        const bool degres = i % 2 == 0;
        char point[80], attendu[800];
        std::snprintf(point, sizeof point, "%.17g@%.17g", xy[0], xy[1]);
        for (double& v : xy)
            if (!std::isfinite(v)) v = 0.0;
        const int longueur = std::snprintf(attendu, sizeof attendu, degres ? "%.8f@%.8f" : "%.3f@%.3f", xy[0], xy[1]);
        if (longueur >= 40 || xy[0] == -9999.0) attendu[0] = '\0';
        textes.push_back(point);
        textes.push_back(attendu);
        const int sys = degres ? WGS84GG : NTFL2E;
        cas.push_back({nullptr, sys, sys, nullptr});
    }
    for (int i = 0; i < n; ++i) {
        cas[i].point = textes[2 * i].c_str();
        cas[i].attendu = textes[2 * i + 1].c_str();
    }
    return cas;
}

TEST(TextInterface, SameTextsInAFrenchLocale) {
    const RetourLocaleC retour;
    std::vector<std::string> textes;
    std::vector<CasTexte> cas(std::begin(CAS_LOCALE), std::end(CAS_LOCALE));
    const std::vector<CasTexte> hasard = CasAuHasard(textes);
    cas.insert(cas.end(), hasard.begin(), hasard.end());

    for (const CasTexte& c : cas) EXPECT_EQ(Texte(c.point, c.in, c.out), c.attendu) << c.point << " (C locale)";
#ifdef __EMSCRIPTEN__
    GTEST_SKIP() << "WebAssembly has no locale but \"C\"";
#endif

    ASSERT_NE(std::setlocale(LC_ALL, LOCALE_FRANCAISE), nullptr)
        << LOCALE_FRANCAISE << " cannot be set: scripts/install-deps.sh generates it";
    // The C runtime itself now reads and writes a decimal comma.
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    EXPECT_EQ(std::atof("2,5"), 2.5);
    for (const CasTexte& c : cas) EXPECT_EQ(Texte(c.point, c.in, c.out), c.attendu) << c.point << " (French locale)";
    const COORDONNEES_TYPE_NC p = AvPoint2CoordPlanes("2.35@48.85");
    EXPECT_EQ(p.x_lambda, 2.35);
    EXPECT_EQ(p.y_phi, 48.85);
}

}  // namespace
