// The two 5 km grids of the calculator: declination at the epoch 2009-07-01
// and its annual variation, on the NTF Lambert II extended lattice of
// 244 x 229 nodes, and the reader of their text files.
#ifndef NORVANE_DECLINATIONGRIDS_H
#define NORVANE_DECLINATIONGRIDS_H

// Lattice geometry, kilometres in NTF Lambert II extended.
constexpr int kGridColumns = 244;  // easting index i, X = 15 km + 5 km * i
constexpr int kGridRows = 229;     // northing index j, Y = 1590 km + 5 km * j
constexpr int kGridNodes = kGridColumns * kGridRows;  // 55,876
constexpr int kGridOriginEastKm = 15;
constexpr int kGridOriginNorthKm = 1590;
constexpr int kGridStepKm = 5;
static_assert(kGridNodes == 55876, "grid size");

// Node (i, j) is element 229 * i + j: the northings of one column are contiguous.
constexpr int GridNodeIndex(int i, int j) { return kGridRows * i + j; }

// An epoch declination above this marks a node without data.
constexpr float kNoDataThreshold = 360.0f;

// Both grids share the node index. A node holds data only when both files gave
// it a value: a short or damaged file leaves the rest flagged as not received,
// and the computation treats those nodes as out of zone instead of showing 0.00.
struct DeclinationGrids {
    float declinationAtEpoch[kGridNodes];  // degrees, from "Grid2009_5.dat"
    float annualVariation[kGridNodes];     // degrees per year, from "GridVS2013Poly.dat"
    bool epochReceived[kGridNodes];
    bool variationReceived[kGridNodes];
};

// The process-wide grids: zero-filled (no node received) until the start-up
// loads them, read-only afterwards.
extern DeclinationGrids g_declinationGrids;

// File names looked for in the program directory, and the start-up messages
// when one cannot be opened (the messages name fixed texts, not the files).
constexpr char kszEpochGridFile[] = "Grid2009_5.dat";
constexpr char kszVariationGridFile[] = "GridVS2013Poly.dat";
constexpr char kszMsgEpochGridMissing[] = "Grid.dat introuvable";
constexpr char kszMsgVariationGridMissing[] = "taux_annuel.dat introuvable";

// Reads one grid file (text mode, one "%*E %*E %E" per record, record r to node
// (r mod 244, r div 244), 55,876 records, anything after them ignored) into
// pGrid, and sets pbReceived for every node that got a value. Reading stops at
// the end of the file or at the first text that is not a number; the nodes not
// reached keep their value and flag. pnRecords, when given, receives the number
// of records read. Returns false only when the file cannot be opened.
bool LoadGridFile(const char* pszPath, float* pGrid, bool* pbReceived, int* pnRecords = nullptr);

// Both files into grids (first the epoch grid, then the variation grid).
// Returns 0 when both opened, 1 when the epoch file cannot be opened (nothing
// else read), 2 when the variation file cannot be opened.
int LoadDeclinationGrids(const char* pszEpochPath, const char* pszVariationPath, DeclinationGrids& grids);

// True when node (i, j) is inside the lattice and holds data: both values
// received, both finite, and the epoch value not above 360.0 (single precision).
bool NodeHasData(const DeclinationGrids& grids, int i, int j);

#endif
