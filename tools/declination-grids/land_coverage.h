// Which nodes of the calculator's 5 km lattice hold data: those with land of
// metropolitan France within their reach. The land is the committed extract of
// GMT's country polygons and of the shoreline islands they leave out
// (france-land.txt); its rings are projected with the engine into NTF Lambert
// II etendu, and each node's area is tested against them.
#pragma once

#include <string>
#include <vector>

namespace land_coverage {

// A ring vertex, WGS84 degrees.
struct LonLat {
    double lon;
    double lat;
};
using Ring = std::vector<LonLat>;

// Reads a GMT multi-segment text file: "#" comment lines, a ">" line before
// each ring, then one "longitude latitude" line per vertex. Each ring is taken
// as closed. Throws std::runtime_error when the file cannot be read or a line
// is not two numbers.
std::vector<Ring> read_rings(const std::string& path);

// Metres in NTF Lambert II etendu.
struct Point {
    double x;
    double y;
};
struct Edge {
    Point a;
    Point b;
};

// Longest piece, in degrees of longitude or latitude, of an edge before its
// projection: a straight piece in the plane then stays within a millimetre of
// the straight line in longitude and latitude that the rings describe.
constexpr double kMaxPieceDeg = 0.001;

// The rings' edges in the plane, each ring closed, every edge cut into pieces
// of at most kMaxPieceDeg whose ends the engine projects (WGS84GG to NTFL2E,
// as the calculator does). Throws std::runtime_error when the engine fails on
// a vertex.
std::vector<Edge> project(const std::vector<Ring>& rings);

// A closed rectangle, metres.
struct Area {
    double x0, x1;  // easting from, to
    double y0, y1;  // northing from, to
};

// The stretch of one axis, in metres, that belongs to node index n: its 5 km
// cell (node +- 2.5 km) together with every position that the calculator sends
// to it (metres truncated to whole kilometres, then NearestNodeIndex). For the
// lattice's rule this is node - 2.5 km to node + 3 km.
void node_stretch(int index, int origin_km, double* from_m, double* to_m);

// Node (i, j)'s area: its easting and northing stretches.
Area node_area(int i, int j);

// True when land lies in the area: an edge meets it, or, no edge meeting it,
// its centre is inside an odd number of rings. The edges must be whole closed
// rings, or at least every edge that can meet the area or cross the parallel
// through its centre.
bool area_has_land(const std::vector<Edge>& edges, const Area& area);

// area_has_land for every node of the lattice at once, node (i, j) at
// GridNodeIndex(i, j). Each row of nodes is tested against only the edges
// that reach its band of northings, which gives the same answers as the whole
// list in a fraction of the time.
std::vector<bool> lattice_coverage(const std::vector<Edge>& edges);

// The committed extract, france-land.txt (its path set by the build).
extern const char* const kFranceLandFile;

// Whether node (i, j) has land of kFranceLandFile within its area; the file is
// read and the whole lattice computed on the first call. Throws
// std::runtime_error when the file cannot be read.
bool node_has_land(int i, int j);

}  // namespace land_coverage
