// norvane-cli: the calculator's declination for one place and date, or for
// every line of files, without the window.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "CommandLine.h"
#include "ConsoleText.h"
#include "DataFiles.h"
#include "DeclinationGrids.h"
#include "DeclinationLine.h"
#include "Numbers.h"
#include "ProgramStreams.h"
#include "systemes.h"

namespace {

constexpr char kszProgram[] = "norvane-cli";

// Windows-1252, as every text of the calculator.
constexpr char kszHelp[] =
    "Usage : norvane-cli [options] [FICHIER...]\n"
    "        norvane-cli [options] --date DATE --lon X --lat Y\n"
    "\n"
    "D\xE9" "clinaison magn\xE9tique et variation annuelle en France m\xE9tropolitaine, du\n"
    "1er janvier 2009 au 31 d\xE9" "cembre 2015 : le calcul de la calculatrice Norvane,\n"
    "sans sa fen\xEAtre, avec les m\xEAmes grilles et le m\xEAme moteur geokern.\n"
    "Avec --modele : partout sur Terre, du 1er janvier 1900 au 1er janvier 2030, par\n"
    "le mod\xE8le IGRF-14 (voir plus bas).\n"
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
    "  -m, --modele         chaque lieu par le mod\xE8le IGRF-14 plut\xF4t que par les\n"
    "                       grilles : m\xEAmes entr\xE9" "es, m\xEAmes colonnes\n"
    "      --altitude METRES  avec --modele, l'altitude des lieux au-dessus de\n"
    "                       l'ellipso\xEF" "de WGS84 (0 sans cette option)\n"
    "      --entete         recopie la premi\xE8re ligne de chaque entr\xE9" "e\n"
    "      --donnees DOSSIER  cherche d'abord les grilles dans DOSSIER\n"
    "  -h, --aide, --help   cette aide\n"
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
    "Le mod\xE8le : l'IGRF-14, International Geomagnetic Reference Field, 14e\n"
    "g\xE9n\xE9ration (2024), de l'AIGA (IAGA), le champ principal de la Terre calcul\xE9\n"
    "au lieu exact, du 1er janvier 1900 au 1er janvier 2030 ; apr\xE8s 2025 c'est une\n"
    "pr\xE9vision. Il omet le champ crustal, celui des roches de l'\xE9" "corce : quelques\n"
    "dixi\xE8mes de degr\xE9 d'\xE9" "cart par endroits. La variation annuelle est celle\n"
    "du mod\xE8le \xE0 la date. Aux p\xF4les g\xE9ographiques la d\xE9" "clinaison n'est pas\n"
    "d\xE9" "finie.\n"
    "\n"
    "Donn\xE9" "es : Grid2009_5.dat et GridVS2013Poly.dat (grilles), IGRF14.shc (mod\xE8le),\n"
    "cherch\xE9s \xE0 c\xF4t\xE9 du programme, puis dans ../share/norvane depuis son dossier\n"
    "(installation).\n";

// A line's message in UTF-8.
std::string MessageText(const PlaceResult& result) {
    return result.m_bMessageUtf8 ? result.m_strMessage : Windows1252ToUtf8(result.m_strMessage);
}

// In UTF-8.
std::string HelpText() {
    std::string strSystems;
    for (const geokern_conv::Systeme& system : geokern_conv::SYSTEMES) {
        char szLine[160];
        std::snprintf(szLine, sizeof szLine, "                         %2d %-9s ", static_cast<int>(system.code),
                      system.nom);
        strSystems += std::string(szLine) + system.description + (system.geographique ? ", degr\xC3\xA9s\n" : ", m\xC3\xA8tres\n");
    }
    std::string strHelp = Windows1252ToUtf8(kszHelp);
    const std::string strMark = "%SYSTEMS%";
    strHelp.replace(strHelp.find(strMark), strMark.size(), strSystems);
    return strHelp;
}

enum OptionId {
    kOptDate, kOptLon, kOptLat, kOptSystem, kOptNumbers, kOptConvergence, kOptHeader, kOptData, kOptModel, kOptAltitude
};

// Said once, after the grids' period message: the model answers on any day.
void SuggestModel(const PlaceResult& result) {
    static bool s_bSaid = false;
    if (!result.m_bOutOfGridPeriod || s_bSaid) return;
    s_bSaid = true;
    programs::Say("pour une date hors de cette p\xC3\xA9riode, --modele donne la d\xC3\xA9" "clinaison du mod\xC3\xA8le "
                  "IGRF-14, du 1er janvier 1900 au 1er janvier 2030");
}

struct Arguments {
    CliOptions options;
    std::string strDate, strX, strY;
    bool bDate = false, bX = false, bY = false;
    bool bHeader = false;
    bool bAltitude = false;
    std::string strDataDirectory;
    std::vector<std::string> files;
};

// The lines of one input: each place computed, its results or the markers
// written in its place, the rest of the line after them, the line end kept.
class PlaceReader final : public programs::PieceReader {
public:
    PlaceReader(const std::string& strName, const Arguments& args, PlaceSources& sources)
        : m_strName(programs::InputName(strName)), m_args(args), m_sources(sources) {}
    void Piece(const char* pData, std::size_t uSize, std::string& strOut) override {
        m_cutter.Feed(pData, uSize, [&](std::string_view line) { Line(line, strOut); });
    }
    void End(std::string& strOut) override {
        m_cutter.Finish([&](std::string_view line) { Line(line, strOut); });
    }
    std::uint64_t Lines() const override { return m_uLines; }
    bool AllOk() const { return m_bAllOk; }

private:
    void Line(std::string_view line, std::string& strOut) {
        ++m_uLines;
        const bool bCrlf = !line.empty() && line.back() == '\r';
        if (bCrlf) line.remove_suffix(1);
        if ((m_uLines == 1 && m_args.bHeader) || IsPassThroughLine(line)) {
            strOut.append(line);
        } else {
            const PlaceLine place = SplitPlaceLine(line);
            PlaceResult result;
            if (place.m_bDecimalComma)
                result.m_strMessage = kszMsgDecimalComma;
            else if (place.m_bComplete)
                result = DeclinationForPlace(place.m_date, place.m_x, place.m_y, true, m_args.options, m_sources);
            else
                result.m_strMessage = kszMsgIncompleteLine;
            if (result.m_bOk) {
                strOut += ToTerminal(result.m_strColumns);
            } else {
                m_bAllOk = false;
                programs::Say(m_strName + ", ligne " + std::to_string(m_uLines) + " : " + MessageText(result));
                SuggestModel(result);
                strOut += MarkerColumns(m_args.options);
            }
            if (!place.m_rest.empty()) (strOut += '\t').append(place.m_rest);
        }
        if (bCrlf) strOut += '\r';
        strOut += '\n';
    }

    std::string m_strName;
    const Arguments& m_args;
    PlaceSources& m_sources;
    programs::LineCutter m_cutter;
    std::uint64_t m_uLines = 0;
    bool m_bAllOk = true;
};

}  // namespace

int main(int argc, char** argv) {
    programs::StartProgram(kszProgram);
    const programs::CommandLine commandLine = programs::ParseCommandLine(
        argc, argv,
        {{"date", 'd', "DATE", kOptDate},
         {"lon", 'x', "X", kOptLon},
         {"lat", 'y', "Y", kOptLat},
         {"systeme", 's', "SYS", kOptSystem},
         {"nombres", 'n', nullptr, kOptNumbers},
         {"convergence", 'c', nullptr, kOptConvergence},
         {"entete", 0, nullptr, kOptHeader},
         {"donnees", 0, "DOSSIER", kOptData},
         {"modele", 'm', nullptr, kOptModel},
         {"altitude", 0, "METRES", kOptAltitude}});
    const int nAnswer = programs::AnswerCommandLine(commandLine, HelpText(), NORVANE_VERSION);
    if (nAnswer >= 0) return nAnswer;

    Arguments args;
    args.files = commandLine.operands;
    for (const programs::GivenOption& option : commandLine.options) {
        switch (option.nId) {
        case kOptDate: args.strDate = option.strValue, args.bDate = true; break;
        case kOptLon: args.strX = option.strValue, args.bX = true; break;
        case kOptLat: args.strY = option.strValue, args.bY = true; break;
        case kOptSystem: {
            const geokern_conv::Systeme* pSystem = geokern_conv::TrouveSysteme(option.strValue);
            if (pSystem == nullptr)
                return programs::UsageError("syst\xC3\xA8me inconnu \xC2\xAB " + programs::ArgumentText(option.strValue) +
                                            " \xC2\xBB (un nom du catalogue ou un code de 1 \xC3\xA0 12)");
            args.options.m_eSystem = pSystem->code;
            break;
        }
        case kOptNumbers: args.options.m_bNumbers = true; break;
        case kOptConvergence: args.options.m_bConvergence = true; break;
        case kOptHeader: args.bHeader = true; break;
        case kOptData: args.strDataDirectory = option.strValue; break;
        case kOptModel: args.options.m_eSource = kSourceModel; break;
        case kOptAltitude:
            if (!programs::ReadNumber(option.strValue, &args.options.m_dAltitudeMetres))
                return programs::UsageError("altitude non valide \xC2\xAB " + programs::ArgumentText(option.strValue) +
                                            " \xC2\xBB (en m\xC3\xA8tres, point d\xC3\xA9" "cimal)");
            args.bAltitude = true;
            break;
        default: break;
        }
    }
    const bool bPlace = args.bDate || args.bX || args.bY;
    if (bPlace && !(args.bDate && args.bX && args.bY))
        return programs::UsageError("un lieu seul demande --date, --lon et --lat ensemble");
    if (bPlace && !args.files.empty()) return programs::UsageError("un lieu seul ou des fichiers, pas les deux");

    if (args.bAltitude && args.options.m_eSource != kSourceModel)
        return programs::UsageError("--altitude ne sert qu'avec --modele : les grilles ne d\xC3\xA9pendent pas de l'altitude");

    // The source's data: the grids (large, so not on the stack), or the model.
    auto pGrids = std::make_unique<DeclinationGrids>();
    std::unique_ptr<CIgrfModel> pModel;
    const std::vector<std::string> directories = DataDirectories(args.strDataDirectory);
    if (args.options.m_eSource == kSourceModel) {
        pModel = std::make_unique<CIgrfModel>();
        std::string strError;
        if (!LoadModel(directories, *ModelById(kModelIgrf), pModel.get(), &strError)) {
            programs::Say(strError);
            return programs::kExitUsage;
        }
    } else {
        GridLoadReport report;
        if (!LoadGrids(directories, *pGrids, &report)) {
            programs::Say(MissingFileMessage(report.pszMissing, directories));
            return programs::kExitUsage;
        }
        for (const GridLoadReport::ShortFile& file : report.shortFiles) {
            programs::Say(programs::ArgumentText(file.strPath) + " : " + std::to_string(file.nRecords) +
                          " enregistrements sur " + std::to_string(kGridNodes) +
                          ", les n\xC5\x93uds sans valeur sont hors zone");
        }
    }
    PlaceSources sources(*pGrids, pModel.get());

    if (bPlace) {
        const PlaceResult result = DeclinationForPlace(args.strDate, args.strX, args.strY, false, args.options, sources);
        std::string& strOut = programs::StandardOutput().Buffer();
        if (!result.m_bOk) {
            strOut += MarkerColumns(args.options) + "\n";
            programs::Say(MessageText(result));
            SuggestModel(result);
            return programs::FinishOutput() == programs::kExitOk ? programs::kExitLineFailed : programs::kExitUsage;
        }
        strOut += ToTerminal(result.m_strColumns) + "\n";
        return programs::FinishOutput();
    }

    if (args.files.empty()) args.files.push_back("-");
    bool bAllOk = true, bUnreadable = false;
    for (const std::string& strFile : args.files) {
        PlaceReader reader(strFile, args, sources);
        const programs::InputOutcome eOutcome = programs::ReadInput(strFile, reader);
        bAllOk = bAllOk && reader.AllOk();
        if (eOutcome == programs::InputOutcome::kWriteFailed) break;
        if (eOutcome == programs::InputOutcome::kUnreadable) bUnreadable = true;
    }
    // A full disk or a closed pipe loses results: never report that as success.
    if (programs::FinishOutput() != programs::kExitOk || bUnreadable) return programs::kExitUsage;
    return bAllOk ? programs::kExitOk : programs::kExitLineFailed;
}
