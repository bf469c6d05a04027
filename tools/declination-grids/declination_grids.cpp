#include "declination_grids.h"

#include <stdexcept>
#include <utility>

#include "geokern2.h"
#include "land_coverage.h"

namespace declination_grids {

std::vector<Node> lattice() {
    std::vector<Node> nodes;
    nodes.reserve(kGridNodes);
    for (int j = 0; j < kGridRows; ++j) {
        for (int i = 0; i < kGridColumns; ++i) {
            Node n{};
            n.i = i;
            n.j = j;
            n.easting_km = GridNodeEastKm(i);
            n.northing_km = GridNodeNorthKm(j);
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

Grids compute(const CIgrfModel& model, const std::vector<Node>& nodes) {
    const CIgrfSnapshot at_epoch = model.At(IgrfDecimalYear(kGridEpochYear, kGridEpochMonth, kGridEpochDay));
    const CIgrfSnapshot at_end = model.At(IgrfDecimalYear(kVariationEndYear, kVariationEndMonth, kVariationEndDay));
    // 2191 days, in the calculator's years.
    const double span_years = YearsFromDays(DaysSinceEpoch(kVariationEndYear, kVariationEndMonth, kVariationEndDay));
    Grids g;
    g.epoch_declination.assign(kGridNodes, kNoDataEpochValue);
    g.annual_variation.assign(kGridNodes, kNoDataVariationValue);
    for (const Node& n : nodes) {
        if (!n.covered) continue;
        const double b = IgrfDeclination(at_epoch.Field(n.latitude_deg, n.longitude_deg, 0.0));
        const double d_end = IgrfDeclination(at_end.Field(n.latitude_deg, n.longitude_deg, 0.0));
        g.epoch_declination[GridNodeIndex(n.i, n.j)] = b;
        g.annual_variation[GridNodeIndex(n.i, n.j)] = (d_end - b) / span_years;
    }
    return g;
}

void write_grids(const std::string& directory, const Grids& grids) {
    for (const auto& file : {std::make_pair(kszEpochGridFile, &grids.epoch_declination),
                             std::make_pair(kszVariationGridFile, &grids.annual_variation)}) {
        const std::string path = directory + "/" + file.first;
        if (!WriteGridFile(path.c_str(), *file.second)) throw std::runtime_error("cannot write " + path);
    }
}

}  // namespace declination_grids
