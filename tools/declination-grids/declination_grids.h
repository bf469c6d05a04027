// The calculator's two declination grids: the nodes of the 5 km lattice in NTF
// Lambert II etendu, which of them lie in the covered territory, the IGRF
// declination and its annual variation there, and the text files that hold them.
#pragma once

#include <string>
#include <vector>

#include "igrf.h"

namespace declination_grids {

// Lattice geometry, kilometres in NTF Lambert II etendu.
constexpr int kColumns = 244;  // easting index i
constexpr int kRows = 229;     // northing index j
constexpr int kNodes = kColumns * kRows;
constexpr int kOriginEastingKm = 15;
constexpr int kOriginNorthingKm = 1590;
constexpr int kStepKm = 5;

// Values written for nodes outside the covered territory: the calculator reads
// an epoch declination above 360 as "no data".
constexpr double kNoDataDeclination = 9999.0;
constexpr double kNoDataVariation = 0.0;

// The grids' epoch (2009-07-01) and the date the annual variation is taken to
// (2015-07-01), 2191 days later; the calculator counts years of 365 days.
constexpr int kSpanDays = 2191;

struct Node {
    int i;
    int j;
    int easting_km;
    int northing_km;
    double longitude_deg;  // WGS84, from the engine
    double latitude_deg;
    bool covered;  // land of metropolitan France within the node's reach (land_coverage.h)
};

// All nodes in file order: row j = 0..228 outer, column i = 0..243 inner.
std::vector<Node> lattice();

struct Grids {
    std::vector<double> epoch_declination;  // degrees on 2009-07-01, file order
    std::vector<double> annual_variation;   // degrees per year, file order
};

// Declination from the model at each covered node (height 0 on the ellipsoid);
// the no-data values elsewhere.
Grids compute(const igrf::Model& model, const std::vector<Node>& nodes);

// The text of one grid file: one record "easting northing value" per line,
// kilometres and six decimals, CRLF line ends.
std::string format_grid(const std::vector<Node>& nodes, const std::vector<double>& values);

// File names the calculator looks for.
extern const char* const kEpochFileName;      // "Grid2009_5.dat"
extern const char* const kVariationFileName;  // "GridVS2013Poly.dat"

// Writes both files into a directory; throws std::runtime_error on failure.
void write_grids(const std::string& directory, const std::vector<Node>& nodes, const Grids& grids);

}  // namespace declination_grids
