// The grid file reader, on files the tests write.
#include <cstdio>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "Declination.h"
#include "DeclinationGrids.h"
#include "test_files.h"

namespace {

// Records "x y value" with value = r * 0.5 + fOffset for record r (exact in
// single precision), x and y the node's kilometres as a real file has them.
std::string GridText(int nRecords, float fOffset = 0.0f, const char* pszBetweenNumbers = " ",
                     const char* pszBetweenRecords = "\n") {
    std::string strText;
    char szRecord[96];
    for (int r = 0; r < nRecords; ++r) {
        std::snprintf(szRecord, sizeof szRecord, "%d%s%d%s%.2f%s", 15 + 5 * (r % kGridColumns), pszBetweenNumbers,
                      1590 + 5 * (r / kGridColumns), pszBetweenNumbers, r * 0.5 + fOffset, pszBetweenRecords);
        strText += szRecord;
    }
    return strText;
}

struct Grid {
    float afValue[kGridNodes] = {};
    bool abReceived[kGridNodes] = {};
};

std::unique_ptr<Grid> Load(const std::string& strPath, int* pnRecords, bool* pbOpened = nullptr) {
    std::unique_ptr<Grid> pGrid(new Grid());
    const bool bOpened = LoadGridFile(strPath.c_str(), pGrid->afValue, pGrid->abReceived, pnRecords);
    if (pbOpened != nullptr) *pbOpened = bOpened;
    return pGrid;
}

// Record r is node (r mod 244, r div 244), element 229 i + j.
void ExpectRecords(const Grid& grid, int nReceived, float fOffset = 0.0f) {
    int nWrong = 0;
    for (int r = 0; r < kGridNodes; ++r) {
        const int n = GridNodeIndex(r % kGridColumns, r / kGridColumns);
        const bool bExpected = r < nReceived;
        const float fExpected = bExpected ? float(r * 0.5 + fOffset) : 0.0f;
        if (grid.abReceived[n] != bExpected || grid.afValue[n] != fExpected) {
            if (++nWrong <= 5) ADD_FAILURE() << "record " << r << ": " << grid.afValue[n] << " " << grid.abReceived[n];
        }
    }
    EXPECT_EQ(nWrong, 0);
}

}  // namespace

TEST(GridGeometry, Layout) {
    EXPECT_EQ(kGridColumns * kGridRows, 55876);
    EXPECT_EQ(GridNodeIndex(0, 0), 0);
    EXPECT_EQ(GridNodeIndex(0, 228), 228);
    EXPECT_EQ(GridNodeIndex(1, 0), 229);
    EXPECT_EQ(GridNodeIndex(243, 228), 55875);
    EXPECT_EQ(GridNodeEastKm(243), 1230);
    EXPECT_EQ(GridNodeNorthKm(228), 2730);
}

// Around every node, in metres: truncation to whole kilometres, then the
// nearer node. From 2 km below a node to 2.999 km above it the node is taken;
// one metre further the neighbour is, or nothing past the edges.
TEST(GridGeometry, NodeForAPositionAroundEveryNode) {
    struct Offset {
        double dMetres;
        int nStep;  // -1 the previous node, 0 this one, +1 the next
    } const offsets[] = {{-2001.0, -1}, {-2000.0, 0}, {0.0, 0}, {2999.0, 0}, {3000.0, 1}};
    int nWrong = 0;
    for (int i = 0; i < kGridColumns; ++i) {
        for (int j = 0; j < kGridRows; ++j) {
            const double dEast = GridNodeEastKm(i) * 1000.0, dNorth = GridNodeNorthKm(j) * 1000.0;
            for (const Offset& o : offsets) {
                for (int nAxis = 0; nAxis < 2; ++nAxis) {
                    const int nExpectedI = i + (nAxis == 0 ? o.nStep : 0);
                    const int nExpectedJ = j + (nAxis == 1 ? o.nStep : 0);
                    const bool bInside = nExpectedI >= 0 && nExpectedI < kGridColumns && nExpectedJ >= 0 &&
                                         nExpectedJ < kGridRows;
                    int nI = -1, nJ = -1;
                    const bool bFound = NearestGridNode(dEast + (nAxis == 0 ? o.dMetres : 0.0),
                                                        dNorth + (nAxis == 1 ? o.dMetres : 0.0), &nI, &nJ);
                    if (bFound != bInside || (bFound && (nI != nExpectedI || nJ != nExpectedJ))) {
                        if (++nWrong <= 5)
                            ADD_FAILURE() << "node (" << i << ", " << j << ") offset " << o.dMetres << " m on axis "
                                          << nAxis << ": " << bFound << " (" << nI << ", " << nJ << ")";
                    }
                }
            }
        }
    }
    EXPECT_EQ(nWrong, 0);
}

TEST(GridFile, FullFileFillsEveryNodeInRecordOrder) {
    int nRecords = -1;
    const std::unique_ptr<Grid> pGrid = Load(WriteScratchFile(GridText(kGridNodes)), &nRecords);
    EXPECT_EQ(nRecords, kGridNodes);
    ExpectRecords(*pGrid, kGridNodes);
    // Second record of row 1 is node (1, 1): record 245.
    EXPECT_EQ(pGrid->afValue[GridNodeIndex(1, 1)], 122.5f);
}

TEST(GridFile, LineBreaksCarryNoMeaning) {
    struct Layout {
        const char* pszBetweenNumbers;
        const char* pszBetweenRecords;
    } const layouts[] = {{" ", " "}, {"\n", "\n"}, {"\t", "\r\n"}, {"  \n\t ", "\n\n\f"}};
    int nLayout = 0;
    for (const Layout& layout : layouts) {
        int nRecords = -1;
        const std::string strSuffix = std::to_string(nLayout++);
        const std::unique_ptr<Grid> pGrid = Load(
            WriteScratchFile(GridText(kGridNodes, 0.0f, layout.pszBetweenNumbers, layout.pszBetweenRecords),
                             strSuffix.c_str()),
            &nRecords);
        EXPECT_EQ(nRecords, kGridNodes) << "layout " << strSuffix;
        ExpectRecords(*pGrid, kGridNodes);
    }
}

TEST(GridFile, NumberForms) {
    const std::string strText = "0 0 12.5\n0 0 -3.75\n1.5E+1 1.59e3 1.25E-01\n-0 +0 +7\n1 2 2E2\n";
    int nRecords = -1;
    const std::unique_ptr<Grid> pGrid = Load(WriteScratchFile(strText), &nRecords);
    EXPECT_EQ(nRecords, 5);
    const float expected[] = {12.5f, -3.75f, 0.125f, 7.0f, 200.0f};
    for (int r = 0; r < 5; ++r) {
        EXPECT_EQ(pGrid->afValue[GridNodeIndex(r, 0)], expected[r]) << r;
        EXPECT_TRUE(pGrid->abReceived[GridNodeIndex(r, 0)]);
    }
}

TEST(GridFile, RecordsAfterTheLastNodeAreIgnored) {
    int nRecords = -1;
    const std::string strText = GridText(kGridNodes) + "1 2 777\n3 4 888\nnot even numbers\n";
    const std::unique_ptr<Grid> pGrid = Load(WriteScratchFile(strText), &nRecords);
    EXPECT_EQ(nRecords, kGridNodes);
    ExpectRecords(*pGrid, kGridNodes);
}

TEST(GridFile, ShortFileLeavesTheRestWithoutValue) {
    int nRecords = -1;
    const std::unique_ptr<Grid> pGrid = Load(WriteScratchFile(GridText(1000)), &nRecords);
    EXPECT_EQ(nRecords, 1000);
    ExpectRecords(*pGrid, 1000);
    // A record cut after its second number gives nothing either.
    const std::unique_ptr<Grid> pCut = Load(WriteScratchFile(GridText(3) + "1 2", "_cut"), &nRecords);
    EXPECT_EQ(nRecords, 3);
    ExpectRecords(*pCut, 3);
}

TEST(GridFile, NotANumberStopsTheReading) {
    // In the value of record 500, then in the position of record 500.
    const std::string strValue = GridText(500) + "1 2 abc\n" + GridText(kGridNodes);
    const std::string strPosition = GridText(500) + "x 2 3\n" + GridText(kGridNodes);
    int nRecords = -1;
    std::unique_ptr<Grid> pGrid = Load(WriteScratchFile(strValue, "_value"), &nRecords);
    EXPECT_EQ(nRecords, 500);
    ExpectRecords(*pGrid, 500);
    pGrid = Load(WriteScratchFile(strPosition, "_position"), &nRecords);
    EXPECT_EQ(nRecords, 500);
    ExpectRecords(*pGrid, 500);
}

TEST(GridFile, EmptyFileOpensAndGivesNothing) {
    int nRecords = -1;
    bool bOpened = false;
    const std::unique_ptr<Grid> pGrid = Load(WriteScratchFile(""), &nRecords, &bOpened);
    EXPECT_TRUE(bOpened);
    EXPECT_EQ(nRecords, 0);
    ExpectRecords(*pGrid, 0);
}

TEST(GridFile, MissingFileIsTheOnlyFailure) {
    int nRecords = -1;
    bool bOpened = true;
    const std::unique_ptr<Grid> pGrid = Load(MissingFilePath(), &nRecords, &bOpened);
    EXPECT_FALSE(bOpened);
    EXPECT_EQ(nRecords, 0);
    ExpectRecords(*pGrid, 0);
}

TEST(GridFile, BothFilesIntoTheGrids) {
    const std::string strEpoch = WriteScratchFile(GridText(kGridNodes, 0.25f), "_epoch");
    const std::string strVariation = WriteScratchFile(GridText(kGridNodes - 1, -0.5f), "_variation");
    std::unique_ptr<DeclinationGrids> pGrids(new DeclinationGrids());
    EXPECT_EQ(LoadDeclinationGrids(MissingFilePath().c_str(), strVariation.c_str(), *pGrids), kEpochGridNotOpened);
    EXPECT_STREQ(GridLoadMessage(kEpochGridNotOpened), "Grid.dat introuvable");
    EXPECT_STREQ(GridLoadMessage(kVariationGridNotOpened), "taux_annuel.dat introuvable");
    EXPECT_EQ(GridLoadMessage(kGridsLoaded), nullptr);
    EXPECT_FALSE(pGrids->variationReceived[0]);  // nothing read after the first failure
    EXPECT_EQ(LoadDeclinationGrids(strEpoch.c_str(), MissingFilePath().c_str(), *pGrids), kVariationGridNotOpened);
    pGrids.reset(new DeclinationGrids());
    ASSERT_EQ(LoadDeclinationGrids(strEpoch.c_str(), strVariation.c_str(), *pGrids), kGridsLoaded);
    EXPECT_EQ(pGrids->declinationAtEpoch[GridNodeIndex(2, 1)], 123.25f);  // record 246
    EXPECT_EQ(pGrids->annualVariation[GridNodeIndex(2, 1)], 122.5f);
    EXPECT_TRUE(NodeHasData(*pGrids, 2, 1));
    // The variation file lacks its last record: that node has no data, although
    // its epoch value arrived.
    EXPECT_TRUE(pGrids->epochReceived[GridNodeIndex(243, 228)]);
    EXPECT_FALSE(NodeHasData(*pGrids, 243, 228));
    EXPECT_FALSE(NodeHasData(*pGrids, -1, 0));
    EXPECT_FALSE(NodeHasData(*pGrids, 0, 229));
}

// The mended fault: the nodes a short or damaged file never reached used to
// show 0.00 as their declination.
namespace {
COORDONNEES_TYPE_NC g_answer;
COORDONNEES_TYPE_NC GEOKERN_APPEL AnswerTransform(COORDONNEES_TYPE_NC, Liste_SysCoord, Liste_SysCoord) {
    return g_answer;
}
DeclinationOutcome ComputeAtRecord(const DeclinationGrids& grids, int r) {
    DeclinationInput input{};
    input.m_bDateParsed = true;
    input.m_nYear = 2009;
    input.m_nMonth = 7;
    input.m_nDay = 1;
    input.m_bRadioDms = input.m_bRadioDmsNorth = input.m_bRadioDmsEast = true;
    g_answer.x_lambda = (15 + 5 * (r % kGridColumns)) * 1000.0;
    g_answer.y_phi = (1590 + 5 * (r / kGridColumns)) * 1000.0;
    return ComputeDeclination(input, grids, &AnswerTransform);
}
}  // namespace

TEST(GridFileMend, ShortEpochFileNodesAreOutOfZone) {
    const std::string strEpoch = WriteScratchFile(GridText(600), "_epoch");  // values up to 299.5
    const std::string strVariation = WriteScratchFile(GridText(kGridNodes), "_variation");
    std::unique_ptr<DeclinationGrids> pGrids(new DeclinationGrids());
    ASSERT_EQ(LoadDeclinationGrids(strEpoch.c_str(), strVariation.c_str(), *pGrids), kGridsLoaded);
    const DeclinationOutcome last = ComputeAtRecord(*pGrids, 599);
    ASSERT_EQ(last.m_eStatus, kDeclinationResult);
    EXPECT_EQ(last.m_strDeclination, "299.50 \xC2\xB0");
    EXPECT_EQ(ComputeAtRecord(*pGrids, 600).m_eStatus, kDeclinationOutOfZone);
    EXPECT_EQ(ComputeAtRecord(*pGrids, kGridNodes - 1).m_eStatus, kDeclinationOutOfZone);
}

TEST(GridFileMend, DamagedVariationFileNodesAreOutOfZone) {
    const std::string strEpoch = WriteScratchFile(GridText(kGridNodes), "_epoch");
    const std::string strVariation = WriteScratchFile(GridText(300) + "0 0 1,5\n" + GridText(kGridNodes), "_variation");
    std::unique_ptr<DeclinationGrids> pGrids(new DeclinationGrids());
    ASSERT_EQ(LoadDeclinationGrids(strEpoch.c_str(), strVariation.c_str(), *pGrids), kGridsLoaded);
    EXPECT_EQ(ComputeAtRecord(*pGrids, 299).m_eStatus, kDeclinationResult);
    // "1,5" reads as 1, then ",5" stops the reading: record 300 has its value,
    // record 301 onwards have none.
    EXPECT_EQ(pGrids->annualVariation[GridNodeIndex(300 % kGridColumns, 300 / kGridColumns)], 1.0f);
    EXPECT_EQ(ComputeAtRecord(*pGrids, 300).m_eStatus, kDeclinationResult);
    EXPECT_EQ(ComputeAtRecord(*pGrids, 301).m_eStatus, kDeclinationOutOfZone);
}

TEST(GridFileMend, SpelledOutNonFiniteValuesAreOutOfZone) {
    const std::string strEpoch = WriteScratchFile("0 0 nan\n0 0 inf\n0 0 -inf\n0 0 1\n", "_epoch");
    const std::string strVariation = WriteScratchFile("0 0 1\n0 0 1\n0 0 1\n0 0 nan\n", "_variation");
    std::unique_ptr<DeclinationGrids> pGrids(new DeclinationGrids());
    ASSERT_EQ(LoadDeclinationGrids(strEpoch.c_str(), strVariation.c_str(), *pGrids), kGridsLoaded);
    for (int r = 0; r < 4; ++r) EXPECT_EQ(ComputeAtRecord(*pGrids, r).m_eStatus, kDeclinationOutOfZone) << r;
}
