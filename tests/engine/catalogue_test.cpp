#include <gtest/gtest.h>

#include "interne.h"

namespace {

PARAMETRES_SYSTEME_COORDONNNEES Charge(int code) { return ChargeConstantes_SysCoord(static_cast<Liste_SysCoord>(code)); }

TEST(Catalogue, CodesOutsideTheCatalogueHaveNoDatum) {
    for (int code : {0, NombreSysCoord() + 1, -1, -9999, 1 << 30}) {
        EXPECT_EQ(Charge(code).Datum, -9999) << code;
        EXPECT_EQ(DescriptionSysCoord(static_cast<Liste_SysCoord>(code)), nullptr) << code;
    }
}

TEST(Catalogue, EllipsoidsAreTheStoredLiterals) {
    for (int code = 1; code <= 9; ++code) {
        const auto z = Charge(code);
        EXPECT_EQ(z.Datum, 0);
        EXPECT_EQ(z.ellipsoide_DemiGrdAxe, 6378249.2);
        EXPECT_EQ(z.ellipsoide_DemiPetitAxe, 6356515.0);
        EXPECT_EQ(z.ellipsoide_Aplatissement, 0.00340754952001565);
        EXPECT_EQ(z.ellipsoide_Excentricite, 0.0824832567634177);
    }
    for (int code : {RGF93L93, RGF93GG}) {
        const auto z = Charge(code);
        EXPECT_EQ(z.Datum, 2);
        EXPECT_EQ(z.ellipsoide_DemiGrdAxe, 6378137.0);
        EXPECT_EQ(z.ellipsoide_DemiPetitAxe, 6356752.314);
        EXPECT_EQ(z.ellipsoide_Aplatissement, 0.003352810681182);
        EXPECT_EQ(z.ellipsoide_Excentricite, 0.081819191042816);
    }
    const auto w = Charge(WGS84GG);
    EXPECT_EQ(w.Datum, 1);
    EXPECT_EQ(w.ellipsoide_DemiGrdAxe, 6378137.0);
    EXPECT_EQ(w.ellipsoide_DemiPetitAxe, 6356752.31424518);
    EXPECT_EQ(w.ellipsoide_Aplatissement, 0.00335281066474748);
    EXPECT_EQ(w.ellipsoide_Excentricite, 0.0818191908426215);
}

TEST(Catalogue, StoredEccentricityIsNotDerivedFromTheAxes) {
    const auto z = Charge(RGF93GG);
    const double a = z.ellipsoide_DemiGrdAxe, b = z.ellipsoide_DemiPetitAxe;
    EXPECT_EQ((a * a - b * b) / (a * a), 0.006694380066764658);
    EXPECT_EQ(z.ellipsoide_Excentricite * z.ellipsoide_Excentricite, 0.006694380022900822);
}

struct Projection {
    int code;
    double n, C, Xs, Ys, Translation_Y;
};

TEST(Catalogue, ProjectionConstants) {
    const double paris = 0.0407923443319766;
    const Projection attendus[] = {
        {NTFL1C, 0.7604059656, 11603796.98, 600000.0, 5657616.674, 1.0},
        {NTFL1, 0.7604059656, 11603796.98, 600000.0, 5657616.674, 0.0},
        {NTFL2, 0.7289686274, 11745793.39, 600000.0, 6199695.768, 0.0},
        {NTFL3C, 0.6959127966, 11947992.52, 600000.0, 6791905.085, 3.0},
        {NTFL3, 0.6959127966, 11947992.52, 600000.0, 6791905.085, 0.0},
        {NTFL4C, 0.6712679322, 12136281.99, 234.358, 7239161.542, 4.0},
        {NTFL4, 0.6712679322, 12136281.99, 234.358, 7239161.542, 0.0},
        {NTFL2E, 0.728968627421412, 11745793.3934, 600000.0, 8199695.768, 0.0},
        {RGF93L93, 0.725607765053267, 11754255.4261, 700000.0, 12655612.0499, 0.0},
    };
    for (const auto& p : attendus) {
        const auto z = Charge(p.code);
        SCOPED_TRACE(p.code);
        EXPECT_EQ(z.IsProjection, 1);
        EXPECT_EQ(z.n, p.n);
        EXPECT_EQ(z.C, p.C);
        EXPECT_EQ(z.Xs, p.Xs);
        EXPECT_EQ(z.Ys, p.Ys);
        EXPECT_EQ(z.Translation_Y, p.Translation_Y);
        EXPECT_EQ(z.LAMBDA_ZERO, p.code == RGF93L93 ? 0.05235987755982989 : paris);
    }
}

TEST(Catalogue, GeographicSystemsHaveNoProjection) {
    for (int code : {NTFGG, WGS84GG, RGF93GG}) {
        const auto z = Charge(code);
        EXPECT_EQ(z.IsProjection, 0);
        EXPECT_EQ(z.n, 0.0);
        EXPECT_EQ(z.C, 0.0);
        EXPECT_EQ(z.Xs, 0.0);
        EXPECT_EQ(z.Ys, 0.0);
        EXPECT_EQ(z.Translation_Y, 0.0);
        EXPECT_EQ(z.LAMBDA_ZERO, 0.0);
    }
}

}  // namespace
