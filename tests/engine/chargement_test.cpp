// The DLL as a client meets it: loaded by path with LoadLibraryA, which runs its
// entry point, and every export bound by its plain name.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "geokern2.h"

namespace {

std::string Chemin(const char* variable) {
    const char* valeur = std::getenv(variable);
    return valeur != nullptr ? valeur : "";
}

template <typename T>
T Lie(HMODULE module, const char* nom) {
    return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, nom)));
}

TEST(DllLoading, EveryExportWorksThroughGetProcAddress) {
    HMODULE module = LoadLibraryA(Chemin("GEOKERN_DLL").c_str());
    ASSERT_NE(module, nullptr) << GetLastError();

    auto lecture = Lie<LIGNE_GRILLE_GR3DF97A(GEOKERN_APPEL*)(double, double)>(module, "LectureGrille_GR3DF97A");
    auto datum = Lie<decltype(&ChangementDatum)>(module, "ChangementDatum");
    auto geo2proj = Lie<decltype(&SysGeo2SysProj)>(module, "SysGeo2SysProj");
    auto proj2geo = Lie<decltype(&SysProj2SysGeo)>(module, "SysProj2SysGeo");
    auto lambert = Lie<decltype(&Lambert2Lambert)>(module, "Lambert2Lambert");
    auto sys = Lie<PFN_SysCoord2SysCoord>(module, "SysCoord2SysCoord");
    auto texte = Lie<decltype(&CSysCoord2SysCoord)>(module, "CSysCoord2SysCoord");
    ASSERT_TRUE(lecture && datum && geo2proj && proj2geo && lambert && sys && texte);

    const LIGNE_GRILLE_GR3DF97A noeud = lecture(2.35, 48.85);
    EXPECT_EQ(noeud.Tx, -168.329);
    EXPECT_EQ(noeud.Code_precision, 1);

    const COORDONNEES_TYPE_NC l93 = sys({3.0, 46.5}, RGF93GG, RGF93L93);
    EXPECT_EQ(l93.x_lambda, 700000.0);
    EXPECT_EQ(l93.y_phi, 6600000.0);
    EXPECT_STREQ(texte("3.0@46.5", RGF93GG, RGF93L93), "700000.000@6600000.000");

    // The lower-level exports with records the caller fills itself.
    PARAMETRES_SYSTEME_COORDONNNEES l2e = {};
    l2e.n = 0.728968627421412; l2e.C = 11745793.3934; l2e.Xs = 600000.0; l2e.Ys = 8199695.768;
    l2e.IsProjection = 1; l2e.Datum = 0;
    l2e.ellipsoide_DemiGrdAxe = 6378249.2; l2e.ellipsoide_DemiPetitAxe = 6356515.0;
    l2e.ellipsoide_Excentricite = 0.0824832567634177; l2e.LAMBDA_ZERO = 0.0407923443319766;
    PARAMETRES_SYSTEME_COORDONNNEES rgf = {};
    rgf.Datum = 2; rgf.ellipsoide_DemiGrdAxe = 6378137.0; rgf.ellipsoide_DemiPetitAxe = 6356752.314;

    const COORDONNEES_GEOGRAPHIQUES paris = {0.041015237421866, 0.852593986};
    const COORDONNEES_PLANES plan = geo2proj(paris, l2e);
    const COORDONNEES_GEOGRAPHIQUES retour = proj2geo(plan, l2e);
    EXPECT_NEAR(retour.lambda, paris.lambda, 1e-12);
    EXPECT_NEAR(retour.phi, paris.phi, 1e-10);
    const COORDONNEES_PLANES meme = lambert(plan, l2e, l2e);
    EXPECT_NEAR(meme.x, plan.x, 1e-6);
    const COORDONNEES_GEOGRAPHIQUES decale = datum(paris, l2e, rgf);
    EXPECT_NE(decale.phi, -9999.0);
    EXPECT_NEAR(decale.lambda, paris.lambda, 1e-4);

    // The same function through the dispatcher as through the DLL's import.
    const COORDONNEES_TYPE_NC calc = sys({2.35, 48.85}, WGS84GG, NTFL2E);
    EXPECT_STREQ(texte("2.35@48.85", WGS84GG, NTFL2E), "600990.892@2427961.512");
    EXPECT_EQ(calc.x_lambda, 600990.892);
}

TEST(DllLoading, LibraryWithoutItsGridRefusesToLoad) {
    const std::string chemin = Chemin("GEOKERN_SANS_GRILLE_DLL");
    ASSERT_FALSE(chemin.empty());
    ASSERT_NE(GetFileAttributesA(chemin.c_str()), INVALID_FILE_ATTRIBUTES);
    SetErrorMode(SEM_FAILCRITICALERRORS);
    EXPECT_EQ(LoadLibraryA(chemin.c_str()), nullptr);
}

}  // namespace
