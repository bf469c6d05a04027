#include "declination_grids.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "geokern2.h"
#include "land_coverage.h"

namespace declination_grids {

const char* const kEpochFileName = "Grid2009_5.dat";
const char* const kVariationFileName = "GridVS2013Poly.dat";

std::vector<Node> lattice() {
    std::vector<Node> nodes;
    nodes.reserve(kNodes);
    for (int j = 0; j < kRows; ++j) {
        for (int i = 0; i < kColumns; ++i) {
            Node n{};
            n.i = i;
            n.j = j;
            n.easting_km = kOriginEastingKm + kStepKm * i;
            n.northing_km = kOriginNorthingKm + kStepKm * j;
            const COORDONNEES_TYPE_NC lambert = {n.easting_km * 1000.0, n.northing_km * 1000.0};
            const COORDONNEES_TYPE_NC wgs84 = SysCoord2SysCoord(lambert, NTFL2E, WGS84GG);
            n.longitude_deg = wgs84.x_lambda;
            n.latitude_deg = wgs84.y_phi;
            n.covered = land_coverage::node_has_land(i, j);
            nodes.push_back(n);
        }
    }
    return nodes;
}

Grids compute(const igrf::Model& model, const std::vector<Node>& nodes) {
    const igrf::Snapshot at_epoch = model.at(igrf::decimal_year(2009, 7, 1));
    const igrf::Snapshot at_end = model.at(igrf::decimal_year(2015, 7, 1));
    const double span_years = kSpanDays / 365.0;
    Grids g;
    g.epoch_declination.reserve(nodes.size());
    g.annual_variation.reserve(nodes.size());
    for (const Node& n : nodes) {
        if (!n.covered) {
            g.epoch_declination.push_back(kNoDataDeclination);
            g.annual_variation.push_back(kNoDataVariation);
            continue;
        }
        const double b = igrf::declination_deg(at_epoch.field(n.latitude_deg, n.longitude_deg, 0.0));
        const double d_end = igrf::declination_deg(at_end.field(n.latitude_deg, n.longitude_deg, 0.0));
        g.epoch_declination.push_back(b);
        g.annual_variation.push_back((d_end - b) / span_years);
    }
    return g;
}

std::string format_grid(const std::vector<Node>& nodes, const std::vector<double>& values) {
    if (nodes.size() != values.size()) throw std::logic_error("format_grid: one value per node");
    std::string text;
    text.reserve(nodes.size() * 24);
    char line[64];
    for (std::size_t k = 0; k < nodes.size(); ++k) {
        const int len = std::snprintf(line, sizeof line, "%d %d %.6f\r\n", nodes[k].easting_km,
                                      nodes[k].northing_km, values[k]);
        text.append(line, static_cast<std::size_t>(len));
    }
    return text;
}

namespace {
void write_file(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path);
}
}  // namespace

void write_grids(const std::string& directory, const std::vector<Node>& nodes, const Grids& grids) {
    write_file(directory + "/" + kEpochFileName, format_grid(nodes, grids.epoch_declination));
    write_file(directory + "/" + kVariationFileName, format_grid(nodes, grids.annual_variation));
}

}  // namespace declination_grids
