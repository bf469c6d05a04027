// isogonic-points: the declination the calculator shows at each node with
// data on one day, as "longitude latitude declination" lines (WGS84 degrees),
// read from the grid files the way the calculator reads them. Feeds the map.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "declination_grids.h"

namespace {
// The calculator's reader: 55,876 records "%*E %*E %E", row j outer.
bool read_grid(const char* path, std::vector<float>& values) {
    std::FILE* f = std::fopen(path, "r");
    if (!f) return false;
    values.assign(declination_grids::kNodes, 0.0f);
    for (float& v : values)
        if (std::fscanf(f, "%*E %*E %E", &v) != 1) break;
    std::fclose(f);
    return true;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s Grid2009_5.dat GridVS2013Poly.dat DAYS_SINCE_2009-07-01\n", argv[0]);
        return 2;
    }
    std::vector<float> epoch, variation;
    if (!read_grid(argv[1], epoch) || !read_grid(argv[2], variation)) {
        std::fprintf(stderr, "isogonic-points: cannot read the grid files\n");
        return 1;
    }
    // The calculator's time in years: days times the double nearest 1/365.
    const double t = std::atoi(argv[3]) * 0.0027397260273972603;
    const auto nodes = declination_grids::lattice();
    for (std::size_t k = 0; k < nodes.size(); ++k) {
        if (epoch[k] > 360.0f) continue;
        const double d = t * static_cast<double>(variation[k]) + static_cast<double>(epoch[k]);
        std::printf("%.6f %.6f %.4f\n", nodes[k].longitude_deg, nodes[k].latitude_deg, d);
    }
    return 0;
}
