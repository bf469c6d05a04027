// The numbers of text against what defines them: strtod (atof is strtod
// without the end) on decimal texts and snprintf "%.*f", both in the C locale,
// where the C library is exact (glibc; MinGW's own strtod and printf on Windows).
#include <gtest/gtest.h>

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "nombres.h"

namespace {

// glibc's strtod and printf define these texts. MinGW's differ from them in
// corners (the sign of a "-" that starts no number, what "nan(...)" may hold,
// no sign on a NaN written) and msvcrt's are not exact: on Windows the same
// library code is held to glibc's texts by the text interface's tests.
#ifdef _WIN32
#define SANS_REFERENCE_ICI() GTEST_SKIP() << "the C library here is not the reference (glibc)"
#else
#define SANS_REFERENCE_ICI() (void)0
#endif

// The same double, to the bit (the sign of zero too).
bool MemeReel(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::string Hexa(double x) {
    char texte[64];
    std::snprintf(texte, sizeof texte, "%a", x);
    return texte;
}

// The characters of a decimal number, and the white space before it: given
// only these, strtod reads no hexadecimal number, "inf" or "nan".
const std::string DECIMAL = "+-0123456789.eE";
const std::string BLANCS = " \t\n\v\f\r";

// Value and length read, against strtod's on the decimal characters that
// start the text.
::testing::AssertionResult LuCommeStrtod(const std::string& texte) {
    const std::string decimal = texte.substr(0, texte.find_first_not_of(BLANCS + DECIMAL));
    char* fin_strtod = nullptr;
    const double attendu = std::strtod(decimal.c_str(), &fin_strtod);
    const char* fin = nullptr;
    const double lu = Texte2Reel(texte.data(), texte.data() + texte.size(), &fin);
    const long n_attendu = static_cast<long>(fin_strtod - decimal.c_str());
    const long n_lu = static_cast<long>(fin - texte.data());
    if (MemeReel(lu, attendu) && n_lu == n_attendu) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << texte.substr(0, 80) << "\": read " << Hexa(lu) << " in " << n_lu
                                         << " characters, strtod " << Hexa(attendu) << " in " << n_attendu;
}

::testing::AssertionResult EcritCommeSnprintf(double x, int decimales) {
    char attendu[400];
    std::snprintf(attendu, sizeof attendu, "%.*f", decimales, x);
    char ecrit[400];
    const char* const fin = Reel2Texte(x, decimales, ecrit, ecrit + sizeof ecrit);
    if (fin != nullptr && std::string(ecrit, fin - ecrit) == attendu) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << Hexa(x) << " with " << decimales << " decimals: wrote \""
                                         << (fin ? std::string(ecrit, fin - ecrit) : "(nothing)") << "\", snprintf \""
                                         << attendu << "\"";
}

TEST(TextNumbers, ReadLikeStrtodOnTheGrammarsEdges) {
    SANS_REFERENCE_ICI();
    const std::string zeros(400, '0');
    const char* const textes[] = {
        "", " ", "+", "-", ".", "-.", "+.5", "-.5e-3", "1.", "1.e", "1e", "1e+", "1e-x", " \t\n\v\f\r12",
        "+-1", "-+1", "--1", "++1", "- 1", "\xC2\xA0" "1", "12,5", "1_000", "2.35@48.85", "0.1", "-0", "-0.0e5",
        "0x", "0x.", "0x.p1", "0xg", "0x1", "0X1P4", "0x1.8p1", "-0x.8", "0x1p", "0x1p-", "0x1p+3z", "0x1.fp+-1", "0x1p-+1", "0x1p--1", "0xinf",
        "0x-1", "0x+1", "0x 1", "0x0.0000000000001p-1022", "0x1p-1074", "0x1p-1075", "0x1.8p-1075", "0x1p-1076",
        "0x1.fffffffffffff8p1023", "0x1.fffffffffffff7ffffp1023", "0x1p99999999999999999999",
        "0x1p-99999999999999999999", "0x0p99999999999999999999", "0x123456789abcdef123456789p-40",
        "0x.00000000000000000000001p100", "0x1.00000000000008p0", "0x1.000000000000080000001p0",
        "inf", "-INF", "Infinity", "infinit", "infinityy", "+iNfInItY", "nan", "-NaN", "nan()", "nan(abc_123)",
        "nan(", "nan(a b)", "nan(@)", "nanx", "in", "n", "i", "1e400", "-1e400", "1e-400", "-1e-400",
        "4.9406564584124654e-324", "2.4703282292062327e-324", "2.4703282292062328e-324", "2.2250738585072011e-308",
        "1.7976931348623157e308", "1.7976931348623158e308", "1.7976931348623159e308", "9007199254740993",
        "9007199254740993.0000000000000000000001", "1e99999999999999999999", "1e-99999999999999999999",
        "0e99999999999999999999", "00000000000000000000000000000001", "1e0000000000000000000000000000308",
        "123456789012345678901234567890e-330", "0.000000000000000000000000000000001e-300",
        // Digits times an exact power of ten, which x87 arithmetic in extended
        // precision would round twice (32-bit x86).
        "41029111437511e22", "827309153817578e18", "387552744320263e22", "805469104144535e15",
        "538831570720421e7", "990244942995753e20",
    };
    for (const char* t : textes) EXPECT_TRUE(LuCommeStrtod(t));
    // A number longer than any double: 400 zeros around a digit, 4000 nines.
    EXPECT_TRUE(LuCommeStrtod("0." + zeros + "1e400"));
    EXPECT_TRUE(LuCommeStrtod("1" + zeros + "e-400"));
    EXPECT_TRUE(LuCommeStrtod("1" + zeros + zeros + "e-500"));
    EXPECT_TRUE(LuCommeStrtod("0." + zeros + zeros + "1e1000"));
    EXPECT_TRUE(LuCommeStrtod(std::string(4000, '9')));
    EXPECT_TRUE(LuCommeStrtod("0x" + zeros + "1p-1600"));
}

// Random texts built from the grammar's pieces and some that end it.
std::string TexteAuHasard(std::mt19937_64& hasard) {
    auto tirage = [&](int n) { return static_cast<int>(hasard() % static_cast<std::uint64_t>(n)); };
    auto chiffres = [&](int n, const char* alphabet, int taille) {
        std::string s;
        for (int i = 0; i < n; ++i) s += alphabet[tirage(taille)];
        return s;
    };
    std::string t;
    if (tirage(4) == 0) t += chiffres(tirage(3) + 1, " \t\n\v\f\r", 6);
    if (tirage(3) == 0) t += "+-"[tirage(2)];
    if (tirage(40) == 0) t += "+-"[tirage(2)];
    switch (tirage(6)) {
        case 0: {  // a short number: digits times an exact power of ten
            t += std::to_string(hasard() % 1000000000000000ULL);
            t += "e" + std::to_string(tirage(45) - 22);
            break;
        }
        case 1:
        case 2: {  // a decimal number of any length and exponent
            if (tirage(5) == 0) t += std::string(tirage(30), '0');
            t += chiffres(tirage(25), "0123456789", 10);
            if (tirage(2)) t += "." + chiffres(tirage(25), "0123456789", 10);
            if (tirage(2)) {
                t += "eE"[tirage(2)];
                if (tirage(2)) t += "+-"[tirage(2)];
                t += std::to_string(tirage(2) ? tirage(700) : tirage(30));
            }
            break;
        }
        case 3: {  // hexadecimal
            t += tirage(2) ? "0x" : "0X";
            t += chiffres(tirage(20), "0123456789abcdefABCDEF", 22);
            if (tirage(2)) t += "." + chiffres(tirage(20), "0123456789abcdefABCDEF", 22);
            if (tirage(2)) {
                t += "pP"[tirage(2)];
                if (tirage(2)) t += "+-"[tirage(2)];
                t += std::to_string(tirage(2300));
            }
            break;
        }
        case 4: {  // the words, in any case
            const char* const mots[] = {"inf", "infinity", "nan", "nan(", "nan()", "nan(x_9)", "in", "infinit"};
            for (const char* c = mots[tirage(8)]; *c; ++c) t += tirage(2) ? *c : static_cast<char>(std::toupper(*c));
            break;
        }
        default:  // an exact double, as "%a" and "%.17g" write it
            double x;
            const std::uint64_t bits = hasard();
            std::memcpy(&x, &bits, sizeof x);
            char texte[64];
            std::snprintf(texte, sizeof texte, tirage(2) ? "%a" : "%.17g", x);
            t += texte;
    }
    // What follows the number: more characters that could continue it, or not.
    t += chiffres(tirage(4), "0123456789.eEpPxX+-@ ,aZ()_", 27);
    return t;
}

TEST(TextNumbers, ReadLikeStrtodOnRandomTexts) {
    SANS_REFERENCE_ICI();
    std::mt19937_64 hasard(20091);
    int echecs = 0;
    for (int i = 0; i < 100000 && echecs < 10; ++i) {
        const std::string texte = TexteAuHasard(hasard);
        const ::testing::AssertionResult r = LuCommeStrtod(texte);
        EXPECT_TRUE(r);
        if (!r) ++echecs;
    }
}

// What the atof of the text interface's first systems never read: hexadecimal
// numbers are their "0", the words no number.
TEST(TextNumbers, HexadecimalAndWordsAreNoNumbers) {
    const struct {
        const char* texte;
        long lus;
    } cas[] = {{"0x1p4", 1}, {"-0X.8P-2", 2}, {" 0x1", 2}, {"inf", 0}, {"-Infinity", 0}, {"+nan(1)", 0}, {" NaN", 0}};
    for (const auto& c : cas) {
        const char* fin = nullptr;
        const double lu = Texte2Reel(c.texte, c.texte + std::strlen(c.texte), &fin);
        EXPECT_EQ(lu, 0.0) << c.texte;
        EXPECT_EQ(fin - c.texte, c.lus) << c.texte;
    }
}

// The whole text as a number, as the programs read their fields: where strtod
// reads all of a decimal text, without white space before it, to a finite
// double that is not a number rounded to zero, the same double; otherwise none.
TEST(TextNumbers, WholeTextReadsWhatStrtodReads) {
    SANS_REFERENCE_ICI();
    std::mt19937_64 hasard(1990);
    int lus = 0;
    for (int i = 0; i < 200000; ++i) {
        const std::string texte = i % 2 ? TexteAuHasard(hasard)
                                        : std::to_string(static_cast<long long>(hasard() % 20000000) - 10000000) +
                                              "." + std::to_string(hasard() % 1000000);
        char* fin = nullptr;
        errno = 0;
        const double attendu = std::strtod(texte.c_str(), &fin);
        const bool nombre = !texte.empty() && texte.find_first_not_of(DECIMAL) == std::string::npos &&
                            fin == texte.c_str() + texte.size() && std::isfinite(attendu) &&
                            !(attendu == 0.0 && errno == ERANGE);
        double valeur = 0.0;
        ASSERT_EQ(Texte2ReelComplet(texte.data(), texte.data() + texte.size(), &valeur), nombre) << texte;
        if (nombre) {
            ASSERT_TRUE(MemeReel(valeur, attendu)) << texte;
        }
        lus += nombre;
    }
    EXPECT_GT(lus, 50000);
}

TEST(TextNumbers, WriteLikeSnprintfOnTheEdges) {
    SANS_REFERENCE_ICI();
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double valeurs[] = {0.0, -0.0, 1.0, -1.0, 0.5, 0.0625, 0.0005, -0.0005, 0.00049999999999999999, 0.0015,
                              0.0025, 1.0005, 2.675, 0.125, -0.125, 0.000000005, 0.000000015, 0.001953125,
                              -0.001953125, 1e-7, 1e-9, -1e-9, 2199999.998381685, 600000.0, 6600000.0, 46.5,
                              48.85, 2.35, -9999.0, 9007199254740993.0, 1e15, 1e16, 1e22, 1e23, 1.5e300,
                              DBL_MAX, -DBL_MAX, DBL_MIN, -DBL_MIN, DBL_TRUE_MIN, -DBL_TRUE_MIN, inf, -inf, nan,
                              -nan};
    for (double x : valeurs)
        for (int d : {0, 1, 2, 3, 8, 17}) EXPECT_TRUE(EcritCommeSnprintf(x, d));
}

TEST(TextNumbers, WriteLikeSnprintfOnRandomDoubles) {
    SANS_REFERENCE_ICI();
    const double inf = std::numeric_limits<double>::infinity();
    std::mt19937_64 hasard(20151231);
    int echecs = 0;
    auto verifie = [&](double x) {
        for (int d : {3, 8}) {
            const ::testing::AssertionResult r = EcritCommeSnprintf(x, d);
            EXPECT_TRUE(r);
            if (!r) ++echecs;
        }
    };
    for (int i = 0; i < 10000 && echecs < 10; ++i) {
        // Any bit pattern: every exponent, subnormals, infinities and NaNs.
        double x;
        const std::uint64_t bits = hasard();
        std::memcpy(&x, &bits, sizeof x);
        verifie(x);
        // Dyadic numbers n / 2^k: their decimal expansion ends, and many end
        // exactly halfway between two texts; and the doubles on either side.
        const double n = static_cast<double>(hasard() >> (11 + hasard() % 40));
        const double dyadique = std::ldexp(hasard() % 2 ? -n : n, -static_cast<int>(1 + hasard() % 60));
        verifie(dyadique);
        verifie(std::nextafter(dyadique, inf));
        verifie(std::nextafter(dyadique, -inf));
        // Degrees and metres as the engine writes them.
        verifie(std::ldexp(static_cast<double>(hasard() >> 11), -53) * 360.0 - 180.0);
        verifie(std::ldexp(static_cast<double>(hasard() >> 11), -53) * 1.0e7);
    }
}

// Degrees and metres below 1e10 with up to 9 decimals, many of them halfway
// between two texts.
TEST(TextNumbers, WriteLikeSnprintfBelowTenBillion) {
    SANS_REFERENCE_ICI();
    std::mt19937_64 hasard(1075);
    auto compare = [](double x, int d) { ASSERT_TRUE(EcritCommeSnprintf(x, d)); };
    const double bords[] = {0.0, -0.0, 1e10, -1e10, std::nextafter(1e10, 0.0), 9999999999.999999, 0.5, -0.5, 1.5,
                            2.5, 0.000000005, 0.0000000050000000000000001, DBL_TRUE_MIN, -DBL_MIN, 0.125, 0.0625};
    for (double x : bords)
        for (int d = 0; d <= 9; ++d) compare(x, d);
    for (int i = 0; i < 100000; ++i) {
        const int d = i % 10;
        // Dyadic numbers, many of them halfway, at every scale below 1e10.
        const double n = static_cast<double>(hasard() >> (30 + hasard() % 34));
        const double x = std::ldexp(hasard() % 2 ? -n : n, -static_cast<int>(hasard() % 64));
        compare(x, d);
        compare(std::nextafter(x, 1e10), d);
        // Any magnitude from 1e-12 to 1e10.
        compare(std::ldexp(static_cast<double>(hasard() >> 11), -53) * std::pow(10.0, static_cast<int>(hasard() % 23) - 12), d);
    }
}

TEST(TextNumbers, WrittenOnlyWhenTheyFit) {
    char texte[16];
    // "-1234.500" is 9 characters: it fits in 9, not in 8; no terminator is added.
    std::memset(texte, '#', sizeof texte);
    const char* fin = Reel2Texte(-1234.5, 3, texte, texte + 9);
    ASSERT_NE(fin, nullptr);
    EXPECT_EQ(std::string(texte, fin - texte), "-1234.500");
    EXPECT_EQ(texte[9], '#');
    EXPECT_EQ(Reel2Texte(-1234.5, 3, texte, texte + 8), nullptr);
    EXPECT_EQ(Reel2Texte(-1e300, 3, texte, texte + sizeof texte), nullptr);
}

}  // namespace
