// The computation with the real engine and the grid files committed with the
// program (calculator/data), and the grid file format on those files. The
// files are part of the program: their absence fails every test here.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Declination.h"
#include "geokern2.h"
#ifdef _WIN32
#include "ressource.h"
#endif

namespace {

#ifdef _WIN32
// Linked into the test program, the engine's entry point is not run by the
// loader: run it as the library's loading would, on the program's own module,
// which carries the grid resource.
class EngineEntryPoint : public testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(DllEntryPoint(GetModuleHandleA(nullptr), DLL_PROCESS_ATTACH, nullptr)); }
};
testing::Environment* const g_pEngineEntryPoint = testing::AddGlobalTestEnvironment(new EngineEntryPoint);
#endif

const std::string kstrGridDir = NORVANE_GRID_DIR;

class DeclinationEngineTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        const std::string strEpoch = kstrGridDir + "/" + kszEpochGridFile;
        const std::string strVariation = kstrGridDir + "/" + kszVariationGridFile;
        s_pGrids = new DeclinationGrids();
        s_eStatus = LoadDeclinationGrids(strEpoch.c_str(), strVariation.c_str(), *s_pGrids);
    }
    static void TearDownTestSuite() {
        delete s_pGrids;
        s_pGrids = nullptr;
    }
    void SetUp() override {
        ASSERT_EQ(s_eStatus, kGridsLoaded) << "the committed grid files in " << kstrGridDir;
    }

    // Paris, Notre-Dame, in decimal mode: 48.8566 N, 2.3522 E, NTF Lambert II
    // extended about (601,152 m, 2,428,696 m), so kx 601, ky 2428: node
    // (117, 168), the node at 600 km, 2430 km.
    static DeclinationInput Paris(int nYear, int nMonth, int nDay) {
        DeclinationInput input{};
        input.m_bDateParsed = true;
        input.m_nYear = nYear;
        input.m_nMonth = nMonth;
        input.m_nDay = nDay;
        input.m_bRadioDms = false;
        input.m_dLatDecimal = 48.8566;
        input.m_dLonDecimal = 2.3522;
        input.m_bRadioDecNorth = true;
        input.m_bRadioDecEast = true;
        return input;
    }
    static std::string Printf(const char* pszFormat, double dValue) {
        char szText[64];
        std::snprintf(szText, sizeof szText, pszFormat, dValue);
        return szText;
    }

    static DeclinationGrids* s_pGrids;
    static GridLoadStatus s_eStatus;
};
DeclinationGrids* DeclinationEngineTest::s_pGrids = nullptr;
GridLoadStatus DeclinationEngineTest::s_eStatus = kEpochGridNotOpened;

constexpr int kParisI = 117;
constexpr int kParisJ = 168;

}  // namespace

TEST_F(DeclinationEngineTest, ParisIsNode117_168) {
    const COORDONNEES_TYPE_NC lambert = SysCoord2SysCoord({2.3522, 48.8566}, WGS84GG, NTFL2E);
    EXPECT_NEAR(lambert.x_lambda, 601152.3, 1.0);
    EXPECT_NEAR(lambert.y_phi, 2428695.9, 1.0);
    EXPECT_TRUE(NodeHasData(*s_pGrids, kParisI, kParisJ));
}

TEST_F(DeclinationEngineTest, ParisAtTheEpochShowsTheNodeValue) {
    const float fB = s_pGrids->declinationAtEpoch[GridNodeIndex(kParisI, kParisJ)];
    const float fA = s_pGrids->annualVariation[GridNodeIndex(kParisI, kParisJ)];
    const DeclinationOutcome outcome = ComputeDeclination(Paris(2009, 7, 1), *s_pGrids, &SysCoord2SysCoord);
    ASSERT_EQ(outcome.m_eStatus, kDeclinationResult);
    EXPECT_EQ(outcome.m_strDeclination, Printf("%3.2f \xC2\xB0", fB));
    EXPECT_EQ(outcome.m_strAnnualVariation, Printf("%3.2f \xC2\xB0/an", fA));
    // Metropolitan France around 2009: a declination of a degree or so, slowly turning east.
    EXPECT_GT(fB, -3.0f);
    EXPECT_LT(fB, 3.0f);
}

TEST_F(DeclinationEngineTest, ParisAtTheEndOfThePeriod) {
    const double dB = s_pGrids->declinationAtEpoch[GridNodeIndex(kParisI, kParisJ)];
    const double dA = s_pGrids->annualVariation[GridNodeIndex(kParisI, kParisJ)];
    const DeclinationOutcome outcome = ComputeDeclination(Paris(2015, 12, 31), *s_pGrids, &SysCoord2SysCoord);
    ASSERT_EQ(outcome.m_eStatus, kDeclinationResult);
    EXPECT_EQ(outcome.m_strDeclination, Printf("%3.2f \xC2\xB0", dB + dA * 2374.0 / 365.0));
}

TEST_F(DeclinationEngineTest, SameNodeFromDegreesMinutesSeconds) {
    // 48 51' 24" N, 2 21' 8" E is the same place to within a few metres.
    DeclinationInput input = Paris(2012, 2, 29);
    input.m_bRadioDms = true;
    input.m_bRadioDmsNorth = true;
    input.m_bRadioDmsEast = true;
    input.m_nLatDeg = 48;
    input.m_uLatMin = 51;
    input.m_uLatSec = 24;
    input.m_nLonDeg = 2;
    input.m_uLonMin = 21;
    input.m_uLonSec = 8;
    const DeclinationOutcome dms = ComputeDeclination(input, *s_pGrids, &SysCoord2SysCoord);
    const DeclinationOutcome decimal = ComputeDeclination(Paris(2012, 2, 29), *s_pGrids, &SysCoord2SysCoord);
    ASSERT_EQ(dms.m_eStatus, kDeclinationResult);
    EXPECT_EQ(dms.m_strDeclination, decimal.m_strDeclination);
    EXPECT_EQ(dms.m_strAnnualVariation, decimal.m_strAnnualVariation);
}

TEST_F(DeclinationEngineTest, FarFromFranceIsOutOfZone) {
    DeclinationInput input = Paris(2010, 6, 15);
    input.m_dLatDecimal = 40.7;  // New York
    input.m_dLonDecimal = 74.0;
    input.m_bRadioDecEast = false;
    EXPECT_EQ(ComputeDeclination(input, *s_pGrids, &SysCoord2SysCoord).m_eStatus, kDeclinationOutOfZone);
    input.m_dLatDecimal = 90.0;  // the pole: whatever the engine answers, no crash and no result
    input.m_dLonDecimal = 0.0;
    EXPECT_EQ(ComputeDeclination(input, *s_pGrids, &SysCoord2SysCoord).m_eStatus, kDeclinationOutOfZone);
}

// The committed files hold exactly what the calculator keeps of them: read in
// single precision and written again, each gives back its own bytes. This ties
// the reader's order, the writer's format and the node index to the files.
TEST_F(DeclinationEngineTest, GridsWrittenBackAreTheCommittedFilesByteForByte) {
    struct {
        const char* pszFile;
        const float* pfValues;
    } const files[] = {{kszEpochGridFile, s_pGrids->declinationAtEpoch},
                       {kszVariationGridFile, s_pGrids->annualVariation}};
    for (const auto& file : files) {
        SCOPED_TRACE(file.pszFile);
        std::ifstream in(kstrGridDir + "/" + file.pszFile, std::ios::binary);
        const std::string strCommitted((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_FALSE(strCommitted.empty());
        const std::string strWritten = FormatGridFile(std::vector<double>(file.pfValues, file.pfValues + kGridNodes));
        const auto firstDifference = std::mismatch(strWritten.begin(), strWritten.end(), strCommitted.begin(),
                                                   strCommitted.end());
        const std::size_t nAt = static_cast<std::size_t>(firstDifference.first - strWritten.begin());
        EXPECT_EQ(strWritten.size(), strCommitted.size());
        EXPECT_EQ(nAt, strWritten.size()) << "written: " << strWritten.substr(nAt < 30 ? 0 : nAt - 30, 60)
                                          << "\ncommitted: " << strCommitted.substr(nAt < 30 ? 0 : nAt - 30, 60);
    }
}
