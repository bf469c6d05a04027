// isogonic-points: the declination the calculator shows at each node with
// data on one day, as "longitude latitude declination" lines (WGS84 degrees),
// read from the grid files by the calculator's own reader. Feeds the map.
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "declination_grids.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s Grid2009_5.dat GridVS2013Poly.dat DAYS_SINCE_2009-07-01\n", argv[0]);
        return 2;
    }
    std::unique_ptr<DeclinationGrids> grids(new DeclinationGrids());
    if (LoadDeclinationGrids(argv[1], argv[2], *grids) != kGridsLoaded) {
        std::fprintf(stderr, "isogonic-points: cannot read the grid files\n");
        return 1;
    }
    const long long days = std::atoi(argv[3]);
    for (const declination_grids::Node& n : declination_grids::lattice()) {
        if (!NodeHasData(*grids, n.i, n.j)) continue;
        std::printf("%.6f %.6f %.4f\n", n.longitude_deg, n.latitude_deg, DeclinationAtNode(*grids, n.i, n.j, days));
    }
    return 0;
}
