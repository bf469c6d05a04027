// norvane-cli: the calculator's declination for one place and date, or for
// every line of files, without the window.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "ConsoleText.h"
#include "DataFiles.h"
#include "DeclinationGrids.h"
#include "DeclinationLine.h"
#include "systemes.h"

namespace {

constexpr char kszProgram[] = "norvane-cli";
constexpr int kExitOk = 0;
constexpr int kExitLineFailed = 1;
constexpr int kExitUsage = 2;

// Windows-1252, as every text of the calculator.
constexpr char kszHelp[] =
    "Usage : norvane-cli [options] [FICHIER...]\n"
    "        norvane-cli [options] --date DATE --lon X --lat Y\n"
    "\n"
    "D\xE9" "clinaison magn\xE9tique et variation annuelle en France m\xE9tropolitaine, du\n"
    "1er janvier 2009 au 31 d\xE9" "cembre 2015 : le calcul de la calculatrice Norvane,\n"
    "sans sa fen\xEAtre, avec les m\xEAmes grilles et le m\xEAme moteur geokern.\n"
    "\n"
    "Chaque ligne d'entr\xE9" "e donne un lieu : \"date longitude latitude\" (x puis y),\n"
    "champs s\xE9par\xE9s par des espaces, des tabulations, ';' ou ','. Sans FICHIER,\n"
    "ou avec \"-\", l'entr\xE9" "e standard est lue. Les lignes vides et celles qui\n"
    "commencent par '#' sont recopi\xE9" "es telles quelles ; ce qui suit les trois\n"
    "champs est recopi\xE9 \xE0 la fin de la ligne de r\xE9sultat.\n"
    "\n"
    "Dates : 2013-01-01 (ISO) ou 01/01/2013 (jour/mois/ann\xE9" "e).\n"
    "Positions WGS84 en degr\xE9s, point d\xE9" "cimal :\n"
    "  d\xE9" "cimaux sign\xE9s           -1.5  47.2\n"
    "  lettre d'h\xE9misph\xE8re       1.5W  47.2N  1.5 O  (N, S, E, O ou W, sans signe)\n"
    "  degr\xE9s-minutes-secondes   47\xB0" "12'30\"N  47d12m30s N  47:12:30N  1:30:00W\n"
    "Les minutes et les secondes sont des nombres entiers de 0 \xE0 59, comme dans\n"
    "la fen\xEAtre. Avec des lettres d'h\xE9misph\xE8re, la latitude peut venir en\n"
    "premier (47.2N 1.5W).\n"
    "\n"
    "R\xE9sultat : la d\xE9" "clinaison et la variation annuelle s\xE9par\xE9" "es par une\n"
    "tabulation, comme la fen\xEAtre les affiche (\"-0.65 \xB0\" et \"0.15 \xB0/an\").\n"
    "\n"
    "Options :\n"
    "  -d, --date DATE      la date d'un seul lieu (avec --lon et --lat)\n"
    "  -x, --lon X          sa longitude (ou son abscisse, avec --systeme)\n"
    "  -y, --lat Y          sa latitude (ou son ordonn\xE9" "e)\n"
    "  -s, --systeme SYS    positions dans un autre syst\xE8me du catalogue, par son nom\n"
    "                       ou son code ; le moteur les ram\xE8ne en NTF Lambert II\n"
    "                       \xE9tendu, o\xF9 le n\x9Cud de la grille est choisi comme dans\n"
    "                       la calculatrice. Syst\xE8mes (x y) :\n"
    "%SYSTEMS%"
    "  -n, --nombres        nombres seuls, point d\xE9" "cimal, 6 d\xE9" "cimales (degr\xE9s et\n"
    "                       degr\xE9s par an)\n"
    "  -c, --convergence    deux colonnes de plus pour les cartes en Lambert 93 :\n"
    "                       la convergence des m\xE9ridiens de Lambert 93 au lieu,\n"
    "                       angle du nord g\xE9ographique au nord du quadrillage,\n"
    "                       positive quand le nord du quadrillage est \xE0 l'est du\n"
    "                       nord g\xE9ographique (\xE0 l'est du m\xE9ridien 3\xB0 E) ; puis\n"
    "                       l'angle du nord du quadrillage au nord magn\xE9tique,\n"
    "                       positif vers l'est : d\xE9" "clinaison moins convergence.\n"
    "      --entete         recopie la premi\xE8re ligne de chaque entr\xE9" "e\n"
    "      --donnees DOSSIER  cherche d'abord les grilles dans DOSSIER\n"
    "  -h, --help, --aide   cette aide\n"
    "      --version        la version\n"
    "\n"
    "Erreurs : le message de la calculatrice (\"Date non valide\", \"La date doit\n"
    "\xEAtre comprise entre Janvier 2009 et D\xE9" "cembre 2015.\", \"Coordonn\xE9" "es hors\n"
    "zone\") ou celui d'une position illisible, sur la sortie d'erreur avec le\n"
    "num\xE9ro de ligne ; sur la sortie standard, \"*\" \xE0 la place de chaque\n"
    "r\xE9sultat, pour que l'ordre des lignes reste celui de l'entr\xE9" "e.\n"
    "\n"
    "Statut de sortie : 0 tout calcul\xE9, 1 une ligne au moins en erreur, 2 erreur\n"
    "d'usage, fichier illisible, grille introuvable ou sortie impossible \xE0 \xE9" "crire.\n"
    "\n"
    "Donn\xE9" "es : Grid2009_5.dat et GridVS2013Poly.dat, cherch\xE9s \xE0 c\xF4t\xE9 du\n"
    "programme, puis dans ../share/norvane depuis son dossier (installation).\n";

void WriteText(std::FILE* pStream, const std::string& strBytes) {
    std::fwrite(strBytes.data(), 1, strBytes.size(), pStream);
}

// "norvane-cli : " then a Windows-1252 text, on standard error.
void Complain(const std::string& str1252, const std::string& strRawTail = std::string()) {
    WriteText(stderr, std::string(kszProgram) + " : " + ToTerminal(str1252) + strRawTail + "\n");
}

// In the terminal's encoding.
std::string HelpText() {
    std::string strSystems;
    for (const geokern_conv::Systeme& system : geokern_conv::SYSTEMES) {
        char szLine[160];
        std::snprintf(szLine, sizeof szLine, "                         %2d %-9s ", static_cast<int>(system.code),
                      system.nom);
        strSystems += ToTerminal(szLine) + Utf8ToTerminal(system.description) +
                      ToTerminal(system.geographique ? ", degr\xE9s\n" : ", m\xE8tres\n");
    }
    std::string strHelp = ToTerminal(kszHelp);
    const std::string strMark = "%SYSTEMS%";
    strHelp.replace(strHelp.find(strMark), strMark.size(), strSystems);
    return strHelp;
}

int UsageError(const std::string& str1252, const std::string& strRawTail = std::string()) {
    Complain(str1252, strRawTail);
    WriteText(stderr, ToTerminal("Essayez \xAB norvane-cli --help \xBB.\n"));
    return kExitUsage;
}

struct Arguments {
    CliOptions options;
    std::string strDate, strX, strY;
    bool bDate = false, bX = false, bY = false;
    bool bHeader = false;
    std::string strDataDirectory;
    std::vector<std::string> files;
};

// Reads one input stream; returns whether every line gave a result.
bool ProcessStream(std::istream& in, const std::string& strName, const Arguments& args,
                   const DeclinationGrids& grids) {
    bool bAllOk = true;
    std::string strLine;
    long long nLine = 0;
    while (std::getline(in, strLine)) {
        ++nLine;
        if (!strLine.empty() && strLine.back() == '\r') strLine.pop_back();
        if ((nLine == 1 && args.bHeader) || IsPassThroughLine(strLine)) {
            WriteText(stdout, strLine + "\n");
            continue;
        }
        const PlaceLine place = SplitPlaceLine(strLine);
        PlaceResult result;
        if (place.m_bComplete)
            result = DeclinationForPlace(place.m_date, place.m_x, place.m_y, true, args.options, grids);
        else
            result.m_strMessage = kszMsgIncompleteLine;
        std::string strOut = result.m_bOk ? ToTerminal(result.m_strColumns) : MarkerColumns(args.options);
        if (!place.m_rest.empty()) (strOut += '\t') += place.m_rest;
        strOut += '\n';
        if (!result.m_bOk) {
            bAllOk = false;
            std::fflush(stdout);
            WriteText(stderr, std::string(kszProgram) + " : " + strName + ToTerminal(", ligne ") +
                                  std::to_string(nLine) + " : " + ToTerminal(result.m_strMessage) + "\n");
        }
        WriteText(stdout, strOut);
    }
    return bAllOk;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // Every byte of the input is data: no end of file at Ctrl-Z, no CRLF translation.
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    Arguments args;
    bool bOptionsEnd = false;
    for (int k = 1; k < argc; ++k) {
        std::string strArg = argv[k];
        if (bOptionsEnd || strArg == "-" || strArg.size() < 2 || strArg[0] != '-') {
            args.files.push_back(strArg);
            continue;
        }
        if (strArg == "--") {
            bOptionsEnd = true;
            continue;
        }
        std::string strValue;
        bool bInlineValue = false;
        const std::size_t uEquals = strArg.find('=');
        if (strArg.compare(0, 2, "--") == 0 && uEquals != std::string::npos) {
            strValue = strArg.substr(uEquals + 1);
            strArg.resize(uEquals);
            bInlineValue = true;
        }
        auto value = [&](std::string* pstr) {
            if (bInlineValue) {
                *pstr = strValue;
                return true;
            }
            if (k + 1 >= argc) return false;
            *pstr = argv[++k];
            return true;
        };
        auto flag = [&](bool* pb) {
            *pb = true;
            return !bInlineValue;
        };
        bool bOk = true;
        if (strArg == "-h" || strArg == "--help" || strArg == "--aide") {
            WriteText(stdout, HelpText());
            return kExitOk;
        } else if (strArg == "--version") {
            WriteText(stdout, std::string(kszProgram) + " " + NORVANE_VERSION + "\n");
            return kExitOk;
        } else if (strArg == "-d" || strArg == "--date") {
            bOk = value(&args.strDate);
            args.bDate = true;
        } else if (strArg == "-x" || strArg == "--lon") {
            bOk = value(&args.strX);
            args.bX = true;
        } else if (strArg == "-y" || strArg == "--lat") {
            bOk = value(&args.strY);
            args.bY = true;
        } else if (strArg == "-s" || strArg == "--systeme") {
            std::string strSystem;
            if (!value(&strSystem)) return UsageError("l'option " + strArg + " attend un syst\xE8me");
            const geokern_conv::Systeme* pSystem = geokern_conv::TrouveSysteme(strSystem);
            if (pSystem == nullptr)
                return UsageError("syst\xE8me inconnu : ", strSystem);
            args.options.m_eSystem = pSystem->code;
        } else if (strArg == "-n" || strArg == "--nombres") {
            bOk = flag(&args.options.m_bNumbers);
        } else if (strArg == "-c" || strArg == "--convergence") {
            bOk = flag(&args.options.m_bConvergence);
        } else if (strArg == "--entete") {
            bOk = flag(&args.bHeader);
        } else if (strArg == "--donnees") {
            bOk = value(&args.strDataDirectory);
        } else {
            return UsageError("option inconnue : ", strArg);
        }
        if (!bOk) return UsageError("option mal form\xE9" "e : ", strArg);
    }
    const bool bPlace = args.bDate || args.bX || args.bY;
    if (bPlace && !(args.bDate && args.bX && args.bY))
        return UsageError("un lieu seul demande --date, --lon et --lat ensemble");
    if (bPlace && !args.files.empty()) return UsageError("un lieu seul ou des fichiers, pas les deux");

    // Files that cannot be opened are a usage error: said before anything is computed.
    std::vector<std::unique_ptr<std::ifstream>> streams;
    bool bUnreadable = false;
    for (const std::string& strFile : args.files) {
        if (strFile == "-") {
            streams.emplace_back();
            continue;
        }
        auto pStream = std::make_unique<std::ifstream>(strFile, std::ios::binary);
        if (!*pStream) {
            Complain("impossible de lire le fichier ", strFile);
            bUnreadable = true;
        }
        streams.push_back(std::move(pStream));
    }

    // The grids: large, so not on the stack.
    auto pGrids = std::make_unique<DeclinationGrids>();
    GridLoadReport report;
    const std::vector<std::string> directories = DataDirectories(args.strDataDirectory);
    if (!LoadGrids(directories, *pGrids, &report)) {
        std::string strPlaces;
        for (const std::string& strDirectory : directories) strPlaces += "\n  " + strDirectory;
        Complain(std::string("fichier de donn\xE9" "es ") + report.pszMissing + " introuvable ; cherch\xE9 dans :",
                 strPlaces);
        return kExitUsage;
    }
    for (const GridLoadReport::ShortFile& file : report.shortFiles) {
        Complain("", file.strPath + ToTerminal(" : " + std::to_string(file.nRecords) + " enregistrements sur " +
                                               std::to_string(kGridNodes) + ", les n\x9Cuds sans valeur sont hors zone"));
    }

    if (bPlace) {
        const PlaceResult result = DeclinationForPlace(args.strDate, args.strX, args.strY, false, args.options, *pGrids);
        if (!result.m_bOk) {
            WriteText(stdout, MarkerColumns(args.options) + "\n");
            std::fflush(stdout);
            Complain(result.m_strMessage);
            return kExitLineFailed;
        }
        WriteText(stdout, ToTerminal(result.m_strColumns) + "\n");
        if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
            Complain("erreur d'\xE9" "criture sur la sortie standard");
            return kExitUsage;
        }
        return kExitOk;
    }

    bool bAllOk = true;
    if (args.files.empty()) {
        bAllOk = ProcessStream(std::cin, ToTerminal("(entr\xE9" "e standard)"), args, *pGrids);
    } else {
        for (std::size_t k = 0; k < args.files.size(); ++k) {
            if (streams[k] && !*streams[k]) continue;  // already reported, nothing written for it
            if (streams[k])
                bAllOk = ProcessStream(*streams[k], args.files[k], args, *pGrids) && bAllOk;
            else
                bAllOk = ProcessStream(std::cin, ToTerminal("(entr\xE9" "e standard)"), args, *pGrids) && bAllOk;
        }
    }
    // A full disk or a closed pipe loses results: never report that as success.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        Complain("erreur d'\xE9" "criture sur la sortie standard");
        return kExitUsage;
    }
    if (bUnreadable) return kExitUsage;
    return bAllOk ? kExitOk : kExitLineFailed;
}
