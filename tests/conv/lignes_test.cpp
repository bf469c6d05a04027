// The line handling of geokern-conv, in-process: what a line becomes, for
// every separator, every kind of failure and any cut of the input.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "conversion.h"
#include "points.h"
#include "systemes.h"

using namespace geokern_conv;

namespace {

const Systeme& S(Liste_SysCoord code) { return *SystemeDeCode(code); }

struct Ligne {
    std::string sortie;
    Bilan bilan;
};

Ligne Convertit(Liste_SysCoord de, Liste_SysCoord vers, std::string_view ligne, bool precision = false) {
    ConvertisseurLignes convertisseur(S(de), S(vers), precision);
    Ligne resultat{};
    resultat.bilan = convertisseur.Convertit(ligne, resultat.sortie);
    return resultat;
}

// Collects the failures of an input.
struct Releve final : Rapporteur {
    std::vector<std::pair<std::uint64_t, std::string>> echecs;
    void Echec(std::uint64_t ligne, const char* raison) override { echecs.emplace_back(ligne, raison); }
};

// An input fed in pieces of the given size.
std::string ConvertitEntree(Liste_SysCoord de, Liste_SysCoord vers, const std::string& entree, std::size_t morceau,
                            Releve& releve, bool entete = false, bool precision = false) {
    ConvertisseurLignes convertisseur(S(de), S(vers), precision);
    EntreeLignes lignes(convertisseur, entete, releve);
    std::string sortie;
    for (std::size_t i = 0; i < entree.size(); i += morceau)
        lignes.Ajoute(entree.data() + i, std::min(morceau, entree.size() - i), sortie);
    lignes.Termine(sortie);
    return sortie;
}

TEST(ConvLignes, EverySeparatorKeepsItsPlaceAndTheRestOfTheLine) {
    // prefix, separator between the numbers, rest of the line
    const std::vector<std::vector<std::string>> formes = {
        {"", " ", ""},        {"", "\t", ""},          {"", ";", ""},        {"", ",", ""},
        {"", "   ", " Paris"}, {"  ", " ; ", "; 75 ; x"}, {"\t", ", ", ", a,b"}, {"", "\t", "\tT1\t\t"},
        {"", ";", ";"},       {"", ",", ",,"},         {"", " ", "  # not a comment here"}};
    const std::pair<Liste_SysCoord, Liste_SysCoord> routes[] = {
        {WGS84GG, NTFL2E}, {NTFL2E, RGF93L93}, {RGF93L93, NTFGG}, {NTFL1C, NTFL4}};
    for (const auto& [de, vers] : routes) {
        for (const COORDONNEES_TYPE_NC& wgs84 : PointsFrance()) {
            const auto [x, y] = TexteDans(S(de), wgs84);
            const auto [rx, ry] = TexteMoteur(x, y, de, vers);
            for (const auto& f : formes) {
                const std::string ligne = f[0] + x + f[1] + y + f[2];
                const Ligne r = Convertit(de, vers, ligne);
                if (rx.empty()) {
                    EXPECT_EQ(r.bilan.issue, Issue::Echec) << ligne;
                    EXPECT_EQ(r.sortie, f[0] + "*" + f[1] + "*" + f[2]);
                } else {
                    EXPECT_EQ(r.bilan.issue, Issue::Convertie) << ligne;
                    EXPECT_EQ(r.sortie, f[0] + rx + f[1] + ry + f[2]);
                }
            }
        }
    }
}

TEST(ConvLignes, BlankLinesAndCommentsPassThrough) {
    for (const char* ligne : {"", " ", "\t \t", "#", "# x y", "   # 2.35 48.85", "\t#;;", "#\x01\xff"}) {
        const Ligne r = Convertit(WGS84GG, NTFL2E, ligne);
        EXPECT_EQ(r.bilan.issue, Issue::Recopiee) << ligne;
        EXPECT_EQ(r.sortie, ligne);
    }
}

TEST(ConvLignes, UnreadableLinesGetMarkersInPlaceOfTheirFirstTwoFields) {
    struct Cas {
        std::string ligne, sortie, raison;
    };
    const std::string nul("2.35\0 48.85", 11);
    const std::vector<Cas> cas = {
        {"abc def x", "* * x", "premier nombre illisible"},
        {"2.35 def", "* *", "second nombre illisible"},
        {"2.35", "* *", "second nombre manquant"},
        {"2.35;", "*;*", "second nombre manquant"},
        {"2.35;;48.85;P", "*;*;48.85;P", "second nombre manquant"},
        {";2.35;48.85", "*;*;48.85", "premier nombre manquant"},
        {"2.35 48.85abc P", "* * P", "second nombre illisible"},
        {"0x1p1 48.85", "* *", "premier nombre illisible"},
        {"+-2 48.85", "* *", "premier nombre illisible"},
        {"1e400 48.85", "* *", "premier nombre illisible"},
        {"2.35 inf", "* *", "second nombre illisible"},
        {"nan 48.85", "* *", "premier nombre illisible"},
        {"2.35 48.85\r P", "* * P", "second nombre illisible"},
        {nul, "* *", "premier nombre illisible"},
        // Decimal commas, as a French spreadsheet writes them.
        {"2,35;48,85;Paris", "*;*;Paris", "virgule dans le premier nombre"},
        {"2,35\t48,85", "*\t*", "virgule dans le premier nombre"},
        {"2.35;48,85", "*;*", "virgule dans le second nombre"},
        {"2,35 48,85", "*,* 48,85", "virgule décimale"},
        // The engine's own failure marker as input.
        {"-9999 46", "* *", "-9999"},
        {"-9999.000 46", "* *", "-9999"},
    };
    for (const Cas& c : cas) {
        const Ligne r = Convertit(WGS84GG, NTFL2E, c.ligne);
        EXPECT_EQ(r.bilan.issue, Issue::Echec) << c.ligne;
        EXPECT_EQ(r.sortie, c.sortie) << c.ligne;
        ASSERT_NE(r.bilan.raison, nullptr);
        EXPECT_NE(std::string(r.bilan.raison).find(c.raison), std::string::npos) << r.bilan.raison;
    }
    // A leading '+' is a number's own sign.
    EXPECT_EQ(Convertit(WGS84GG, NTFL2E, "+2.35 +48.85").sortie, Convertit(WGS84GG, NTFL2E, "2.35 48.85").sortie);
}

TEST(ConvLignes, PointsTheEngineCannotTransformAreMarkedWithTheirReason) {
    // Outside the datum-shift grid on a grid route; the same point from WGS84 needs no grid.
    Ligne r = Convertit(RGF93GG, NTFL2E, "20 46 Budapest");
    EXPECT_EQ(r.bilan.issue, Issue::Echec);
    EXPECT_EQ(r.sortie, "* * Budapest");
    EXPECT_NE(std::string(r.bilan.raison).find("GR3DF97A"), std::string::npos);
    EXPECT_EQ(Convertit(WGS84GG, NTFL2E, "20 46 Budapest").bilan.issue, Issue::Convertie);
    // A result too long for the engine's 39-character text.
    r = Convertit(NTFL2, NTFL2, "1e30 1e30");
    EXPECT_EQ(r.bilan.issue, Issue::Echec);
    EXPECT_EQ(r.sortie, "* *");
    // A result that is not a number.
    r = Convertit(NTFGG, NTFL2E, "0 -90");
    EXPECT_EQ(r.bilan.issue, Issue::Echec);
    EXPECT_EQ(r.sortie, "* *");
}

// Property: a route goes through the grid exactly when the engine fails on a
// point outside it, and a system's unit is the format the engine writes.
TEST(ConvSystemes, GridRoutesAndUnitsAgreeWithTheEngine) {
    const COORDONNEES_TYPE_NC hors_grille = {20.0, 46.0};
    const COORDONNEES_TYPE_NC paris = {2.35, 48.85};
    for (const Systeme& de : SYSTEMES) {
        for (const Systeme& vers : SYSTEMES) {
            const COORDONNEES_TYPE_NC p = SysCoord2SysCoord(hors_grille, WGS84GG, de.code);
            const COORDONNEES_TYPE_NC q = SysCoord2SysCoord(p, de.code, vers.code);
            EXPECT_EQ(q.x_lambda == -9999.0, RouteParLaGrille(de, vers)) << de.nom << " -> " << vers.nom;
            const auto [x, y] = TexteDans(de, paris);
            const auto [rx, ry] = TexteMoteur(x, y, de.code, vers.code);
            const std::size_t decimales = rx.size() - rx.find('.') - 1;
            EXPECT_EQ(decimales, vers.geographique ? 8u : 3u) << vers.nom;
        }
    }
}

TEST(ConvSystemes, NamesInAnyCaseAndCodes) {
    for (const Systeme& s : SYSTEMES) {
        std::string minuscules = s.nom;
        for (char& c : minuscules) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_EQ(TrouveSysteme(s.nom), &s);
        EXPECT_EQ(TrouveSysteme(minuscules), &s);
        EXPECT_EQ(TrouveSysteme(std::to_string(static_cast<int>(s.code))), &s);
        EXPECT_EQ(SystemeDeCode(s.code), &s);
    }
    EXPECT_EQ(TrouveSysteme("08"), SystemeDeCode(NTFL2E));
    EXPECT_EQ(TrouveSysteme("epsg:27572"), SystemeDeCode(NTFL2E));
    const std::string apres = std::to_string(SYSTEMES.size() + 1);
    for (const char* inconnu : {"", "0", apres.c_str(), "-1", "+8", "8.0", "NTFL2EX", "NTF L2E", "WGS84", "100",
                                "Lambert93", "EPSG:1234"})
        EXPECT_EQ(TrouveSysteme(inconnu), nullptr) << inconnu;
    EXPECT_EQ(TrouveSysteme(std::string_view("NTFL2E\0", 7)), nullptr);
}

TEST(ConvEntree, LineEndsAndCutsOfTheInput) {
    // LF and CRLF kept, a last line without LF gets one; the result is the
    // same whatever the size of the pieces the input comes in.
    const std::string entree = "2.35 48.85 a\r\n# c\r\n\r\n-1.5;47.2;b\nx y\r\n\n3 46";
    Releve r1;
    const std::string attendu = ConvertitEntree(WGS84GG, RGF93GG, entree, entree.size(), r1);
    EXPECT_EQ(attendu,
              "2.35000000 48.85000000 a\r\n# c\r\n\r\n-1.50000000;47.20000000;b\n* *\r\n\n3.00000000 46.00000000\n");
    ASSERT_EQ(r1.echecs.size(), 1u);
    EXPECT_EQ(r1.echecs[0].first, 5u);
    for (std::size_t morceau = 1; morceau < entree.size(); ++morceau) {
        Releve r;
        EXPECT_EQ(ConvertitEntree(WGS84GG, RGF93GG, entree, morceau, r), attendu) << morceau;
        EXPECT_EQ(r.echecs, r1.echecs);
    }
    // A byte-order mark (a file saved as "UTF-8" by Excel) is kept, and the
    // first line is read without it.
    const std::string bom = programs::kszByteOrderMark;
    for (std::size_t morceau = 1; morceau < 6; ++morceau) {
        Releve r;
        EXPECT_EQ(ConvertitEntree(WGS84GG, RGF93GG, bom + entree, morceau, r), bom + attendu) << morceau;
        EXPECT_EQ(r.echecs, r1.echecs);
    }
    Releve vide;
    EXPECT_EQ(ConvertitEntree(WGS84GG, RGF93GG, bom, 1, vide), bom);
    EXPECT_EQ(ConvertitEntree(WGS84GG, RGF93GG, "", 1, vide), "");
    EXPECT_EQ(ConvertitEntree(WGS84GG, RGF93GG, "\n", 1, vide), "\n");
    EXPECT_EQ(ConvertitEntree(WGS84GG, RGF93GG, "\r", 1, vide), "\r\n");
}

TEST(ConvEntree, EveryLineOfABlockGetsItsOwnResult) {
    // More lines than blocks take, points (some outside the grid) among
    // failures, comments and blank lines, with the precision columns: each
    // line gets the result and the failure it gets alone, whatever the cuts.
    const std::vector<COORDONNEES_TYPE_NC> points = PointsFrance();
    const char* const autres[] = {"# c", "abc 1", "", "1e9 1e9 loin", "-9999 2400000", "600000,5;2400000"};
    ConvertisseurLignes seul(S(NTFL2E), S(RGF93L93), true);
    std::string entree, attendu;
    std::vector<std::pair<std::uint64_t, std::string>> echecs;
    for (std::uint64_t n = 1; n <= 2 * ConvertisseurLignes::LIGNES_BLOC + 100; ++n) {
        const auto [x, y] = TexteDans(S(NTFL2E), points[n % points.size()]);
        const std::string ligne = n % 4 != 0 ? x + " " + y + " P" + std::to_string(n) : autres[n / 4 % std::size(autres)];
        const char* fin = n % 3 != 0 ? "\n" : "\r\n";
        entree += ligne + fin;
        const Bilan bilan = seul.Convertit(ligne, attendu);
        attendu += fin;
        if (bilan.issue == Issue::Echec) echecs.emplace_back(n, bilan.raison);
    }
    for (const std::size_t morceau : {entree.size(), std::size_t{4096}, std::size_t{7}}) {
        Releve r;
        EXPECT_EQ(ConvertitEntree(NTFL2E, RGF93L93, entree, morceau, r, false, true), attendu) << morceau;
        EXPECT_EQ(r.echecs, echecs) << morceau;
    }
}

TEST(ConvEntree, HeaderLinePassesThroughOnlyWhenAsked) {
    const std::string entree = "lon;lat;nom\r\n2.35;48.85;Paris\r\n";
    Releve sans, avec;
    EXPECT_EQ(ConvertitEntree(WGS84GG, RGF93GG, entree, 7, avec, true), "lon;lat;nom\r\n2.35000000;48.85000000;Paris\r\n");
    EXPECT_TRUE(avec.echecs.empty());
    EXPECT_EQ(ConvertitEntree(WGS84GG, RGF93GG, entree, 7, sans, false), "*;*;nom\r\n2.35000000;48.85000000;Paris\r\n");
    EXPECT_EQ(sans.echecs.size(), 1u);
}

TEST(ConvEntree, HugeAndBinaryLinesLoseNothing) {
    // A 10 MB line of digits, one of letters (past the longest line read:
    // not kept), one of NUL bytes (the longest line read): each gives one
    // marked line, its CR LF end kept, and the lines around them are converted.
    const std::string chiffres(10 << 20, '7'), lettres(10 << 20, 'x'), nuls(programs::kMaxLineBytes, '\0');
    const std::string entree = "1 46\n" + chiffres + " 46 a\n" + lettres + "\r\n2 46\n" + nuls + "\n3 46";
    for (const std::size_t morceau : {std::size_t{1} << 16, entree.size()}) {
        Releve r;
        const std::string sortie = ConvertitEntree(WGS84GG, RGF93GG, entree, morceau, r);
        EXPECT_EQ(sortie, "1.00000000 46.00000000\n* *\n* *\r\n2.00000000 46.00000000\n* *\n3.00000000 46.00000000\n");
        ASSERT_EQ(r.echecs.size(), 3u);
        EXPECT_EQ(r.echecs[1], std::make_pair(std::uint64_t{3}, std::string(programs::kszLineTooLong)));
        EXPECT_EQ(r.echecs[2].first, 5u);
    }
}

TEST(ConvPrecision, CodesAndMeaningsFollowTheLineSeparator) {
    // Every converted point of a grid route gets a code of the table and its
    // meaning; a failed one gets two markers.
    for (const char* sep : {" ", ";", ",", "\t"}) {
        for (const COORDONNEES_TYPE_NC& wgs84 : PointsFrance()) {
            const auto [x, y] = TexteDans(S(NTFL2E), wgs84);
            const std::string ligne = x + sep + y + sep + "id";
            const Ligne r = Convertit(NTFL2E, RGF93L93, ligne, true);
            const Ligne simple = Convertit(NTFL2E, RGF93L93, ligne, false);
            if (r.bilan.issue == Issue::Echec) {
                EXPECT_EQ(r.sortie, simple.sortie + sep + "*" + sep + "*");
                continue;
            }
            // The line as without the option, then separator, code, separator, meaning.
            bool connu = false;
            for (const PrecisionGrille& p : PRECISIONS_GRILLE) {
                char code[8];
                std::snprintf(code, sizeof code, "%02d", p.code);
                connu = connu || r.sortie == simple.sortie + sep + code + sep + p.sens;
            }
            EXPECT_TRUE(connu) << r.sortie;
        }
    }
}

#ifndef _WIN32
// The meanings are those of the grid file's own header (GR3D3 PREC CM 01:5
// 02:10 ...), and every code the grid holds has one.
TEST(ConvPrecision, TableIsTheGridHeaders) {
    std::ifstream grille(GEOKERN_SOURCE_DIR "/engine/resources/gr3df97a.txt");
    ASSERT_TRUE(grille.good());
    std::string ligne;
    std::map<int, std::string> entete;
    std::map<int, int> noeuds;
    while (std::getline(grille, ligne)) {
        std::istringstream champs(ligne);
        if (ligne.rfind(" GR3D3", 0) == 0) {
            // " GR3D3 PREC CM 01:5 02:10 03:20 04:50 99>100"
            std::string mot;
            while (champs >> mot) {
                const std::size_t signe = mot.find_first_of(":>");
                if (signe == std::string::npos || signe == 0) continue;
                entete[std::stoi(mot.substr(0, signe))] =
                    (mot[signe] == '>' ? ">" : "") + mot.substr(signe + 1) + "cm";
            }
        } else if (ligne.rfind(" GR3D", 0) != 0) {
            std::string numero, lon, lat, tx, ty, tz;
            int code = 0;
            if (champs >> numero >> lon >> lat >> tx >> ty >> tz >> code) ++noeuds[code];
        }
    }
    ASSERT_EQ(entete.size(), std::size(PRECISIONS_GRILLE));
    for (const PrecisionGrille& p : PRECISIONS_GRILLE) EXPECT_EQ(entete[p.code], p.sens) << p.code;
    ASSERT_FALSE(noeuds.empty());
    for (const auto& [code, nombre] : noeuds) EXPECT_EQ(entete.count(code), 1u) << code << " (" << nombre << " nodes)";
}
#endif

}  // namespace
