#include "CommandLine.h"

#include <getopt.h>

#include <cstring>

#include "ProgramStreams.h"

namespace programs {

namespace {

constexpr int kHelpId = -1000;
constexpr int kVersionId = -1001;
// getopt_long returns a long option's own value; those without a short letter
// get one beyond any character.
constexpr int kLongOnlyBase = 0x1000;

std::string Quoted(const std::string& strText) { return "\xC2\xAB " + ArgumentText(strText) + " \xC2\xBB"; }

}  // namespace

CommandLine ParseCommandLine(int argc, char** argv, const std::vector<OptionSpec>& given) {
    std::vector<OptionSpec> specs = given;
    specs.push_back({"help", 'h', nullptr, kHelpId});
    specs.push_back({"aide", 0, nullptr, kHelpId});
    specs.push_back({"version", 0, nullptr, kVersionId});

    // ':' first: a missing value is told apart from an unknown option.
    std::string strShort = ":";
    std::vector<option> longOptions;
    for (std::size_t k = 0; k < specs.size(); ++k) {
        const OptionSpec& entry = specs[k];
        if (entry.cShort != 0) {
            strShort += entry.cShort;
            if (entry.pszValue != nullptr) strShort += entry.bOptionalValue ? "::" : ":";
        }
        const int nVal = entry.cShort != 0 ? entry.cShort : kLongOnlyBase + static_cast<int>(k);
        const int nHasArg = entry.pszValue == nullptr ? no_argument
                            : entry.bOptionalValue    ? optional_argument
                                                      : required_argument;
        longOptions.push_back({entry.pszLong, nHasArg, nullptr, nVal});
    }
    longOptions.push_back({nullptr, 0, nullptr, 0});

    auto specOf = [&](int nVal) -> const OptionSpec* {
        if (nVal >= kLongOnlyBase && nVal - kLongOnlyBase < static_cast<int>(specs.size()))
            return &specs[static_cast<std::size_t>(nVal - kLongOnlyBase)];
        for (const OptionSpec& entry : specs)
            if (entry.cShort != 0 && entry.cShort == nVal) return &entry;
        return nullptr;
    };
    // The long option an argument names ("--date=x": date), if it is one.
    auto longOf = [&](const char* pszArg) -> const OptionSpec* {
        if (pszArg == nullptr || std::strncmp(pszArg, "--", 2) != 0) return nullptr;
        const std::string strName(pszArg + 2, std::strcspn(pszArg + 2, "="));
        for (const OptionSpec& entry : specs)
            if (strName == entry.pszLong) return &entry;
        return nullptr;
    };

    CommandLine commandLine;
    auto fail = [&](const std::string& strError) {
        commandLine.eKind = CommandLine::Kind::kError;
        commandLine.strError = strError;
        return commandLine;
    };
    opterr = 0;
    optind = 1;
    for (;;) {
        int nIndex = -1;
        optopt = 0;
        const int nVal = getopt_long(argc, argv, strShort.c_str(), longOptions.data(), &nIndex);
        if (nVal == -1) break;
        const char* pszLast = optind - 1 < argc ? argv[optind - 1] : nullptr;
        if (nVal == ':' || nVal == '?') {
            // The C libraries differ in which of the two they return for a
            // value given to an option that takes none: the argument tells.
            const OptionSpec* pLong = longOf(pszLast);
            if (pLong != nullptr && (optopt == 0 || specOf(optopt) == pLong)) {
                const std::string strName = std::string("--") + pLong->pszLong;
                if (pLong->pszValue == nullptr)
                    return fail("l'option " + Quoted(strName) + " ne prend pas de valeur");
                return fail("l'option " + Quoted(strName) + " attend une valeur (" + pLong->pszValue + ")");
            }
            if (optopt != 0) {
                const OptionSpec* pShort = specOf(optopt);
                const std::string strName = std::string("-") + static_cast<char>(optopt);
                if (pShort != nullptr && nVal == ':')
                    return fail("l'option " + Quoted(strName) + " attend une valeur (" + pShort->pszValue + ")");
                return fail("option inconnue " + Quoted(strName));
            }
            std::string strArg = pszLast != nullptr ? pszLast : "?";
            strArg.resize(std::strcspn(strArg.c_str(), "="));
            return fail("option inconnue ou ambigu\xC3\xAB " + Quoted(strArg));
        }
        const OptionSpec* pSpec = specOf(nVal);
        if (pSpec == nullptr) return fail("option inconnue");
        if (pSpec->nId == kHelpId) {
            commandLine.eKind = CommandLine::Kind::kHelp;
            return commandLine;
        }
        if (pSpec->nId == kVersionId) {
            commandLine.eKind = CommandLine::Kind::kVersion;
            return commandLine;
        }
        commandLine.options.push_back({pSpec->nId, optarg != nullptr && pSpec->pszValue != nullptr ? optarg : ""});
    }
    for (int k = optind; k < argc; ++k) commandLine.operands.emplace_back(argv[k]);
    return commandLine;
}

int AnswerCommandLine(const CommandLine& commandLine, const std::string& strHelpUtf8, const char* pszVersion) {
    switch (commandLine.eKind) {
    case CommandLine::Kind::kHelp: return WriteHelp(strHelpUtf8);
    case CommandLine::Kind::kVersion: return WriteHelp(std::string(ProgramName()) + " " + pszVersion + "\n");
    case CommandLine::Kind::kError: return UsageError(commandLine.strError);
    case CommandLine::Kind::kRun: break;
    }
    return -1;
}

}  // namespace programs
