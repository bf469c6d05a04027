// The two 5 km grids of the calculator: declination at the epoch 2009-07-01
// and its annual variation, on the NTF Lambert II extended lattice of
// 244 x 229 nodes. This header owns everything about them: the lattice, the
// text files (names, reader and writer), the node taken for a position and the
// declination at a node on a date. The calculator, the grid generator, the map
// feed and the tests all use these.
#ifndef NORVANE_DECLINATIONGRIDS_H
#define NORVANE_DECLINATIONGRIDS_H

#include <string>
#include <vector>

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
// The node's position in whole kilometres.
constexpr int GridNodeEastKm(int i) { return kGridOriginEastKm + kGridStepKm * i; }
constexpr int GridNodeNorthKm(int j) { return kGridOriginNorthKm + kGridStepKm * j; }

// An epoch declination above this marks a node without data.
constexpr float kNoDataThreshold = 360.0f;
// What the grid files hold at such a node.
constexpr double kNoDataEpochValue = 9999.0;
constexpr double kNoDataVariationValue = 0.0;
static_assert(kNoDataEpochValue > kNoDataThreshold, "the written mark reads as no data");

// The grids' epoch: the epoch declination is the value on this day.
constexpr int kGridEpochYear = 2009, kGridEpochMonth = 7, kGridEpochDay = 1;

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

// ---------------------------------------------------------------------------
// The files

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

enum GridLoadStatus {
    kGridsLoaded,            // both files opened and read
    kEpochGridNotOpened,     // "Grid2009_5.dat" cannot be opened, nothing read
    kVariationGridNotOpened  // "GridVS2013Poly.dat" cannot be opened
};

// Both files into grids (first the epoch grid, then the variation grid).
GridLoadStatus LoadDeclinationGrids(const char* pszEpochPath, const char* pszVariationPath, DeclinationGrids& grids);
// The start-up message for a status, or nullptr when both files were read.
const char* GridLoadMessage(GridLoadStatus eStatus);

// The generator's form of a file, which the reader accepts: one record per
// line, "easting northing value" with the node's kilometres and the value with
// six decimals (full stop, whatever the C locale), CRLF line ends.
std::string FormatGridRecord(int i, int j, double dValue);
// The text of a whole file from one value per node, indexed like the grids
// (GridNodeIndex), written in reading order. Empty when values does not hold
// exactly 55,876 values.
std::string FormatGridFile(const std::vector<double>& values);
// Writes that text to a file (binary, replacing it). False when values is not
// one per node or the file cannot be written completely.
bool WriteGridFile(const char* pszPath, const std::vector<double>& values);

// ---------------------------------------------------------------------------
// The node for a position

// Metres to whole kilometres truncated toward zero; false when the value is
// not finite or the kilometres do not fit a 32-bit integer.
bool MetresToKilometres(double dMetres, int* pnKm);
// Index of the node nearest to a whole kilometre value along one axis (may be
// outside the lattice; the caller checks the bounds).
int NearestNodeIndex(int nKm, int nOriginKm);
// The node the calculator reads for a position in NTF Lambert II extended
// metres: each coordinate truncated to whole kilometres, then the nearest node
// along each axis. False when a coordinate is not finite or too large, or the
// node lies outside the lattice.
bool NearestGridNode(double dEastMetres, double dNorthMetres, int* pnI, int* pnJ);

// ---------------------------------------------------------------------------
// The values at a node

// Whether a node's two values give a declination: both finite and the epoch
// value not above 360.0 (single precision).
bool NodeValuesHaveData(float fEpoch, float fVariation);
// True when node (i, j) is inside the lattice and holds data: both values
// received and NodeValuesHaveData.
bool NodeHasData(const DeclinationGrids& grids, int i, int j);

// Days since the epoch 2009-07-01, negative before it.
long long DaysSinceEpoch(int nYear, int nMonth, int nDay);
// Years of 365 days: nDays * 0.0027397260273972603.
double YearsFromDays(long long nDays);
// The declination a node gives on a date: t * A + B in double precision, with
// t = YearsFromDays(nDaysSinceEpoch), A and B widened from single precision
// (the product first, then the sum).
double DeclinationAtDate(float fEpoch, float fVariation, long long nDaysSinceEpoch);
// The same at node (i, j) of the grids (the caller has checked NodeHasData).
double DeclinationAtNode(const DeclinationGrids& grids, int i, int j, long long nDaysSinceEpoch);

#endif
