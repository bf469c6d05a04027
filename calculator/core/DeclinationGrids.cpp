// Grid storage, the grid files, the node rule and the declination at a node.
#include "DeclinationGrids.h"

#include <cmath>
#include <cstdio>

#include "Calendar.h"
#include "FixedText.h"

namespace {

constexpr double kYearsPerDay = 0.0027397260273972603;  // nearest double to 1/365
constexpr double kKilometresPerMetre = 0.001;

}  // namespace

// Static storage: zero-filled, no node received, until the start-up loads it.
DeclinationGrids g_declinationGrids;

bool LoadGridFile(const char* pszPath, float* pGrid, bool* pbReceived, int* pnRecords) {
    if (pnRecords != nullptr) *pnRecords = 0;
    std::FILE* pFile = std::fopen(pszPath, "rt");
    if (pFile == nullptr) return false;

    // Row j = 0 (1590 km) first, and within a row the 244 eastings: record r
    // goes to node (r mod 244, r div 244). The first two numbers of a record
    // (its position) are not checked.
    int nRecords = 0;
    bool bReading = true;
    for (int j = 0; j < kGridRows && bReading; ++j) {
        for (int i = 0; i < kGridColumns; ++i) {
            float fValue = 0.0f;
            if (std::fscanf(pFile, "%*E %*E %E", &fValue) != 1) {
                // End of file or something that is not a number: the nodes
                // not reached stay without a value.
                bReading = false;
                break;
            }
            pGrid[GridNodeIndex(i, j)] = fValue;
            pbReceived[GridNodeIndex(i, j)] = true;
            ++nRecords;
        }
    }
    std::fclose(pFile);
    if (pnRecords != nullptr) *pnRecords = nRecords;
    return true;
}

GridLoadStatus LoadDeclinationGrids(const char* pszEpochPath, const char* pszVariationPath, DeclinationGrids& grids) {
    if (!LoadGridFile(pszEpochPath, grids.declinationAtEpoch, grids.epochReceived)) return kEpochGridNotOpened;
    if (!LoadGridFile(pszVariationPath, grids.annualVariation, grids.variationReceived))
        return kVariationGridNotOpened;
    return kGridsLoaded;
}

const char* GridLoadMessage(GridLoadStatus eStatus) {
    switch (eStatus) {
    case kEpochGridNotOpened: return kszMsgEpochGridMissing;
    case kVariationGridNotOpened: return kszMsgVariationGridMissing;
    case kGridsLoaded: break;
    }
    return nullptr;
}

std::string FormatGridRecord(int i, int j, double dValue) {
    // "%d %d %.6f\r\n" without the C locale's say on the decimal separator.
    return std::to_string(GridNodeEastKm(i)) + ' ' + std::to_string(GridNodeNorthKm(j)) + ' ' +
           FormatFixed(dValue, 6) + "\r\n";
}

std::string FormatGridFile(const std::vector<double>& values) {
    std::string strText;
    if (values.size() != static_cast<std::size_t>(kGridNodes)) return strText;
    strText.reserve(static_cast<std::size_t>(kGridNodes) * 24);
    // The reader's order: row j outer, column i inner.
    for (int j = 0; j < kGridRows; ++j)
        for (int i = 0; i < kGridColumns; ++i) strText += FormatGridRecord(i, j, values[GridNodeIndex(i, j)]);
    return strText;
}

bool WriteGridFile(const char* pszPath, const std::vector<double>& values) {
    const std::string strText = FormatGridFile(values);
    if (strText.empty()) return false;
    std::FILE* pFile = std::fopen(pszPath, "wb");
    if (pFile == nullptr) return false;
    const bool bWritten = std::fwrite(strText.data(), 1, strText.size(), pFile) == strText.size();
    return (std::fclose(pFile) == 0) && bWritten;
}

bool MetresToKilometres(double dMetres, int* pnKm) {
    const double dKm = dMetres * kKilometresPerMetre;
    // Truncation toward zero fits a 32-bit integer exactly on this open
    // interval; NaN fails the comparisons too.
    if (!(dKm > -2147483649.0 && dKm < 2147483648.0)) return false;
    *pnKm = static_cast<int>(dKm);
    return true;
}

int NearestNodeIndex(int nKm, int nOriginKm) {
    const long long nOffset = static_cast<long long>(nKm) - nOriginKm;
    long long nIndex = nOffset / kGridStepKm;
    long long nRemainder = nOffset % kGridStepKm;
    if (nRemainder < 0) {  // floor division
        nIndex -= 1;
        nRemainder += kGridStepKm;
    }
    if (nRemainder > 2.5) nIndex += 1;  // 3 or 4 km past a node: the next one is nearer
    return static_cast<int>(nIndex);
}

bool NearestGridNode(double dEastMetres, double dNorthMetres, int* pnI, int* pnJ) {
    // Whole kilometres before the node choice; the engine's failure pair
    // (-9999, -9999) lands at -9 km, outside the lattice.
    int nKmX;
    int nKmY;
    if (!MetresToKilometres(dEastMetres, &nKmX) || !MetresToKilometres(dNorthMetres, &nKmY)) return false;
    const int i = NearestNodeIndex(nKmX, kGridOriginEastKm);
    const int j = NearestNodeIndex(nKmY, kGridOriginNorthKm);
    if (i < 0 || i >= kGridColumns || j < 0 || j >= kGridRows) return false;
    *pnI = i;
    *pnJ = j;
    return true;
}

bool NodeValuesHaveData(float fEpoch, float fVariation) {
    // A file may spell "nan" or "inf", which the reader accepts as numbers:
    // such a node cannot give a declination either.
    if (!std::isfinite(fEpoch) || !std::isfinite(fVariation)) return false;
    return !(fEpoch > kNoDataThreshold);
}

bool NodeHasData(const DeclinationGrids& grids, int i, int j) {
    if (i < 0 || i >= kGridColumns || j < 0 || j >= kGridRows) return false;
    const int nNode = GridNodeIndex(i, j);
    if (!grids.epochReceived[nNode] || !grids.variationReceived[nNode]) return false;
    return NodeValuesHaveData(grids.declinationAtEpoch[nNode], grids.annualVariation[nNode]);
}

long long DaysSinceEpoch(int nYear, int nMonth, int nDay) {
    return CalendarDayNumber(nYear, nMonth, nDay) - CalendarDayNumber(kGridEpochYear, kGridEpochMonth, kGridEpochDay);
}

double YearsFromDays(long long nDays) { return static_cast<double>(nDays) * kYearsPerDay; }

double DeclinationAtDate(float fEpoch, float fVariation, long long nDaysSinceEpoch) {
    const double dProduct = YearsFromDays(nDaysSinceEpoch) * static_cast<double>(fVariation);
    return dProduct + static_cast<double>(fEpoch);
}

double DeclinationAtNode(const DeclinationGrids& grids, int i, int j, long long nDaysSinceEpoch) {
    const int nNode = GridNodeIndex(i, j);
    return DeclinationAtDate(grids.declinationAtEpoch[nNode], grids.annualVariation[nNode], nDaysSinceEpoch);
}
