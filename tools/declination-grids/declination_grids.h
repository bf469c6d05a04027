// The calculator's two declination grids, made from the geomagnetic model:
// where the nodes of the lattice lie in WGS84, which of them lie in the
// covered territory, and the IGRF declination and its annual variation there.
// The lattice, the files and the no-data mark are the calculator core's
// (DeclinationGrids.h).
#pragma once

#include <string>
#include <vector>

#include "DeclinationGrids.h"
#include "Igrf.h"

namespace declination_grids {

// The date the annual variation is taken to: the variation is the change from
// the grids' epoch (2009-07-01) to this day, over the calculator's years of
// 365 days.
constexpr int kVariationEndYear = 2015, kVariationEndMonth = 7, kVariationEndDay = 1;

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
    std::vector<double> epoch_declination;  // degrees on 2009-07-01, indexed by GridNodeIndex
    std::vector<double> annual_variation;   // degrees per year, indexed by GridNodeIndex
};

// Declination from the model at each covered node (height 0 on the ellipsoid);
// the no-data values elsewhere.
Grids compute(const CIgrfModel& model, const std::vector<Node>& nodes);

// Writes both files (the core's names and format) into a directory; throws
// std::runtime_error on failure.
void write_grids(const std::string& directory, const Grids& grids);

}  // namespace declination_grids
