// Grid storage and the reader of the two grid files.
#include "DeclinationGrids.h"

#include <cmath>
#include <cstdio>

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

int LoadDeclinationGrids(const char* pszEpochPath, const char* pszVariationPath, DeclinationGrids& grids) {
    if (!LoadGridFile(pszEpochPath, grids.declinationAtEpoch, grids.epochReceived)) return 1;
    if (!LoadGridFile(pszVariationPath, grids.annualVariation, grids.variationReceived)) return 2;
    return 0;
}

bool NodeHasData(const DeclinationGrids& grids, int i, int j) {
    if (i < 0 || i >= kGridColumns || j < 0 || j >= kGridRows) return false;
    const int nNode = GridNodeIndex(i, j);
    if (!grids.epochReceived[nNode] || !grids.variationReceived[nNode]) return false;
    const float fEpoch = grids.declinationAtEpoch[nNode];
    const float fVariation = grids.annualVariation[nNode];
    // A file may spell "nan" or "inf", which the reader accepts as numbers:
    // such a node cannot give a declination either.
    if (!std::isfinite(fEpoch) || !std::isfinite(fVariation)) return false;
    return !(fEpoch > kNoDataThreshold);
}
