// The command line of the programs, read by getopt_long (the C library's, on
// Linux and in MinGW) with French messages: long options (--date VALUE or
// --date=VALUE, or any unambiguous beginning of the name), short ones (-d
// VALUE, -dVALUE, -nc), options and operands in any order, "--" ending the
// options, "-" an operand (standard input). Every program also takes -h,
// --help and --aide for its help and --version.
#ifndef PROGRAMS_COMMANDLINE_H
#define PROGRAMS_COMMANDLINE_H

#include <string>
#include <vector>

namespace programs {

struct OptionSpec {
    const char* pszLong;   // "date"
    char cShort;           // 'd', or 0 for none
    const char* pszValue;  // the value's name in messages ("DATE"); nullptr: the option takes none
    int nId;               // what the program knows the option by
    bool bOptionalValue = false;  // the value may be left out ("--modele" or "--modele=wmm")
};

struct GivenOption {
    int nId;
    std::string strValue;
};

struct CommandLine {
    enum class Kind { kRun, kHelp, kVersion, kError };
    Kind eKind = Kind::kRun;
    std::vector<GivenOption> options;  // in the order given
    std::vector<std::string> operands;
    std::string strError;  // kError: what is wrong, UTF-8
};

CommandLine ParseCommandLine(int argc, char** argv, const std::vector<OptionSpec>& specs);

// The usual ending: the help or the version written, or the usage error said.
// Returns the exit status for those, -1 for a command line to run.
int AnswerCommandLine(const CommandLine& commandLine, const std::string& strHelpUtf8, const char* pszVersion);

}  // namespace programs

#endif
