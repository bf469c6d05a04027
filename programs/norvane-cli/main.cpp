// norvane-cli: the calculator's declination for one place and date, or for
// every line of files, without the window.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <utility>
#include <string>
#include <string_view>
#include <vector>

#include "CommandLine.h"
#include "ConsoleText.h"
#include "DataFiles.h"
#include "DeclinationGrids.h"
#include "DeclinationLine.h"
#include "MagneticElements.h"
#include "Numbers.h"
#include "ProgramStreams.h"
#include "systemes.h"

namespace {

constexpr char kszProgram[] = "norvane-cli";

// UTF-8, as every text of the programs and the core.
constexpr char kszHelp[] =
    "Usage : norvane-cli [options] [FICHIER...]\n"
    "        norvane-cli [options] --date DATE --lon X --lat Y\n"
    "\n"
    "D\xC3\xA9" "clinaison magn\xC3\xA9tique et variation annuelle en France m\xC3\xA9tropolitaine,\n"
    "%PERIOD% : le calcul de la calculatrice Norvane,\n"
    "sans sa fen\xC3\xAAtre, avec les m\xC3\xAAmes grilles et le m\xC3\xAAme moteur geokern.\n"
    "Avec --modele : partout sur Terre, par un mod\xC3\xA8le du champ principal (voir\n"
    "plus bas), et avec --elements tous les \xC3\xA9l\xC3\xA9ments du champ.\n"
    "\n"
    "Chaque ligne d'entr\xC3\xA9" "e donne un lieu : \"date longitude latitude\" (x puis y),\n"
    "champs s\xC3\xA9par\xC3\xA9s par des espaces, des tabulations, ';' ou ','. Sans FICHIER,\n"
    "ou avec \"-\", l'entr\xC3\xA9" "e standard est lue. Les lignes vides et celles qui\n"
    "commencent par '#' sont recopi\xC3\xA9" "es telles quelles ; ce qui suit les trois\n"
    "champs est recopi\xC3\xA9 \xC3\xA0 la fin de la ligne de r\xC3\xA9sultat.\n"
    "\n"
    "Dates : 2013-01-01 (ISO) ou 01/01/2013 (jour/mois/ann\xC3\xA9" "e).\n"
    "Positions WGS84 en degr\xC3\xA9s, point d\xC3\xA9" "cimal :\n"
    "  d\xC3\xA9" "cimaux sign\xC3\xA9s           -1.5  47.2\n"
    "  lettre d'h\xC3\xA9misph\xC3\xA8re       1.5W  47.2N  1.5 O  (N, S, E, O ou W, sans signe)\n"
    "  degr\xC3\xA9s-minutes-secondes   47\xC2\xB0" "12'30\"N  47d12m30s N  47:12:30N  1:30:00W\n"
    "Les minutes et les secondes sont des nombres entiers de 0 \xC3\xA0 59, comme dans\n"
    "la fen\xC3\xAAtre. Avec des lettres d'h\xC3\xA9misph\xC3\xA8re, la latitude peut venir en\n"
    "premier (47.2N 1.5W).\n"
    "\n"
    "R\xC3\xA9sultat : la d\xC3\xA9" "clinaison et la variation annuelle s\xC3\xA9par\xC3\xA9" "es par une\n"
    "tabulation, comme la fen\xC3\xAAtre les affiche (\"-0.65 \xC2\xB0\" et \"0.15 \xC2\xB0/an\").\n"
    "\n"
    "Options :\n"
    "  -d, --date DATE      la date d'un seul lieu (avec --lon et --lat)\n"
    "  -x, --lon X          sa longitude (ou son abscisse, avec --systeme)\n"
    "  -y, --lat Y          sa latitude (ou son ordonn\xC3\xA9" "e)\n"
    "  -s, --systeme SYS    positions dans un autre syst\xC3\xA8me du catalogue, par son\n"
    "                       nom, son code ou EPSG:NNNN ; le moteur les ram\xC3\xA8ne en NTF\n"
    "                       Lambert II \xC3\xA9tendu, o\xC3\xB9 le n\xC5\x93ud de la grille est choisi\n"
    "                       comme dans la calculatrice. Syst\xC3\xA8mes (x y) :\n"
    "%SYSTEMS%"
    "  -n, --nombres        nombres seuls, point d\xC3\xA9" "cimal, 6 d\xC3\xA9" "cimales (degr\xC3\xA9s et\n"
    "                       degr\xC3\xA9s par an)\n"
    "  -c, --convergence    deux colonnes de plus pour les cartes en Lambert 93 :\n"
    "                       la convergence des m\xC3\xA9ridiens de Lambert 93 au lieu,\n"
    "                       angle du nord g\xC3\xA9ographique au nord du quadrillage,\n"
    "                       positive quand le nord du quadrillage est \xC3\xA0 l'est du\n"
    "                       nord g\xC3\xA9ographique (\xC3\xA0 l'est du m\xC3\xA9ridien 3\xC2\xB0 E) ; puis\n"
    "                       l'angle du nord du quadrillage au nord magn\xC3\xA9tique,\n"
    "                       positif vers l'est : d\xC3\xA9" "clinaison moins convergence.\n"
    "  -m, --modele[=MODELE]  chaque lieu par un mod\xC3\xA8le plut\xC3\xB4t que par les grilles :\n"
    "                       igrf (sans valeur), wmm ou wmmhr ; m\xC3\xAAmes entr\xC3\xA9" "es, m\xC3\xAAmes\n"
    "                       colonnes, et avec wmm ou wmmhr une colonne de plus :\n"
    "                       la zone d'un p\xC3\xB4le magn\xC3\xA9tique (\"-\" hors zone ; avec\n"
    "                       --nombres 0, 1 prudence, 2 boussole inutilisable)\n"
    "      --elements       avec --modele, les quatorze colonnes D, I, H, X, Y, Z, F\n"
    "                       puis dD, dI, dH, dX, dY, dZ, dF (degr\xC3\xA9s et nT, puis par\n"
    "                       an), et la colonne de la zone\n"
    "      --incertitude    avec --modele=wmm ou wmmhr, l'incertitude publi\xC3\xA9" "e (un\n"
    "                       \xC3\xA9" "cart type) : de D, ou des sept \xC3\xA9l\xC3\xA9ments avec\n"
    "                       --elements, apr\xC3\xA8s eux ; celle de D cro\xC3\xAEt quand H d\xC3\xA9" "cro\xC3\xAEt\n"
    "      --altitude METRES  avec --modele, l'altitude des lieux au-dessus de\n"
    "                       l'ellipso\xC3\xAF" "de WGS84 (0 sans cette option)\n"
    "      --entete         recopie la premi\xC3\xA8re ligne de chaque entr\xC3\xA9" "e\n"
    "      --donnees DOSSIER  cherche d'abord les grilles dans DOSSIER\n"
    "  -h, --aide, --help   cette aide\n"
    "      --version        la version\n"
    "\n"
    "%ERRORS%"
    "\n"
    "Statut de sortie : 0 tout calcul\xC3\xA9, 1 une ligne au moins en erreur, 2 erreur\n"
    "d'usage, fichier illisible, grille introuvable ou incompl\xC3\xA8te, sortie\n"
    "impossible \xC3\xA0 \xC3\xA9" "crire.\n"
    "\n"
    "Les mod\xC3\xA8les, calcul\xC3\xA9s au lieu exact, \xC3\xA0 une altitude au-dessus de\n"
    "l'ellipso\xC3\xAF" "de WGS84 ; la variation annuelle est celle du mod\xC3\xA8le \xC3\xA0 la date :\n"
    "%MODELS%"
    "Le champ crustal, celui des roches de l'\xC3\xA9" "corce, que seul wmmhr contient,\n"
    "\xC3\xA9" "carte la d\xC3\xA9" "clinaison de quelques dixi\xC3\xA8mes de degr\xC3\xA9 par endroits. Pr\xC3\xA8s des\n"
    "p\xC3\xB4les magn\xC3\xA9tiques, o\xC3\xB9 H est sous %CAUTION% nT, la boussole est \xC3\xA0 utiliser avec\n"
    "prudence ; sous %BLACKOUT% nT elle est inutilisable. Aux p\xC3\xB4les g\xC3\xA9ographiques la\n"
    "d\xC3\xA9" "clinaison n'est pas d\xC3\xA9" "finie.\n"
    "\n"
    "Donn\xC3\xA9" "es : les grilles Grid2009_5.dat et GridVS2013Poly.dat, les mod\xC3\xA8les\n"
    "%FILES%,\n"
    "cherch\xC3\xA9s \xC3\xA0 c\xC3\xB4t\xC3\xA9 du programme, puis dans ../share/norvane depuis son dossier\n"
    "(installation).\n";

// A UTF-8 text cut into lines of at most 79 characters at its spaces, each
// indented.
std::string Wrapped(const std::string& strText, std::size_t uIndent) {
    std::string strOut, strLine(uIndent, ' ');
    std::size_t uWidth = uIndent;
    std::size_t uStart = 0;
    while (uStart < strText.size()) {
        std::size_t uEnd = strText.find(' ', uStart);
        if (uEnd == std::string::npos) uEnd = strText.size();
        const std::string strWord = strText.substr(uStart, uEnd - uStart);
        std::size_t uChars = 0;  // characters, not bytes
        for (const char c : strWord) uChars += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        if (uWidth > uIndent && uWidth + 1 + uChars > 79) {
            strOut += strLine + "\n";
            strLine.assign(uIndent, ' ');
            uWidth = uIndent;
        }
        if (uWidth > uIndent) strLine += ' ', ++uWidth;
        strLine += strWord;
        uWidth += uChars;
        uStart = uEnd + 1;
    }
    return strOut + strLine + "\n";
}

// Cut into lines by HelpText, the period message being the core's.
constexpr char kszHelpErrors[] =
    "Erreurs : le message de la calculatrice (\"Date non valide\", \"%PERIODMSG%\", \"Coordonn\xC3\xA9" "es hors "
    "zone\") ou celui d'une position illisible, sur la sortie d'erreur avec le num\xC3\xA9ro de ligne\xC2\xA0; sur la "
    "sortie standard, \"*\" \xC3\xA0 la place de chaque r\xC3\xA9sultat, pour que l'ordre des lignes reste celui de "
    "l'entr\xC3\xA9" "e.";

// In UTF-8.
std::string HelpText() {
    std::string strSystems;
    for (const geokern_conv::Systeme& system : geokern_conv::SYSTEMES) {
        char szLine[160];
        std::snprintf(szLine, sizeof szLine, "                         %2d %-12s ", static_cast<int>(system.code),
                      system.nom);
        strSystems += std::string(szLine) + system.description + ", " + system.unites + "\n";
    }
    // The models from their table: key, name, span, what each is.
    std::string strModels, strFiles;
    for (int nModel = 0; nModel < kModelCount; ++nModel) {
        const ModelDescription& model = *ModelById(nModel);
        strModels += std::string("  ") + model.pszKey + " : " + model.pszName + ", " + ModelSpanText(model) + ".\n" +
                     Wrapped(std::string(model.pszAbout) + ".", 4);
        strFiles += std::string(nModel == 0 ? "" : nModel + 1 == kModelCount ? " et " : ", ") + model.pszFile;
    }
    std::string strErrors = kszHelpErrors;
    const std::string strPeriodMark = "%PERIODMSG%";
    strErrors.replace(strErrors.find(strPeriodMark), strPeriodMark.size(), PeriodMessageOnOneLine());
    std::string strHelp = kszHelp;
    for (const auto& mark : {std::make_pair(std::string("%PERIOD%"), GridPeriodText()),
                             std::make_pair(std::string("%ERRORS%"), Wrapped(strErrors, 0)),
                             std::make_pair(std::string("%SYSTEMS%"), strSystems),
                             std::make_pair(std::string("%MODELS%"), strModels),
                             std::make_pair(std::string("%FILES%"), strFiles),
                             std::make_pair(std::string("%CAUTION%"), std::to_string(int(kPoleCautionH))),
                             std::make_pair(std::string("%BLACKOUT%"), std::to_string(int(kPoleBlackoutH)))})
        strHelp.replace(strHelp.find(mark.first), mark.first.size(), mark.second);
    return strHelp;
}

enum OptionId {
    kOptDate, kOptLon, kOptLat, kOptSystem, kOptNumbers, kOptConvergence, kOptHeader, kOptData, kOptModel, kOptAltitude,
    kOptElements, kOptUncertainty
};

// Said once, after the grids' period message: the model answers on any day.
void SuggestModel(const PlaceResult& result) {
    static bool s_bSaid = false;
    if (!result.m_bOutOfGridPeriod || s_bSaid) return;
    s_bSaid = true;
    const ModelDescription& igrf = *ModelById(kModelIgrf);
    programs::Say("pour une date hors de cette p\xC3\xA9riode, --modele donne la d\xC3\xA9" "clinaison du mod\xC3\xA8le " +
                  std::string(igrf.pszName) + ", " + ModelSpanText(igrf));
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
        m_cutter.Feed(pData, uSize, [&](std::string_view line, bool bTooLong) { Line(line, bTooLong, strOut); });
    }
    void End(std::string& strOut) override {
        m_cutter.Finish([&](std::string_view line, bool bTooLong) { Line(line, bTooLong, strOut); });
        if (m_uLines == 0 && m_cutter.ByteOrderMark()) strOut += programs::kszByteOrderMark;
    }
    std::uint64_t Lines() const override { return m_uLines; }
    bool AllOk() const { return m_bAllOk; }

private:
    void Line(std::string_view line, bool bTooLong, std::string& strOut) {
        ++m_uLines;
        if (m_uLines == 1 && m_cutter.ByteOrderMark()) strOut += programs::kszByteOrderMark;
        const bool bCrlf = !line.empty() && line.back() == '\r';
        if (bCrlf) line.remove_suffix(1);
        if (bTooLong) {
            m_bAllOk = false;
            programs::Say(m_strName + ", ligne " + std::to_string(m_uLines) + " : " + programs::kszLineTooLong);
            strOut += MarkerColumns(m_args.options);
        } else if ((m_uLines == 1 && m_args.bHeader) || IsPassThroughLine(line)) {
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
                strOut += Utf8ToTerminal(result.m_strColumns);
            } else {
                m_bAllOk = false;
                programs::Say(m_strName + ", ligne " + std::to_string(m_uLines) + " : " + result.m_strMessage);
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
         {"modele", 'm', "MODELE", kOptModel, true},
         {"altitude", 0, "METRES", kOptAltitude},
         {"elements", 0, nullptr, kOptElements},
         {"incertitude", 0, nullptr, kOptUncertainty}});
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
                                            " \xC2\xBB (" + geokern_conv::FormesDuNom() + ")");
            args.options.m_eSystem = pSystem->code;
            break;
        }
        case kOptNumbers: args.options.m_bNumbers = true; break;
        case kOptConvergence: args.options.m_bConvergence = true; break;
        case kOptHeader: args.bHeader = true; break;
        case kOptData: args.strDataDirectory = option.strValue; break;
        case kOptModel: {
            args.options.m_eSource = kSourceModel;
            args.options.m_eModel = kModelIgrf;
            if (option.strValue.empty()) break;  // a bare --modele: IGRF-14
            const ModelDescription* pModel = ModelByKey(option.strValue);
            if (pModel == nullptr)
                return programs::UsageError("mod\xC3\xA8le inconnu \xC2\xAB " + programs::ArgumentText(option.strValue) +
                                            " \xC2\xBB (igrf, wmm ou wmmhr)");
            args.options.m_eModel = pModel->eId;
            args.options.m_bZone = true;
            break;
        }
        case kOptElements: args.options.m_bElements = args.options.m_bZone = true; break;
        case kOptUncertainty: args.options.m_bUncertainty = args.options.m_bZone = true; break;
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

    if ((args.options.m_bElements || args.options.m_bUncertainty) && args.options.m_eSource != kSourceModel)
        return programs::UsageError("--elements et --incertitude demandent --modele : les grilles ne donnent que la d\xC3\xA9" "clinaison");
    if (args.options.m_bUncertainty && !ModelById(args.options.m_eModel)->bHasUncertainty)
        return programs::UsageError(std::string("--incertitude : le mod\xC3\xA8le ") + ModelById(args.options.m_eModel)->pszName +
                                    " n'en publie pas (wmm et wmmhr en publient une)");
    if (args.bAltitude && args.options.m_eSource != kSourceModel)
        return programs::UsageError("--altitude ne sert qu'avec --modele : les grilles ne d\xC3\xA9pendent pas de l'altitude");

    // The source's data: the grids (large, so not on the stack), or the model.
    auto pGrids = std::make_unique<DeclinationGrids>();
    std::unique_ptr<CIgrfModel> pModel;
    const std::vector<std::string> directories = DataDirectories(args.strDataDirectory);
    if (args.options.m_eSource == kSourceModel) {
        pModel = std::make_unique<CIgrfModel>();
        std::string strError;
        if (!LoadModel(directories, *ModelById(args.options.m_eModel), pModel.get(), &strError)) {
            programs::Say(strError);
            return programs::kExitUsage;
        }
    } else {
        GridLoadReport report;
        if (!LoadGrids(directories, *pGrids, &report)) {
            programs::Say(MissingFileMessage(report.pszMissing, directories));
            return programs::kExitUsage;
        }
        // A grid cut short or holding something else than numbers would give
        // "hors zone" where the calculator gives a declination.
        for (const GridLoadReport::ShortFile& file : report.shortFiles) {
            programs::Say("fichier de donn\xC3\xA9" "es incomplet \xC2\xAB " + programs::ArgumentText(file.strPath) +
                          " \xC2\xBB : " + std::to_string(file.nRecords) + " enregistrements lisibles sur " +
                          std::to_string(kGridNodes));
            return programs::kExitUsage;
        }
    }
    PlaceSources sources(*pGrids, pModel.get());

    if (bPlace) {
        const PlaceResult result = DeclinationForPlace(args.strDate, args.strX, args.strY, false, args.options, sources);
        std::string& strOut = programs::StandardOutput().Buffer();
        if (!result.m_bOk) {
            strOut += MarkerColumns(args.options) + "\n";
            programs::Say(result.m_strMessage);
            SuggestModel(result);
            return programs::FinishOutput() == programs::kExitOk ? programs::kExitLineFailed : programs::kExitUsage;
        }
        strOut += Utf8ToTerminal(result.m_strColumns) + "\n";
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
