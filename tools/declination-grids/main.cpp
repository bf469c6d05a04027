// declination-grids: writes the calculator's grid files Grid2009_5.dat and
// GridVS2013Poly.dat from the IGRF coefficient file.
#include <cstdio>
#include <exception>

#include "declination_grids.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s IGRF13.shc OUTPUT_DIRECTORY\n", argv[0]);
        return 2;
    }
    try {
        const CIgrfModel model = CIgrfModel::Load(argv[1]);
        const auto nodes = declination_grids::lattice();
        declination_grids::write_grids(argv[2], declination_grids::compute(model, nodes));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "declination-grids: %s\n", e.what());
        return 1;
    }
    return 0;
}
