#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "interne.h"
#ifdef _WIN32
#include "ressource.h"
#endif

namespace {

struct Noeud {
    int indice;
    double Tx, Ty, Tz;
    int code;
};

// The record is packed: its doubles are compared as copies, never bound by
// reference where they may sit on a 4-byte boundary.
void AttendNoeud(const LIGNE_GRILLE_GR3DF97A& l, const Noeud& n) {
    const double Tx = l.Tx, Ty = l.Ty, Tz = l.Tz;
    const int code = l.Code_precision;
    EXPECT_EQ(Tx, n.Tx);
    EXPECT_EQ(Ty, n.Ty);
    EXPECT_EQ(Tz, n.Tz);
    EXPECT_EQ(code, n.code);
}

void AttendMemeNoeud(const LIGNE_GRILLE_GR3DF97A& l, int indice) {
    const LIGNE_GRILLE_GR3DF97A n = lpGrille_IGN()[indice];
    AttendNoeud(l, {indice, n.Tx, n.Ty, n.Tz, n.Code_precision});
}

TEST(GridResource, IsThePublishedGridIn28ByteRecords) {
#ifdef _WIN32
    ASSERT_NE(rsrc, nullptr);
    ASSERT_NE(glbmem, nullptr);
    EXPECT_EQ(SizeofResource(hmoduledll, rsrc), 484848u);
#endif  // elsewhere the assembler checks the blob's size
    const Noeud telling[] = {
        {0, -165.027, -67.100, 315.813, 99},    {1, -165.169, -66.948, 316.007, 99},
        {110, -170.342, -59.940, 321.826, 99},  {111, -165.027, -66.983, 315.839, 99},
        {8736, -168.303, -58.694, 320.219, 1},  {17315, -159.541, -64.778, 314.139, 99},
    };
    const auto* noeuds = lpGrille_IGN();
    for (const auto& n : telling) {
        SCOPED_TRACE(n.indice);
        AttendNoeud(noeuds[n.indice], n);
    }
    // Byte layout: record k starts at byte 28 k, the code right after Tz.
    const auto* octets = reinterpret_cast<const unsigned char*>(noeuds);
    int code;
    std::memcpy(&code, octets + 28 * 8736 + 24, 4);
    EXPECT_EQ(code, 1);
}

TEST(GridResource, PrecisionCodeCounts) {
    int compte[100] = {};
    const auto* noeuds = lpGrille_IGN();
    for (int k = 0; k < 17316; ++k) {
        const int c = noeuds[k].Code_precision;
        ASSERT_TRUE(c >= 1 && c <= 99) << k;
        ++compte[c];
    }
    EXPECT_EQ(compte[1], 6979);
    EXPECT_EQ(compte[2], 832);
    EXPECT_EQ(compte[3], 362);
    EXPECT_EQ(compte[4], 4);
    EXPECT_EQ(compte[99], 9139);
}

#ifdef _WIN32
TEST(GridResource, EntryPointIsRepeatable) {
    const HRSRC avant = rsrc;
    const HGLOBAL memoire = glbmem;
    EXPECT_EQ(DllEntryPoint(hmoduledll, 0, nullptr), 1);
    EXPECT_EQ(rsrc, avant);
    EXPECT_EQ(glbmem, memoire);
}
#endif

TEST(GridLookup, ReturnsTheNodeNorthOfTheCellCorner) {
    AttendNoeud(LectureGrille_GR3DF97A(-5.5, 41.0), {1, -165.169, -66.948, 316.007, 99});
    // -5.4 - (-5.5) over 0.1 truncates to 0.
    AttendNoeud(LectureGrille_GR3DF97A(-5.4, 41.0), {1, -165.169, -66.948, 316.007, 99});
    AttendNoeud(LectureGrille_GR3DF97A(2.35, 48.85), {8737, -168.329, -58.658, 320.240, 1});
    AttendNoeud(LectureGrille_GR3DF97A(9.99, 51.99), {17204, -159.691, -64.457, 314.204, 99});
    AttendMemeNoeud(LectureGrille_GR3DF97A(2.0, 46.0), 8376);
    AttendMemeNoeud(LectureGrille_GR3DF97A(0.0, 51.9999), 6215);
}

TEST(GridLookup, OutsideTheGrid) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double dehors[][2] = {{10.0, 45.0}, {0.0, 52.0}, {-5.5000001, 45.0}, {0.0, 40.9999}, {nan, 45.0},
                                {2.0, nan},   {nan, nan},  {inf, 45.0},       {2.0, -inf},   {1e308, 1e308}};
    for (const auto& p : dehors)
        EXPECT_EQ(LectureGrille_GR3DF97A(p[0], p[1]).Code_precision, -9999) << p[0] << " " << p[1];
}

}  // namespace
