// geokern-conv as a user runs it: files and standard input, every pair of
// systems against the engine's text interface, messages and exit statuses.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "conversion.h"
#include "lance.h"
#include "points.h"
#include "systemes.h"

using namespace geokern_conv;

namespace {

const char* const SEPARATEURS[] = {" ", "\t", ";", ",", " ; ", "  "};

// A user's file of the lattice's points in the system, identifiers after the
// numbers, separators varying from line to line, a comment and a blank line,
// and what geokern-conv must write for it towards the target: the engine's
// text results in place of the numbers, or markers. Returns the failures.
int Fichier(const Systeme& de, const Systeme& vers, std::string& entree, std::string& attendu) {
    entree = "# points " + std::string(de.nom) + "\n\n";
    attendu = entree;
    int echecs = 0, n = 0;
    for (const COORDONNEES_TYPE_NC& wgs84 : PointsFrance()) {
        const std::string sep = SEPARATEURS[n % std::size(SEPARATEURS)];
        const std::string suite = sep + "P" + std::to_string(++n) + sep + "attr";
        const auto [x, y] = TexteDans(de, wgs84);
        const auto [rx, ry] = TexteMoteur(x, y, de.code, vers.code);
        entree += x + sep + y + suite + "\n";
        if (rx.empty()) {
            attendu += "*" + sep + "*" + suite + "\n";
            ++echecs;
        } else {
            attendu += rx + sep + ry + suite + "\n";
        }
    }
    return echecs;
}

std::vector<std::pair<const Systeme*, const Systeme*>> Routes() {
    std::vector<std::pair<const Systeme*, const Systeme*>> routes;
#ifdef _WIN32
    // Under wine each start of a program costs most of a second: every system
    // once as a source and once as a target.
    const std::size_t n = SYSTEMES.size();
    for (std::size_t i = 0; i < n; ++i) routes.push_back({&SYSTEMES[i], &SYSTEMES[(i + 7) % n]});
#else
    for (const Systeme& de : SYSTEMES)
        for (const Systeme& vers : SYSTEMES) routes.push_back({&de, &vers});
#endif
    return routes;
}

TEST(ConvProgramme, EveryPairOfSystemsGivesTheEngineTextResults) {
    for (const auto& [de, vers] : Routes()) {
        std::string entree, attendu;
        const int echecs = Fichier(*de, *vers, entree, attendu);
        // By name from a file, by code from standard input.
        const std::string fichier = EcritFichier("points.txt", entree);
        const Execution parNom = LanceConv({de->nom, vers->nom, fichier});
        EXPECT_EQ(parNom.sortie, attendu) << de->nom << " -> " << vers->nom;
        EXPECT_EQ(parNom.statut, echecs > 0 ? 1 : 0) << de->nom << " -> " << vers->nom;
        // Failures are exactly on a grid route, for the points outside the grid.
        EXPECT_EQ(echecs > 0, RouteParLaGrille(*de, *vers)) << de->nom << " -> " << vers->nom;
        const Execution parCode =
            LanceConv({std::to_string(static_cast<int>(de->code)), std::to_string(static_cast<int>(vers->code))}, entree);
        EXPECT_EQ(parCode.sortie, attendu);
        EXPECT_EQ(parCode.statut, parNom.statut);
    }
}

TEST(ConvProgramme, FailedLinesAreReportedWithInputAndLineNumber) {
    const std::string entree = "# en-tete\n2.35 48.85 Paris\n\nabc 48\n20 46 Budapest\r\n2.35\n";
    const std::string fichier = EcritFichier("echecs.txt", entree);
    const Execution e = LanceConv({"rgf93gg", "ntfl2e", fichier});
    EXPECT_EQ(e.statut, 1);
    const std::string paris = TexteMoteur("2.35", "48.85", RGF93GG, NTFL2E).first;
    EXPECT_EQ(e.sortie.substr(0, e.sortie.find('\n', 11) + 1).find("# en-tete\n" + paris), 0u);
    EXPECT_EQ(e.sortie.substr(e.sortie.find("\n\n") + 2), "* *\n* * Budapest\r\n* *\n");
    // One message per failed line, in order: input, line number, reason.
    std::vector<std::string> messages;
    for (std::size_t debut = 0, fin; (fin = e.erreurs.find('\n', debut)) != std::string::npos; debut = fin + 1)
        messages.push_back(e.erreurs.substr(debut, fin - debut));
    ASSERT_EQ(messages.size(), 3u) << e.erreurs;
    EXPECT_EQ(messages[0].find("geokern-conv : " + fichier + ", ligne 4 : "), 0u) << messages[0];
    EXPECT_EQ(messages[1].find("geokern-conv : " + fichier + ", ligne 5 : "), 0u) << messages[1];
    EXPECT_NE(messages[1].find("GR3DF97A"), std::string::npos);
    EXPECT_EQ(messages[2].find("geokern-conv : " + fichier + ", ligne 6 : "), 0u) << messages[2];
}

TEST(ConvProgramme, FilesInOrderAndAnUnreadableOneSkippedWithStatus2) {
    const std::string a = EcritFichier("a.txt", "1 46 a\n2 46 a");  // no final line feed
    const std::string b = EcritFichier("b.txt", "3 46 b\r\n");
    const std::string absent = DossierDeTravail() + "/absent.txt";
    const std::string r1 = TexteMoteur("1", "46", WGS84GG, RGF93GG).first;
    const std::string r2 = TexteMoteur("2", "46", WGS84GG, RGF93GG).first;
    const std::string r3 = TexteMoteur("3", "46", WGS84GG, RGF93GG).first;
    const std::string r46 = TexteMoteur("1", "46", WGS84GG, RGF93GG).second;
    const std::string attendu =
        r1 + " " + r46 + " a\n" + r2 + " " + r46 + " a\n" + r3 + " " + r46 + " b\r\n";

    Execution e = LanceConv({"WGS84GG", "RGF93GG", a, b});
    EXPECT_EQ(e.statut, 0);
    EXPECT_EQ(e.sortie, attendu);
    EXPECT_EQ(e.erreurs, "");

    e = LanceConv({"WGS84GG", "RGF93GG", a, absent, b});
    EXPECT_EQ(e.statut, 2);
    EXPECT_EQ(e.sortie, attendu);
    EXPECT_NE(e.erreurs.find(absent), std::string::npos) << e.erreurs;

    // "-" is standard input, read where it stands among the files.
    e = LanceConv({"WGS84GG", "RGF93GG", b, "-", a}, "2 46 a\n");
    EXPECT_EQ(e.statut, 0);
    EXPECT_EQ(e.sortie, r3 + " " + r46 + " b\r\n" + r2 + " " + r46 + " a\n" + r1 + " " + r46 + " a\n" + r2 + " " +
                            r46 + " a\n");

    // A folder is not a file of points.
    e = LanceConv({"WGS84GG", "RGF93GG", DossierDeTravail()});
    EXPECT_EQ(e.statut, 2);
    EXPECT_EQ(e.sortie, "");
}

#ifndef _WIN32
// A user typing lines gets each answer before typing the next.
TEST(ConvProgramme, EachLineOfAPipeIsAnsweredAtOnce) {
    const auto [x, y] = TexteMoteur("2.35", "48.85", WGS84GG, NTFL2E);
    const std::vector<std::string> reponses =
        DialogueConv({"WGS84GG", "NTFL2E"}, {"2.35 48.85 Paris", "# note", "abc 1", "2.35;48.85"});
    EXPECT_EQ(reponses, (std::vector<std::string>{x + " " + y + " Paris", "# note", "* *", x + ";" + y}));
}
#endif

TEST(ConvProgramme, UsageErrorsWriteNothingAndExitWith2) {
    const std::vector<std::vector<std::string>> erreurs = {
        {},
        {"WGS84GG"},
        {"WGS84", "NTFL2E"},
        {"WGS84GG", std::to_string(SYSTEMES.size() + 1)},
        {"0", "1"},
        {"--inconnue", "1", "2"},
        {"--precision", "WGS84GG", "NTFL2E"},  // no grid on that route
        {"--precision", "NTFL2E", "NTFL2"},
    };
    for (const auto& arguments : erreurs) {
        const Execution e = LanceConv(arguments, "2.35 48.85\n");
        EXPECT_EQ(e.statut, 2);
        EXPECT_EQ(e.sortie, "");
        EXPECT_NE(e.erreurs.find("geokern-conv : "), std::string::npos);
    }
}

TEST(ConvProgramme, OptionsHeaderAndPrecision) {
    Execution e = LanceConv({"--entete", "NTFL2E", "RGF93L93"}, "x;y;nom\n600000;2400000;A\n");
    EXPECT_EQ(e.statut, 0);
    const auto [x, y] = TexteMoteur("600000", "2400000", NTFL2E, RGF93L93);
    EXPECT_EQ(e.sortie, "x;y;nom\n" + x + ";" + y + ";A\n");
    e = LanceConv({"NTFL2E", "RGF93L93", "--precision"}, "600000;2400000;A\n");
    EXPECT_EQ(e.statut, 0);
    EXPECT_EQ(e.sortie.find(x + ";" + y + ";A;"), 0u);
    // A file whose name starts with '-', after "--".
    const std::string fichier = EcritFichier("-points.txt", "600000 2400000\n");
    e = LanceConv({"NTFL2E", "RGF93L93", "--", fichier});
    EXPECT_EQ(e.statut, 0);
    EXPECT_EQ(e.sortie, x + " " + y + "\n");
}

TEST(ConvProgramme, HelpListsTheCatalogue) {
    const Execution e = LanceConv({"--aide"});
    EXPECT_EQ(e.statut, 0);
    for (const Systeme& s : SYSTEMES) {
        EXPECT_NE(e.sortie.find(std::string(" ") + s.nom + " "), std::string::npos) << s.nom;
        EXPECT_NE(e.sortie.find(" " + std::to_string(s.epsg) + "\n"), std::string::npos) << s.epsg;
    }
    for (const PrecisionGrille& p : PRECISIONS_GRILLE) EXPECT_NE(e.sortie.find(p.sens), std::string::npos);
    EXPECT_EQ(LanceConv({"-h"}).sortie, e.sortie);
}

#ifndef _WIN32
// The EPSG codes given for reference are the same systems: PROJ's cs2cs from
// EPSG:4326 (latitude first) to each lands within a metre of geokern-conv from
// WGS84GG (the engine and PROJ share the NTF translation; the rest is rounding).
TEST(ConvProgramme, EpsgCodesAreTheSameSystemsForProj) {
    if (std::system("cs2cs >/dev/null 2>&1 </dev/null") != 0) GTEST_SKIP() << "cs2cs (proj-bin) not installed";
    const double lon = 2.35, lat = 46.85;
    for (const Systeme& s : SYSTEMES) {
        char commande[160];
        std::snprintf(commande, sizeof commande, "echo '%.2f %.2f' | cs2cs -f %%.9f EPSG:4326 EPSG:%d", lat, lon, s.epsg);
        FILE* proj = popen(commande, "r");
        ASSERT_NE(proj, nullptr);
        double a = 0, b = 0;
        const int lus = std::fscanf(proj, "%lf %lf", &a, &b);
        pclose(proj);
        ASSERT_EQ(lus, 2) << commande;
        // PROJ writes a geographic system's latitude first, and its angles in degrees.
        const double unite = std::string(s.unites) == "grades" ? 0.9 : 1.0;
        const double px = (s.geographique ? b : a) / unite, py = (s.geographique ? a : b) / unite;
        const Execution e = LanceConv({"WGS84GG", s.nom}, "2.35 46.85\n");
        double gx = 0, gy = 0;
        ASSERT_EQ(std::sscanf(e.sortie.c_str(), "%lf %lf", &gx, &gy), 2) << e.sortie;
        const double tolerance = s.geographique ? 1e-5 : 1.0;
        EXPECT_NEAR(gx, px, tolerance) << s.nom << " EPSG:" << s.epsg;
        EXPECT_NEAR(gy, py, tolerance) << s.nom << " EPSG:" << s.epsg;
    }
}
#endif

}  // namespace
