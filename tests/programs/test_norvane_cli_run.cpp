// norvane-cli as a user runs it: files of random places and dates against the
// calculator core's own answers, every message, a Lambert 93 input, the
// convergence against PROJ, missing and short data files, exit statuses.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ConsoleText.h"
#include "Declination.h"
#include "DeclinationLine.h"
#include "GridConvergence.h"
#include "Igrf.h"
#include "geokern2.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace {

std::string NativePath(std::string strPath) {
#ifdef _WIN32
    if (strPath.size() > 1 && strPath[0] == '/') strPath = "Z:" + strPath;  // the build tree, seen from wine
    std::replace(strPath.begin(), strPath.end(), '/', '\\');
#endif
    return strPath;
}

const std::string kstrCli = NativePath(NORVANE_CLI_EXE);
#ifdef PROGRAM_LAUNCHER
const std::string kstrLauncher = PROGRAM_LAUNCHER " ";  // before a program's quoted path
#else
const std::string kstrLauncher;
#endif
const std::string kstrGridDir = NativePath(NORVANE_GRID_DIR);
constexpr char kszEpochGrid[] = "Grid2009_5.dat";
constexpr char kszVariationGrid[] = "GridVS2013Poly.dat";

std::string Scratch(const std::string& strName) {
    return testing::TempDir() + "norvane_cli_" +
           testing::UnitTest::GetInstance()->current_test_info()->name() + "_" + strName;
}

void WriteFile(const std::string& strPath, const std::string& strBytes) {
    std::ofstream out(strPath, std::ios::binary);
    out.write(strBytes.data(), static_cast<std::streamsize>(strBytes.size()));
    ASSERT_TRUE(out.good()) << strPath;
}

std::string ReadFile(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct CliRun {
    int nStatus = -1;
    std::string strOut;
    std::string strErr;
};

// The program with arguments (already quoted where needed) and a standard input.
CliRun RunCli(const std::string& strArgs, const std::string& strInput = std::string(),
           const std::string& strProgram = kstrCli) {
    const std::string strIn = Scratch("stdin"), strOut = Scratch("stdout"), strErr = Scratch("stderr");
    WriteFile(strIn, strInput);
    std::string strCommand = kstrLauncher + "\"" + strProgram + "\" " + strArgs + " < \"" + strIn + "\" > \"" + strOut + "\" 2> \"" +
                             strErr + "\"";
    CliRun run;
#ifdef _WIN32
    // cmd /c drops the outer quotes of the whole line.
    run.nStatus = std::system(("\"" + strCommand + "\"").c_str());
#else
    const int nWait = std::system(strCommand.c_str());
    run.nStatus = WIFEXITED(nWait) ? WEXITSTATUS(nWait) : -1;
#endif
    run.strOut = ReadFile(strOut);
    run.strErr = ReadFile(strErr);
#ifdef _WIN32
    // The C runtime writes text-mode line ends on standard error (standard
    // output is binary: line ends as they came).
    for (std::string* pstr : {&run.strErr}) {
        std::string strUnix;
        for (std::size_t k = 0; k < pstr->size(); ++k)
            if (!((*pstr)[k] == '\r' && k + 1 < pstr->size() && (*pstr)[k + 1] == '\n')) strUnix += (*pstr)[k];
        *pstr = strUnix;
    }
#endif
    return run;
}

std::vector<std::string> Lines(const std::string& strText) {
    std::vector<std::string> lines;
    std::istringstream in(strText);
    std::string strLine;
    while (std::getline(in, strLine)) lines.push_back(strLine);
    return lines;
}

// The terminal's encoding of a UTF-8 text, worked out here independently of
// the program: UTF-8, or the console's code page.
std::string Terminal(const std::string& strUtf8) {
#ifdef _WIN32
    UINT uCodePage = ::GetConsoleOutputCP();
    if (uCodePage == 0) uCodePage = CP_ACP;
    wchar_t szWide[512];
    const int nWide = ::MultiByteToWideChar(CP_UTF8, 0, strUtf8.c_str(), -1, szWide, 512);
    char szOut[1024];
    ::WideCharToMultiByte(uCodePage, 0, szWide, nWide, szOut, sizeof szOut, nullptr, nullptr);
    return szOut;
#else
    return strUtf8;
#endif
}

// The "ligne N : message" lines of standard error, by line number.
std::map<int, std::string> MessagesByLine(const std::string& strErr) {
    std::map<int, std::string> messages;
    const std::string strMark = Terminal(", ligne ");
    for (const std::string& strLine : Lines(strErr)) {
        const std::size_t uMark = strLine.find(strMark);
        if (uMark == std::string::npos) continue;
        const std::size_t uNumber = uMark + strMark.size();
        const std::size_t uColon = strLine.find(" : ", uNumber);
        if (uColon == std::string::npos) continue;
        messages[std::atoi(strLine.substr(uNumber, uColon - uNumber).c_str())] = strLine.substr(uColon + 3);
    }
    return messages;
}

std::string MessageText(DeclinationStatus eStatus) {
    return Terminal(eStatus == kDeclinationDateOutOfPeriod ? PeriodMessageOnOneLine() : DeclinationMessage(eStatus));
}

class NorvaneCliRun : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_pGrids = new DeclinationGrids();
        const std::string strEpoch = kstrGridDir + "/" + kszEpochGrid;
        const std::string strVariation = kstrGridDir + "/" + kszVariationGrid;
        s_eLoad = LoadDeclinationGrids(strEpoch.c_str(), strVariation.c_str(), *s_pGrids);
    }
    static void TearDownTestSuite() { delete s_pGrids; }
    void SetUp() override { ASSERT_EQ(s_eLoad, kGridsLoaded) << "the grid files in " << kstrGridDir; }

    // What the window shows, in the terminal's encoding, or the marker.
    static std::string Expected(const DeclinationOutcome& outcome) {
        if (outcome.m_eStatus != kDeclinationResult) return "*\t*";
        return Terminal(outcome.m_strDeclination + "\t" + outcome.m_strAnnualVariation);
    }

    static DeclinationGrids* s_pGrids;
    static GridLoadStatus s_eLoad;
};
DeclinationGrids* NorvaneCliRun::s_pGrids = nullptr;
GridLoadStatus NorvaneCliRun::s_eLoad = kEpochGridNotOpened;

std::string Fixed(double dValue, int nDecimals) {
    char szText[64];
    std::snprintf(szText, sizeof szText, "%.*f", nDecimals, dValue);
    return szText;
}

TEST_F(NorvaneCliRun, RandomPlacesAndDatesGiveTheWindowsTexts) {
    // Places over France and a margin, dates a little beyond the period on
    // both sides and now and then a day that does not exist; every form of
    // date and position. The window's entry for the same place is built here
    // from the same numbers, and the core computes what it would show.
    std::mt19937 random(20130101);
    std::uniform_real_distribution<double> longitude(-5.5, 10.0), latitude(41.0, 51.5);
    std::uniform_int_distribution<int> year(2008, 2016), month(1, 12), day(1, 31), form(0, 4), coin(0, 1);
    std::string strInput;
    std::vector<DeclinationOutcome> expected;
    int nResults = 0;
    for (int nLine = 0; nLine < 600; ++nLine) {
        DeclinationInput input{};
        input.m_bDateParsed = true;
        input.m_nYear = year(random);
        input.m_nMonth = month(random);
        input.m_nDay = day(random);
        char szDate[32];
        if (coin(random))
            std::snprintf(szDate, sizeof szDate, "%04d-%02d-%02d", input.m_nYear, input.m_nMonth, input.m_nDay);
        else
            std::snprintf(szDate, sizeof szDate, "%d/%d/%04d", input.m_nDay, input.m_nMonth, input.m_nYear);

        const double dLon = longitude(random), dLat = latitude(random);
        std::string strLon, strLat;
        const int nForm = form(random);
        input.m_bRadioDecNorth = input.m_bRadioDmsNorth = dLat >= 0.0;
        input.m_bRadioDecEast = input.m_bRadioDmsEast = dLon >= 0.0;
        if (nForm <= 2) {  // decimal degrees: signed, with letters, letters latitude first
            strLon = Fixed(std::fabs(dLon), 6);
            strLat = Fixed(std::fabs(dLat), 6);
            input.m_dLonDecimal = std::strtod(strLon.c_str(), nullptr);
            input.m_dLatDecimal = std::strtod(strLat.c_str(), nullptr);
            if (nForm == 0) {
                if (dLon < 0) strLon = "-" + strLon;
            } else {
                strLon += dLon < 0 ? (coin(random) ? " W" : "O") : "E";
                strLat += coin(random) ? "N" : " N";
            }
            if (nForm == 2) std::swap(strLon, strLat);
        } else {  // whole degrees, minutes and seconds, in two notations
            input.m_bRadioDms = true;
            const auto split = [&](double dValue, int* pnDeg, unsigned int* puMin, unsigned int* puSec) {
                const long lSeconds = std::lround(std::fabs(dValue) * 3600.0);
                *pnDeg = static_cast<int>(lSeconds / 3600);
                *puMin = static_cast<unsigned int>(lSeconds / 60 % 60);
                *puSec = static_cast<unsigned int>(lSeconds % 60);
            };
            split(dLon, &input.m_nLonDeg, &input.m_uLonMin, &input.m_uLonSec);
            split(dLat, &input.m_nLatDeg, &input.m_uLatMin, &input.m_uLatSec);
            char szLon[48], szLat[48];
            if (nForm == 3) {
                std::snprintf(szLon, sizeof szLon, "%d\xC2\xB0%u'%u\"%c", input.m_nLonDeg, input.m_uLonMin,
                              input.m_uLonSec, dLon < 0 ? 'W' : 'E');
                std::snprintf(szLat, sizeof szLat, "%dd%um%us N", input.m_nLatDeg, input.m_uLatMin, input.m_uLatSec);
            } else {
                std::snprintf(szLon, sizeof szLon, "%s%d:%02u:%02u", dLon < 0 ? "-" : "", input.m_nLonDeg,
                              input.m_uLonMin, input.m_uLonSec);
                std::snprintf(szLat, sizeof szLat, "%d:%02u:%02uN", input.m_nLatDeg, input.m_uLatMin,
                              input.m_uLatSec);
            }
            strLon = szLon;
            strLat = szLat;
        }
        strInput += std::string(szDate) + (coin(random) ? "\t" : " ") + strLon + " " + strLat + "\n";
        expected.push_back(ComputeDeclination(input, *s_pGrids, &SysCoord2SysCoord));
        nResults += expected.back().m_eStatus == kDeclinationResult;
    }
    // The sample reaches results and every failure of the computation.
    EXPECT_GT(nResults, 200);

    const std::string strFile = Scratch("places.txt");
    WriteFile(strFile, strInput);
    const CliRun run = RunCli("\"" + strFile + "\"");
    const std::vector<std::string> out = Lines(run.strOut);
    ASSERT_EQ(out.size(), expected.size()) << run.strErr;
    const std::map<int, std::string> messages = MessagesByLine(run.strErr);
    std::map<DeclinationStatus, int> seen;
    for (std::size_t k = 0; k < expected.size(); ++k) {
        ++seen[expected[k].m_eStatus];
        EXPECT_EQ(out[k], Expected(expected[k])) << "line " << k + 1 << ": " << Lines(strInput)[k];
        const auto message = messages.find(static_cast<int>(k + 1));
        if (expected[k].m_eStatus == kDeclinationResult) {
            EXPECT_TRUE(message == messages.end()) << "line " << k + 1;
        } else {
            ASSERT_TRUE(message != messages.end()) << "line " << k + 1;
            EXPECT_EQ(message->second, MessageText(expected[k].m_eStatus)) << "line " << k + 1;
        }
    }
    EXPECT_EQ(messages.size(), expected.size() - static_cast<std::size_t>(nResults));
    for (DeclinationStatus eStatus :
         {kDeclinationDateNotValid, kDeclinationDateOutOfPeriod, kDeclinationOutOfZone, kDeclinationResult})
        EXPECT_GT(seen[eStatus], 0) << eStatus;
    EXPECT_EQ(run.nStatus, 1);
}

TEST_F(NorvaneCliRun, EveryMessageInItsPlaceAndNothingLost) {
    struct MessageCase {
        const char* pszLine;
        std::string strMessage;  // Windows-1252; empty for a result
    };
    const std::vector<MessageCase> cases = {
        {"# header comment, passed through", ""},
        {"2013-01-01 2.35 48.85 Paris", ""},
        {"", ""},
        {"2013-13-01 2.35 48.85", kszMsgDateNotValid},
        {"31/02/2012 2.35 48.85", kszMsgDateNotValid},
        {"hier 2.35 48.85", kszMsgDateNotValid},
        {"2008-12-31 2.35 48.85", PeriodMessageOnOneLine()},
        {"01/01/2016 2.35 48.85", PeriodMessageOnOneLine()},
        {"2009-01-01 2.35 48.85", ""},
        {"31/12/2015 2.35 48.85", ""},
        {"2013-01-01 -74.0 40.7 New York", kszMsgOutOfZone},
        {"2013-01-01 0 90", kszMsgOutOfZone},
        {"2013-01-01 2.35", kszMsgIncompleteLine},
        {"2013-01-01 2,35 48,85", kszMsgDecimalComma},  // not 2 E, 35 N: the number form of both programs
        {"2013-01-01;2,35;48,85", kszMsgDecimalComma},
        {"2013-01-01 2.35x 48.85", kszMsgLongitudeNotValid},
        {"2013-01-01 2.35 95", kszMsgLatitudeNotValid},
        {"2013-01-01 190 48", kszMsgLongitudeNotValid},
        {"2013-01-01 2.35N 48.85N", kszMsgHemispheres},
        {"2013-01-01 2:60:00 48.85", kszMsgLongitudeNotValid},
        {"x 2.35x 48.85", kszMsgLongitudeNotValid},  // positions before the date, as the window validates
    };
    std::string strInput;
    for (const MessageCase& c : cases) strInput += std::string(c.pszLine) + "\n";
    const CliRun run = RunCli("", strInput);
    const std::vector<std::string> out = Lines(run.strOut);
    ASSERT_EQ(out.size(), cases.size()) << run.strErr;
    const std::map<int, std::string> messages = MessagesByLine(run.strErr);
    for (std::size_t k = 0; k < cases.size(); ++k) {
        const std::string strLine = cases[k].pszLine;
        const auto message = messages.find(static_cast<int>(k + 1));
        if (strLine.empty() || strLine[0] == '#') {
            EXPECT_EQ(out[k], strLine);
        } else if (cases[k].strMessage.empty()) {
            EXPECT_NE(out[k].find('\t'), std::string::npos) << strLine;
            EXPECT_EQ(out[k][0] == '*', false) << strLine;
            EXPECT_TRUE(message == messages.end()) << strLine;
        } else {
            EXPECT_EQ(out[k].substr(0, 3), "*\t*") << strLine;
            ASSERT_TRUE(message != messages.end()) << strLine;
            EXPECT_EQ(message->second, Terminal(cases[k].strMessage)) << strLine;
        }
    }
    // The rest of the line follows its results, or the marker.
    EXPECT_EQ(out[1].substr(out[1].size() - 6), "\tParis");
    EXPECT_EQ(out[10], "*\t*\tNew York");
    EXPECT_EQ(out[13], "*\t*\t48,85");
    // Standard error names the input.
    EXPECT_NE(run.strErr.find(Terminal("(entr\xC3\xA9" "e standard), ligne 4 : ")), std::string::npos) << run.strErr;
    EXPECT_EQ(run.nStatus, 1);

    // One place on the command line: the same message, no line number.
    const CliRun single = RunCli("--date 2016-01-01 --lon 2.35 --lat 48.85");
    EXPECT_EQ(single.strOut, "*\t*\n");
    // The period message, then one line that names the model's option.
    const std::vector<std::string> singleErr = Lines(single.strErr);
    ASSERT_EQ(singleErr.size(), 2u) << single.strErr;
    EXPECT_EQ(singleErr[0], "norvane-cli : " + Terminal(PeriodMessageOnOneLine()));
    EXPECT_NE(singleErr[1].find("--modele"), std::string::npos);
    EXPECT_EQ(single.nStatus, 1);
}

TEST_F(NorvaneCliRun, AwkwardBytesLoseNoLine) {
    // A byte-order mark before a comment, CRLF ends, NUL bytes, Ctrl-Z, bytes
    // that are no text, a line too long to be read and a last line without
    // its line feed: one output line for each input line.
    std::string strInput = "\xEF\xBB\xBF# lieux\n2013-01-01 2.35 48.85\r\n";
    strInput += std::string("2013-01-01 2.35\0 48.85\n", 24);
    strInput += "\x1A\xFF\xFE garbage\n";
    strInput += "2013-01-01 2.35 48.85 " + std::string(3000000, 'x') + "\n";
    strInput += "2013-01-01 -1.5 47.2";
    const CliRun run = RunCli("", strInput);
    std::vector<std::string> out = Lines(run.strOut);
    ASSERT_EQ(out.size(), 6u);
    EXPECT_EQ(out[0], "\xEF\xBB\xBF# lieux");
    out.erase(out.begin());
    // Each line end as it came.
    ASSERT_EQ(out[0].back(), '\r');
    EXPECT_NE(out[0][0], '*');
    EXPECT_EQ(out[1].substr(0, 3), "*\t*");
    EXPECT_EQ(out[2].substr(0, 3), "*\t*");
    EXPECT_EQ(out[3], "*\t*");
    EXPECT_NE(out[4][0], '*');
    const std::map<int, std::string> messages = MessagesByLine(run.strErr);
    EXPECT_EQ(messages.size(), 3u) << run.strErr;
    EXPECT_NE(messages.at(5).find("ligne trop longue"), std::string::npos) << run.strErr;
    EXPECT_EQ(run.nStatus, 1);
}

TEST_F(NorvaneCliRun, Lambert93Input) {
    // Random places in Lambert 93 metres: the engine brings them to NTF
    // Lambert II etendu, and the core chooses the node and computes.
    std::mt19937 random(93);
    std::uniform_real_distribution<double> longitude(-4.5, 8.0), latitude(42.5, 51.0);
    std::string strInput;
    std::vector<DeclinationOutcome> expected, fromWgs84;
    for (int k = 0; k < 200; ++k) {
        const COORDONNEES_TYPE_NC wgs84{longitude(random), latitude(random)};
        const COORDONNEES_TYPE_NC l93 = SysCoord2SysCoord(wgs84, WGS84GG, RGF93L93);
        const std::string strX = Fixed(l93.x_lambda, 3), strY = Fixed(l93.y_phi, 3);
        strInput += "2012-06-15 " + strX + " " + strY + "\n";
        const COORDONNEES_TYPE_NC read{std::strtod(strX.c_str(), nullptr), std::strtod(strY.c_str(), nullptr)};
        expected.push_back(
            DeclinationAtLambert2E(SysCoord2SysCoord(read, RGF93L93, NTFL2E), true, 2012, 6, 15, *s_pGrids));
        DeclinationInput input{};
        input.m_bDateParsed = true;
        input.m_nYear = 2012, input.m_nMonth = 6, input.m_nDay = 15;
        input.m_dLonDecimal = std::fabs(wgs84.x_lambda), input.m_bRadioDecEast = wgs84.x_lambda >= 0;
        input.m_dLatDecimal = wgs84.y_phi, input.m_bRadioDecNorth = true;
        fromWgs84.push_back(ComputeDeclination(input, *s_pGrids, &SysCoord2SysCoord));
    }
    for (const char* pszSystem : {"RGF93L93", "rgf93l93", "10"}) {
        const CliRun run = RunCli(std::string("--systeme ") + pszSystem, strInput);
        const std::vector<std::string> out = Lines(run.strOut);
        ASSERT_EQ(out.size(), expected.size()) << run.strErr;
        int nSameAsWgs84 = 0, nResults = 0;
        for (std::size_t k = 0; k < expected.size(); ++k) {
            EXPECT_EQ(out[k], Expected(expected[k])) << "line " << k + 1;
            nResults += expected[k].m_eStatus == kDeclinationResult;
            nSameAsWgs84 += out[k] == Expected(fromWgs84[k]);
        }
        // The same places in WGS84 give the same node but where the two
        // datum routes (NTF grid, WGS84 translation) fall on either side of a
        // kilometre.
        EXPECT_GT(nResults, 100);
        EXPECT_GE(nSameAsWgs84, 190);
    }
    // Metres in a geographic system, degrees in a projected one.
    EXPECT_EQ(RunCli("-s RGF93L93 -d 2012-06-15 -x 2.35E -y 48.85").strErr,
              "norvane-cli : " + Terminal(kszMsgEastingNotValid) + "\n");
    // Grads from Paris: the same place as in NTF degrees, the same answer;
    // a latitude beyond 100 grads is refused.
    const COORDONNEES_TYPE_NC ntf = SysCoord2SysCoord({2.35, 48.85}, WGS84GG, NTFGG);
    const COORDONNEES_TYPE_NC paris = SysCoord2SysCoord(ntf, NTFGG, NTFPARIS);
    char szArgs[2][160];
    std::snprintf(szArgs[0], sizeof szArgs[0], "-s NTFGG -d 2012-06-15 -x %.10f -y %.10f", ntf.x_lambda, ntf.y_phi);
    std::snprintf(szArgs[1], sizeof szArgs[1], "-s NTFPARIS -d 2012-06-15 -x %.10f -y %.10f", paris.x_lambda,
                  paris.y_phi);
    const CliRun degrees = RunCli(szArgs[0]), grads = RunCli(szArgs[1]);
    EXPECT_FALSE(grads.strOut.empty()) << grads.strErr;
    EXPECT_EQ(grads.strOut, degrees.strOut);
    EXPECT_EQ(RunCli("-s NTFPARIS -d 2012-06-15 -x 0 -y 100.5").strErr,
              "norvane-cli : " + Terminal(kszMsgLatitudeNotValid) + "\n");
}

#ifndef _WIN32
TEST_F(NorvaneCliRun, ConvergenceAgreesWithProj) {
    // PROJ's own Lambert 93 (proj -V prints the meridian convergence) at
    // random places: the same angle, the same sign; and the last column is
    // the declination minus the convergence.
    std::mt19937 random(2154);
    std::uniform_real_distribution<double> longitude(-4.5, 9.0), latitude(42.5, 51.0);
    std::string strPlaces, strProj;
    for (int k = 0; k < 40; ++k) {
        const std::string strLon = Fixed(longitude(random), 6), strLat = Fixed(latitude(random), 6);
        strPlaces += "2014-03-01 " + strLon + " " + strLat + "\n";
        strProj += strLon + " " + strLat + "\n";
    }
    const std::string strProjIn = Scratch("proj.txt");
    WriteFile(strProjIn, strProj);
    const std::string strProjCommand = "proj -V +proj=lcc +lat_0=46.5 +lon_0=3 +lat_1=49 +lat_2=44 +x_0=700000 "
                                       "+y_0=6600000 +ellps=GRS80 < \"" + strProjIn + "\"";
    std::FILE* pProj = ::popen(strProjCommand.c_str(), "r");
    ASSERT_NE(pProj, nullptr);
    std::vector<double> projConvergence;
    char szLine[512];
    while (std::fgets(szLine, sizeof szLine, pProj) != nullptr) {
        const std::string strLine = szLine;
        if (strLine.rfind("Convergence", 0) != 0) continue;
        projConvergence.push_back(std::strtod(strLine.c_str() + strLine.find('[') + 1, nullptr));
    }
    ASSERT_EQ(::pclose(pProj), 0) << "proj (package proj-bin) must be installed";
    ASSERT_EQ(projConvergence.size(), 40u);

    const CliRun run = RunCli("--convergence --nombres", strPlaces);
    const std::vector<std::string> out = Lines(run.strOut);
    ASSERT_EQ(out.size(), 40u) << run.strErr;
    int nCompared = 0;
    for (std::size_t k = 0; k < out.size(); ++k) {
        if (out[k][0] == '*') continue;  // at sea: no declination, no angle either
        ++nCompared;
        double dDeclination, dVariation, dConvergence, dAngle;
        ASSERT_EQ(std::sscanf(out[k].c_str(), "%lf\t%lf\t%lf\t%lf", &dDeclination, &dVariation, &dConvergence, &dAngle), 4)
            << out[k];
        EXPECT_NEAR(dConvergence, projConvergence[k], 1e-6) << Lines(strProj)[k];
        EXPECT_NEAR(dAngle, dDeclination - dConvergence, 1.5e-6) << out[k];
    }
    EXPECT_GT(nCompared, 25);
    // In the window's form: the same numbers with two decimals and the degree sign.
    const CliRun text = RunCli("-c", strPlaces);
    const std::vector<std::string> textOut = Lines(text.strOut);
    ASSERT_EQ(textOut.size(), 40u);
    for (std::size_t k = 0; k < textOut.size(); ++k) {
        if (out[k][0] == '*') continue;
        const std::string strTail = textOut[k].substr(textOut[k].find('\t', textOut[k].find('\t') + 1) + 1);
        double dConvergence = 0.0;
        std::sscanf(out[k].c_str(), "%*f\t%*f\t%lf", &dConvergence);
        EXPECT_EQ(strTail.substr(0, strTail.find('\t')), Terminal(FormatDeclination(dConvergence))) << textOut[k];
    }
}
#endif

// A folder holding the program (and on Windows its engine) with the given grid files.
std::string Bundle(const std::string& strName, const std::vector<std::pair<std::string, std::string>>& files) {
    const std::string strDir = NativePath(testing::TempDir() + "norvane_cli_bundle_" + strName);
#ifdef _WIN32
    ::CreateDirectoryA(strDir.c_str(), nullptr);
    const std::string strSlash = "\\";
    const std::string strProgram = strDir + strSlash + "norvane-cli.exe";
    EXPECT_TRUE(::CopyFileA(kstrCli.c_str(), strProgram.c_str(), FALSE));
    EXPECT_TRUE(::CopyFileA(NativePath(NORVANE_GEOKERN_DLL).c_str(), (strDir + "\\geokern.dll").c_str(), FALSE));
#else
    std::system(("rm -rf '" + strDir + "' && mkdir -p '" + strDir + "'").c_str());
    const std::string strSlash = "/";
    const std::string strProgram = strDir + strSlash + "norvane-cli";
    EXPECT_EQ(std::system(("cp '" + kstrCli + "' '" + strProgram + "'").c_str()), 0);
#endif
    for (const auto& file : files) WriteFile(strDir + strSlash + file.first, file.second);
    return strProgram;
}

TEST_F(NorvaneCliRun, MissingAndShortDataFiles) {
    const std::string strEpoch = ReadFile(kstrGridDir + "/" + kszEpochGrid);
    const std::string strVariation = ReadFile(kstrGridDir + "/" + kszVariationGrid);
    ASSERT_GT(strEpoch.size(), 100000u);

    for (const char* pszMissing : {kszEpochGrid, kszVariationGrid}) {
        std::vector<std::pair<std::string, std::string>> files;
        if (std::string(pszMissing) != kszEpochGrid) files.push_back({kszEpochGrid, strEpoch});
        if (std::string(pszMissing) != kszVariationGrid) files.push_back({kszVariationGrid, strVariation});
        const std::string strProgram = Bundle(pszMissing, files);
        const std::string strDir = strProgram.substr(0, strProgram.find_last_of("/\\"));
        const CliRun run = RunCli("-d 2013-01-01 -x 2.35 -y 48.85", "", strProgram);
        EXPECT_EQ(run.nStatus, 2);
        EXPECT_EQ(run.strOut, "") << "nothing computed without the grids";
        // The file by its name, and each place looked in.
        EXPECT_NE(run.strErr.find(pszMissing), std::string::npos) << run.strErr;
        EXPECT_NE(run.strErr.find("\n  " + strDir + "\n"), std::string::npos) << run.strErr;
        EXPECT_NE(run.strErr.find("\n  " + strDir + (strDir.find('\\') == std::string::npos ? "/" : "\\") +
                                  (strDir.find('\\') == std::string::npos ? "../share/norvane" : "..\\share\\norvane")),
                  std::string::npos)
            << run.strErr;
    }

    // An epoch file cut at half: the program does not start (Paris would be
    // out of zone) and says which file, and how far it could be read.
    std::size_t uCut = 0;
    for (int k = 0; k < kGridNodes / 2; ++k) uCut = strEpoch.find('\n', uCut) + 1;
    const std::string strShort = Bundle("short", {{kszEpochGrid, strEpoch.substr(0, uCut)}, {kszVariationGrid, strVariation}});
    const CliRun run = RunCli("", "2013-01-01 2.35 48.85\n", strShort);
    EXPECT_EQ(run.nStatus, 2);
    EXPECT_EQ(run.strOut, "");
    EXPECT_NE(run.strErr.find(Utf8ToTerminal(kszEpochGrid + std::string(" \xC2\xBB : ") + std::to_string(kGridNodes / 2))),
              std::string::npos) << run.strErr;
    // A directory given on the command line comes first.
    const CliRun given = RunCli("--donnees \"" + kstrGridDir + "\" -d 2013-01-01 -x 2.35 -y 48.85", "", strShort);
    EXPECT_EQ(given.nStatus, 0) << given.strErr;
}

TEST_F(NorvaneCliRun, ExitStatusesAndUsage) {
    struct StatusCase {
        std::string strArgs;
        std::string strInput;
        int nStatus;
    };
    const std::string strGood = Scratch("good.txt"), strBad = Scratch("bad.txt");
    WriteFile(strGood, "2013-01-01 2.35 48.85\n");
    WriteFile(strBad, "2013-01-01 2.35 48.85\n2017-01-01 2.35 48.85\n");
    const std::vector<StatusCase> cases = {
        {"", "2013-01-01 2.35 48.85\n", 0},
        {"", "", 0},
        {"\"" + strGood + "\" -", "2013-01-01 -1.5 47.2\n", 0},
        {"\"" + strGood + "\" \"" + strBad + "\"", "", 1},
        {"-d 2013-01-01 -x 2.35 -y 48.85", "", 0},
        {"--date=2013-01-01 --lon=2.35 --lat=48.85 --nombres -c", "", 0},
        {"-d 2013-01-01 -x 2.35", "", 2},
        {"-d 2013-01-01 -x 2.35 -y 48.85 \"" + strGood + "\"", "", 2},
        {"--inconnue", "", 2},
        {"-s WGS84", "", 2},
        {"-s", "", 2},
        {"--date", "", 2},
        {"--nombres=oui", "", 2},
        {"\"" + Scratch("absent.txt") + "\"", "", 2},
        {"--help", "", 0},
        {"--version", "", 0},
    };
    for (const StatusCase& c : cases) {
        const CliRun run = RunCli(c.strArgs, c.strInput);
        EXPECT_EQ(run.nStatus, c.nStatus) << c.strArgs << "\n" << run.strErr;
        if (c.nStatus == 2) {
            EXPECT_NE(run.strErr, "") << c.strArgs;
        }
    }
    // An unreadable file among readable ones: said, nothing written for it,
    // the others computed.
    const CliRun run = RunCli("\"" + strGood + "\" \"" + Scratch("absent.txt") + "\" \"" + strGood + "\"");
    EXPECT_EQ(run.nStatus, 2);
    EXPECT_EQ(Lines(run.strOut).size(), 2u);
    EXPECT_NE(run.strErr.find(Scratch("absent.txt")), std::string::npos);
#ifndef _WIN32
    // Results that cannot be written are not a success.
    EXPECT_EQ(WEXITSTATUS(std::system((kstrLauncher + "\"" + kstrCli + "\" -d 2013-01-01 -x 2.35 -y 48.85 > /dev/full 2> /dev/null").c_str())), 2);
    EXPECT_EQ(WEXITSTATUS(std::system((kstrLauncher + "\"" + kstrCli + "\" \"" + strGood + "\" > /dev/full 2> /dev/null").c_str())), 2);
#endif
    // The help names every system and the sign convention of the convergence.
    const CliRun help = RunCli("--help");
    for (const char* pszName : {"NTFL1C", "NTFL2E", "RGF93L93", "WGS84GG", "RGF93GG"})
        EXPECT_NE(help.strOut.find(pszName), std::string::npos) << pszName;
    EXPECT_NE(help.strOut.find(Terminal("positive quand le nord du quadrillage est \xC3\xA0 l'est")), std::string::npos);
}

// Both programs in the same situations: the same status, the same message
// after their name, and for a usage error where to find help. Then
// norvane-cli's model: its numbers are the core's, its messages the core's.
TEST_F(NorvaneCliRun, OptionsAndMessagesOfBothPrograms) {
    const std::string strConv = NativePath(GEOKERN_CONV_EXE);
    const std::string strAbsent = "\"" + NativePath(Scratch("absent.txt")) + "\"";
    const std::string strFolder = "\"" + NativePath(testing::TempDir()) + "\"";
    const CIgrfModel model = CIgrfModel::Load(kstrGridDir + "/" + ModelById(kModelIgrf)->pszFile, *ModelById(kModelIgrf));
    auto modelText = [&](int nYear, int nMonth, int nDay, double dLon, double dLat, double dAltitude) {
        const DeclinationOutcome outcome = DeclinationAtPlace(kSourceModel, true, nYear, nMonth, nDay, dLon, dLat,
                                                              dAltitude, *s_pGrids, &SysCoord2SysCoord, &model);
        EXPECT_EQ(outcome.m_eStatus, kDeclinationResult);
        return outcome;
    };
    const DeclinationOutcome paris = modelText(2026, 12, 8, 2.35, 48.85, 0.0);
    const DeclinationOutcome parisHigh = modelText(2026, 12, 8, 2.35, 48.85, 10000.0);
    double dConvergence = 0.0;
    ASSERT_TRUE(Lambert93Convergence({2.35, 48.85}, WGS84GG, &SysCoord2SysCoord, &dConvergence));
    const COORDONNEES_TYPE_NC l93 = SysCoord2SysCoord({700000.0, 6600000.0}, RGF93L93, WGS84GG);
    const DeclinationOutcome fromL93 = modelText(2013, 1, 1, l93.x_lambda, l93.y_phi, 0.0);
    // Places all over the Earth on a few days, each day for many lines: the
    // coefficients kept from line to line give DeclinationAtPlace's numbers.
    std::mt19937 random(14);
    std::uniform_real_distribution<double> longitude(-180.0, 180.0), latitude(-89.0, 89.0);
    std::string strPlaces, strPlacesOut;
    for (int nLine = 0; nLine < 300; ++nLine) {
        const int nYear = 1900 + 43 * (nLine / 100);
        const double dLon = longitude(random), dLat = latitude(random);
        strPlaces += std::to_string(nYear) + "-03-01 " + Fixed(dLon, 6) + " " + Fixed(dLat, 6) + "\n";
        const DeclinationOutcome outcome = modelText(nYear, 3, 1, std::strtod(Fixed(dLon, 6).c_str(), nullptr),
                                                     std::strtod(Fixed(dLat, 6).c_str(), nullptr), 0.0);
        strPlacesOut += Fixed(outcome.m_dDeclination, 6) + "\t" + Fixed(outcome.m_dAnnualVariation, 6) + "\n";
    }
    const std::string kszPlace = " -d 2026-12-08 -x 2.35 -y 48.85";
    // Every element of WMM2025 at NOAA's first test point, a decimal year, in
    // the blackout zone.
    const ModelDescription& wmm = *ModelById(kModelWmm);
    const CIgrfModel wmmModel = CIgrfModel::Load(kstrGridDir + "/" + wmm.pszFile, wmm);
    const FieldOutcome polar = FieldAtPlace(&wmmModel, 2025.0, -121.0, 89.0, 28000.0);
    std::string strPolar;
    for (int k = 0; k < kElementWithRatesCount; ++k) strPolar += Fixed(polar.m_dElements[k], 6) + "\t";
    for (int k = 0; k < kElementCount; ++k) strPolar += Fixed(polar.m_dUncertainties[k], 6) + "\t";
    strPolar += "2\n";
    struct OptionCase {
        std::string strConvArgs, strCliArgs;  // empty: the situation does not arise for that program
        std::string strInput;
        int nStatus;
        std::string strMessage;  // UTF-8, what follows "programme : " on standard error
        std::string strOut;      // when not empty, standard output
    };
    const std::vector<OptionCase> cases = {
        {"--inconnue 11 8", "--inconnue", "", 2, "option inconnue ou ambigu\xC3\xAB \xC2\xAB --inconnue \xC2\xBB", ""},
        {"11 8 -q", "-q", "", 2, "option inconnue \xC2\xAB -q \xC2\xBB", ""},
        {"--entete=oui 11 8", "--entete=oui", "", 2, "l'option \xC2\xAB --entete \xC2\xBB ne prend pas de valeur", ""},
        {"", "--donnees", "", 2, "l'option \xC2\xAB --donnees \xC2\xBB attend une valeur (DOSSIER)", ""},
        {"", "-d 2013-01-01 -x 2.35 -y", "", 2, "l'option \xC2\xAB -y \xC2\xBB attend une valeur (Y)", ""},
        {"11 8 " + strAbsent, strAbsent, "", 2,
         "fichier illisible \xC2\xAB " + NativePath(Scratch("absent.txt")) + " \xC2\xBB : ", ""},
        {"11 8 " + strFolder, strFolder, "", 2, "fichier illisible \xC2\xAB ", ""},
        {"--aide", "--aide", "", 0, "", ""},
        {"-h", "--help", "", 0, "", ""},
        {"--version", "--version", "", 0, "", ""},
        // The model.
        {"", "--modele" + kszPlace, "", 0, "", Terminal(paris.m_strDeclination + "\t" + paris.m_strAnnualVariation) + "\n"},
        {"", "-m --altitude=10000" + kszPlace, "", 0, "",
         Terminal(parisHigh.m_strDeclination + "\t" + parisHigh.m_strAnnualVariation) + "\n"},
        {"", "-m -n -c" + kszPlace, "", 0, "",
         Fixed(paris.m_dDeclination, 6) + "\t" + Fixed(paris.m_dAnnualVariation, 6) + "\t" + Fixed(dConvergence, 6) +
             "\t" + Fixed(paris.m_dDeclination - dConvergence, 6) + "\n"},
        {"", "-m -s RGF93L93 -d 2013-01-01 -x 700000 -y 6600000", "", 0, "",
         Terminal(fromL93.m_strDeclination + "\t" + fromL93.m_strAnnualVariation) + "\n"},
        {"", "-m -n", strPlaces, 0, "", strPlacesOut},
        {"", "-m -d 1899-12-31 -x 2 -y 48", "", 1, OutcomeMessage(kDeclinationModelOutOfPeriod, ModelById(kModelIgrf)), "*\t*\n"},
        {"", "-m -d 2020-01-01 -x 0 -y -90", "", 1, std::string(kszMsgPole), "*\t*\n"},
        {"", "-m -c --altitude 2e6" + kszPlace, "", 1, std::string(kszMsgPositionNotValid), "*\t*\t*\t*\n"},
        {"", "-m --altitude 12m" + kszPlace, "", 2, "altitude non valide \xC2\xAB 12m \xC2\xBB", ""},
        {"", "--altitude 5" + kszPlace, "", 2, "--altitude ne sert qu'avec --modele", ""},
        // The other models, the elements and their messages.
        {"", "--modele=wmm --elements --incertitude -n --altitude 28000 -d 2025.0 -x -121 -y 89", "", 0, "", strPolar},
        {"", "--modele=wmm -d 2024-12-31 -x 2 -y 48", "", 1, OutcomeMessage(kDeclinationModelOutOfPeriod, &wmm),
         "*\t*\t*\n"},
        {"", "--modele=wmmhr --elements -d 2026-01-01 -x 0 -y 90", "", 1, std::string(kszMsgPole),
         "*\t*\t*\t*\t*\t*\t*\t*\t*\t*\t*\t*\t*\t*\t*\n"},
        {"", "--modele=wmm -d 2026.5 -x 2 -y 95", "", 1, std::string(kszMsgLatitudeNotValid), "*\t*\t*\n"},
        {"", "--modele=wmmx" + kszPlace, "", 2, "mod\xC3\xA8le inconnu \xC2\xAB wmmx \xC2\xBB (igrf, wmm ou wmmhr)", ""},
        {"", "--elements" + kszPlace, "", 2, "--elements et --incertitude demandent --modele", ""},
        {"", "-m --incertitude" + kszPlace, "", 2, "--incertitude : le mod\xC3\xA8le IGRF-14 n'en publie pas", ""},
        // A projected place far outside its system (the page's test has the rest of the bad points).
        {"", "-m -s NTFL2E -d 2020-01-01 -x 1e308 -y 1e308", "", 1, std::string(kszMsgFarFromOrigin), "*\t*\n"},
        // Without the model, the grids' message and a line that names it.
        {"", kszPlace, "", 1, std::string(PeriodMessageOnOneLine()) + "\nnorvane-cli : ", "*\t*\n"},
    };
    for (const OptionCase& c : cases) {
        for (const bool bConv : {true, false}) {
            const std::string& strArgs = bConv ? c.strConvArgs : c.strCliArgs;
            if (strArgs.empty()) continue;
            const std::string strName = bConv ? "geokern-conv" : "norvane-cli";
            const CliRun run = RunCli(strArgs, c.strInput, bConv ? strConv : kstrCli);
            EXPECT_EQ(run.nStatus, c.nStatus) << strName << " " << strArgs << "\n" << run.strErr;
            if (c.strMessage.empty()) {
                EXPECT_EQ(run.strErr, "") << strName << " " << strArgs;
            } else {
                EXPECT_EQ(run.strErr.rfind(strName + " : " + Utf8ToTerminal(c.strMessage), 0), 0u)
                    << strName << " " << strArgs << "\n" << run.strErr;
            }
            if (c.nStatus == 2 && c.strMessage.rfind("fichier", 0) != 0) {
                EXPECT_NE(run.strErr.find(Utf8ToTerminal("Voir \xC2\xAB " + strName + " --aide \xC2\xBB.\n")), std::string::npos)
                    << strName << " " << strArgs;
            }
            if (c.nStatus == 1 && !bConv && c.strCliArgs.find("-m") == std::string::npos) {
                EXPECT_NE(run.strErr.find("--modele"), std::string::npos) << run.strErr;
            }
            if (strArgs == "--version") {
                EXPECT_EQ(run.strOut, strName + " " + (bConv ? GEOKERN_VERSION : PROGRAMS_VERSION) + "\n");
            }
            if (!c.strOut.empty()) {
                EXPECT_EQ(run.strOut, c.strOut) << strName << " " << strArgs;
            }
        }
    }
    // What the model is, in the help.
    const std::string strCliHelp = RunCli("--aide").strOut;
    for (const char* pszFact : {"--modele", "--altitude", "IGRF-14", "IAGA", "1900", "2030", "crustal", "2025",
                                "WMM2025", "WMMHR2025", "133", "--elements", "--incertitude"})
        EXPECT_NE(strCliHelp.find(pszFact), std::string::npos) << pszFact;
    // The help under each of its names, the same text.
    for (const std::string& strProgram : {strConv, kstrCli}) {
        const std::string strHelp = RunCli("--aide", "", strProgram).strOut;
        EXPECT_EQ(strHelp.rfind("Usage : ", 0), 0u) << strHelp;
        EXPECT_EQ(RunCli("-h", "", strProgram).strOut, strHelp);
        EXPECT_EQ(RunCli("--help", "", strProgram).strOut, strHelp);
    }
#ifndef _WIN32
    // Results that cannot be written: said, status 2.
    for (const std::string& strCommand : {kstrLauncher + "\"" + strConv + "\" 11 8", kstrLauncher + "\"" + kstrCli + "\""}) {
        const std::string strErr = Scratch("full_stderr");
        const int nWait = std::system(("echo '2013-01-01 2.35 48.85' | " + strCommand + " > /dev/full 2> \"" + strErr + "\"").c_str());
        EXPECT_EQ(WEXITSTATUS(nWait), 2) << strCommand;
        EXPECT_NE(ReadFile(strErr).find(" : \xC3\xA9" "criture impossible sur la sortie standard : "), std::string::npos)
            << strCommand << ReadFile(strErr);
    }
#endif
}

#ifndef _WIN32
// A pipe: each line is answered before the next is written, as a user typing
// or a program feeding lines one by one would see it.
TEST_F(NorvaneCliRun, EachLineOfAPipeIsAnsweredAsItComes) {
    const std::string strConv = NativePath(GEOKERN_CONV_EXE);
    const std::string strParis = CSysCoord2SysCoord("2.35@48.85", WGS84GG, NTFL2E);
    struct PipeCase {
        std::vector<std::string> arguments;
        std::string strLine, strAnswerStart, strAnswerEnd;
    };
    const std::vector<PipeCase> cases = {
        {{strConv, "WGS84GG", "NTFL2E"}, "2.35 48.85 Paris\n", strParis.substr(0, strParis.find('@')) + " ", " Paris\n"},
        {{kstrCli}, "2013-01-01 2.35 48.85 Paris\n", "", "\tParis\n"},
    };
    for (const PipeCase& c : cases) {
        int toProgram[2], fromProgram[2];
        ASSERT_EQ(::pipe(toProgram), 0);
        ASSERT_EQ(::pipe(fromProgram), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, toProgram[0], 0);
        posix_spawn_file_actions_adddup2(&actions, fromProgram[1], 1);
        for (int nFd : {toProgram[0], toProgram[1], fromProgram[0], fromProgram[1]})
            posix_spawn_file_actions_addclose(&actions, nFd);
        std::vector<char*> argv;
#ifdef PROGRAM_LAUNCHER
        argv.push_back(const_cast<char*>(PROGRAM_LAUNCHER));
#endif
        for (const std::string& strArg : c.arguments) argv.push_back(const_cast<char*>(strArg.c_str()));
        argv.push_back(nullptr);
        pid_t pid = 0;
        ASSERT_EQ(posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        ::close(toProgram[0]);
        ::close(fromProgram[1]);
        for (int nLine = 0; nLine < 3; ++nLine) {
            ASSERT_EQ(::write(toProgram[1], c.strLine.data(), c.strLine.size()), static_cast<ssize_t>(c.strLine.size()));
            // The answer, within 10 seconds, while the input stays open.
            std::string strAnswer;
            while (strAnswer.empty() || strAnswer.back() != '\n') {
                pollfd wait{fromProgram[0], POLLIN, 0};
                ASSERT_EQ(::poll(&wait, 1, 10000), 1) << c.arguments[0] << ": no answer to line " << nLine + 1;
                char buffer[256];
                const ssize_t nRead = ::read(fromProgram[0], buffer, sizeof buffer);
                ASSERT_GT(nRead, 0);
                strAnswer.append(buffer, static_cast<std::size_t>(nRead));
            }
            EXPECT_EQ(strAnswer.rfind(c.strAnswerStart, 0), 0u) << strAnswer;
            EXPECT_NE(strAnswer[0], '*') << strAnswer;
            EXPECT_EQ(strAnswer.substr(strAnswer.size() - c.strAnswerEnd.size()), c.strAnswerEnd) << strAnswer;
        }
        ::close(toProgram[1]);
        ::close(fromProgram[0]);
        int nWait = 0;
        ::waitpid(pid, &nWait, 0);
        EXPECT_EQ(WEXITSTATUS(nWait), 0);
    }
}
#endif

}  // namespace
