#include "land_coverage.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <stdexcept>

#include "Declination.h"
#include "DeclinationGrids.h"
#include "geokern2.h"

namespace land_coverage {

const char* const kFranceLandFile = FRANCE_LAND_FILE;

namespace {

// The next number of a line, skipping blanks; false when there is none.
bool next_number(const char*& p, const char* end, double* value) {
    while (p < end && (*p == ' ' || *p == '\t' || *p == '\r')) ++p;
    const std::from_chars_result r = std::from_chars(p, end, *value);
    if (r.ec != std::errc()) return false;
    p = r.ptr;
    return true;
}

}  // namespace

std::vector<Ring> read_rings(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::vector<Ring> rings;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (line.empty() || line[0] == '#') continue;
        if (line[0] == '>') {
            rings.emplace_back();
            continue;
        }
        const char* p = line.data();
        const char* end = p + line.size();
        LonLat v{};
        if (rings.empty() || !next_number(p, end, &v.lon) || !next_number(p, end, &v.lat))
            throw std::runtime_error(path + ":" + std::to_string(number) + ": not a vertex of a ring");
        rings.back().push_back(v);
    }
    if (in.bad()) throw std::runtime_error("cannot read " + path);
    rings.erase(std::remove_if(rings.begin(), rings.end(), [](const Ring& r) { return r.empty(); }), rings.end());
    return rings;
}

std::vector<Edge> project(const std::vector<Ring>& rings) {
    auto plane = [](double lon, double lat) {
        const COORDONNEES_TYPE_NC p = SysCoord2SysCoord({lon, lat}, WGS84GG, NTFL2E);
        if (!std::isfinite(p.x_lambda) || !std::isfinite(p.y_phi) || (p.x_lambda == -9999.0 && p.y_phi == -9999.0))
            throw std::runtime_error("the engine cannot project " + std::to_string(lon) + " " + std::to_string(lat));
        return Point{p.x_lambda, p.y_phi};
    };
    std::vector<Edge> edges;
    for (const Ring& ring : rings) {
        for (std::size_t k = 0; k < ring.size(); ++k) {
            const LonLat a = ring[k];
            const LonLat b = ring[(k + 1) % ring.size()];
            const double span = std::max(std::fabs(b.lon - a.lon), std::fabs(b.lat - a.lat));
            const int pieces = std::max(1, static_cast<int>(std::ceil(span / kMaxPieceDeg)));
            Point from = plane(a.lon, a.lat);
            for (int n = 1; n <= pieces; ++n) {
                const double t = static_cast<double>(n) / pieces;
                const Point to = n == pieces ? plane(b.lon, b.lat)
                                             : plane(a.lon + t * (b.lon - a.lon), a.lat + t * (b.lat - a.lat));
                edges.push_back({from, to});
                from = to;
            }
        }
    }
    return edges;
}

void node_stretch(int index, int origin_km, double* from_m, double* to_m) {
    const int node_km = origin_km + kGridStepKm * index;
    double from = (node_km - 0.5 * kGridStepKm) * 1000.0;
    double to = (node_km + 0.5 * kGridStepKm) * 1000.0;
    // The whole kilometres the calculator sends to this node lie within a step
    // either side of it; each stands for the metres that truncate to it
    // (toward zero: k km is [k, k + 1) km above zero, (k - 1, k] km below it).
    for (int km = node_km - kGridStepKm; km <= node_km + kGridStepKm; ++km) {
        if (NearestNodeIndex(km, origin_km) != index) continue;
        from = std::min(from, (km > 0 ? km : km - 1) * 1000.0);
        to = std::max(to, (km < 0 ? km : km + 1) * 1000.0);
    }
    *from_m = from;
    *to_m = to;
}

Area node_area(int i, int j) {
    Area area{};
    node_stretch(i, kGridOriginEastKm, &area.x0, &area.x1);
    node_stretch(j, kGridOriginNorthKm, &area.y0, &area.y1);
    return area;
}

namespace {

// Liang-Barsky: narrows [t0, t1] to the part of the segment on the inner side
// of one boundary (p t <= q); false when nothing is left.
bool clip(double p, double q, double& t0, double& t1) {
    if (p == 0.0) return q >= 0.0;
    const double t = q / p;
    if (p < 0.0) {
        if (t > t1) return false;
        t0 = std::max(t0, t);
    } else {
        if (t < t0) return false;
        t1 = std::min(t1, t);
    }
    return true;
}

bool edge_meets(const Edge& e, const Area& r) {
    if (std::max(e.a.x, e.b.x) < r.x0 || std::min(e.a.x, e.b.x) > r.x1 || std::max(e.a.y, e.b.y) < r.y0 ||
        std::min(e.a.y, e.b.y) > r.y1)
        return false;
    const double dx = e.b.x - e.a.x, dy = e.b.y - e.a.y;
    double t0 = 0.0, t1 = 1.0;
    return clip(-dx, e.a.x - r.x0, t0, t1) && clip(dx, r.x1 - e.a.x, t0, t1) && clip(-dy, e.a.y - r.y0, t0, t1) &&
           clip(dy, r.y1 - e.a.y, t0, t1);
}

// Even-odd: the edges that the ray east of p crosses, each edge counted when
// its ends lie on either side of the parallel (one end on it counts as above).
bool inside(const std::vector<Edge>& edges, Point p) {
    bool odd = false;
    for (const Edge& e : edges) {
        if ((e.a.y > p.y) == (e.b.y > p.y)) continue;
        const double x = e.a.x + (p.y - e.a.y) * (e.b.x - e.a.x) / (e.b.y - e.a.y);
        if (x > p.x) odd = !odd;
    }
    return odd;
}

}  // namespace

bool area_has_land(const std::vector<Edge>& edges, const Area& area) {
    for (const Edge& e : edges)
        if (edge_meets(e, area)) return true;
    // No boundary in the area: it is all land or all sea, like its centre.
    return inside(edges, {0.5 * (area.x0 + area.x1), 0.5 * (area.y0 + area.y1)});
}

std::vector<bool> lattice_coverage(const std::vector<Edge>& edges) {
    std::vector<bool> covered(kGridNodes, false);
    std::vector<Edge> band;
    for (int j = 0; j < kGridRows; ++j) {
        const Area row = node_area(0, j);
        // Every edge that can meet a node area of this row, or cross the
        // parallel through the areas' centres, which lies inside the band.
        band.clear();
        for (const Edge& e : edges)
            if (std::max(e.a.y, e.b.y) >= row.y0 && std::min(e.a.y, e.b.y) <= row.y1) band.push_back(e);
        for (int i = 0; i < kGridColumns; ++i) covered[GridNodeIndex(i, j)] = area_has_land(band, node_area(i, j));
    }
    return covered;
}

bool node_has_land(int i, int j) {
    static const std::vector<bool> covered = lattice_coverage(project(read_rings(kFranceLandFile)));
    if (i < 0 || i >= kGridColumns || j < 0 || j >= kGridRows) return false;
    return covered[GridNodeIndex(i, j)];
}

}  // namespace land_coverage
