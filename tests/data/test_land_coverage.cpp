// Every place on the land of metropolitan France gets a declination from the
// committed grid files, and the nodes that hold data are those with land
// within their reach: the land extract, the node areas, the area test, and the
// calculator's own computation at some 650,000 places.
#include <gtest/gtest.h>

#include "file_bytes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "Declination.h"
#include "DeclinationGrids.h"
#include "geokern2.h"
#include "land_coverage.h"

namespace lc = land_coverage;
namespace fs = std::filesystem;

namespace {

const std::string kData = DATA_DIR;

// The calculator's declination at a place, on a day inside the period.
DeclinationOutcome GridDeclination(double lon, double lat, const DeclinationGrids& grids) {
    return DeclinationAtPlace(kSourceGrid, true, 2013, 1, 1, lon, lat, 0.0, grids, &SysCoord2SysCoord, nullptr);
}

// Even-odd in longitude and latitude: the longitudes where the parallel lat
// crosses the rings (an end on the parallel counts as north of it), sorted.
std::vector<double> crossings(const std::vector<lc::Ring>& rings, double lat) {
    std::vector<double> lons;
    for (const lc::Ring& r : rings)
        for (std::size_t k = 0; k < r.size(); ++k) {
            const lc::LonLat a = r[k], b = r[(k + 1) % r.size()];
            if ((a.lat > lat) == (b.lat > lat)) continue;
            lons.push_back(a.lon + (lat - a.lat) * (b.lon - a.lon) / (b.lat - a.lat));
        }
    std::sort(lons.begin(), lons.end());
    return lons;
}

bool inside(const std::vector<lc::Ring>& rings, double lon, double lat) {
    const std::vector<double> lons = crossings(rings, lat);
    return (lons.end() - std::upper_bound(lons.begin(), lons.end(), lon)) % 2 == 1;
}

struct Place {
    double lon, lat;
};

// The land sampled at most 0.01 degree apart: every point of the 0.01 degree
// lattice inside the rings, and points along every edge of the rings (their
// vertices included) at most 0.01 degree apart.
struct Sampling {
    std::vector<Place> lattice, boundary;
};

Sampling sample(const std::vector<lc::Ring>& rings) {
    constexpr double kStep = 0.01;
    Sampling s;
    double south = 90.0, north = -90.0;
    for (const lc::Ring& r : rings)
        for (const lc::LonLat& v : r) {
            south = std::min(south, v.lat);
            north = std::max(north, v.lat);
        }
    for (int m = static_cast<int>(std::ceil(south / kStep)); m * kStep <= north; ++m) {
        const double lat = m * kStep;
        const std::vector<double> lons = crossings(rings, lat);
        for (std::size_t q = 0; q + 1 < lons.size(); q += 2)
            for (int k = static_cast<int>(std::ceil(lons[q] / kStep)); k * kStep < lons[q + 1]; ++k)
                if (k * kStep > lons[q]) s.lattice.push_back({k * kStep, lat});
    }
    for (const lc::Ring& r : rings)
        for (std::size_t k = 0; k < r.size(); ++k) {
            const lc::LonLat a = r[k], b = r[(k + 1) % r.size()];
            const double span = std::max(std::fabs(b.lon - a.lon), std::fabs(b.lat - a.lat));
            const int pieces = std::max(1, static_cast<int>(std::ceil(span / kStep)));
            for (int n = 0; n < pieces; ++n) {
                const double t = static_cast<double>(n) / pieces;
                s.boundary.push_back({a.lon + t * (b.lon - a.lon), a.lat + t * (b.lat - a.lat)});
            }
        }
    return s;
}

// Whole kilometres and the nearest node, as the calculator takes them; false
// outside the lattice.
bool calculator_node(const COORDONNEES_TYPE_NC& metres, int* i, int* j) {
    int kx, ky;
    if (!MetresToKilometres(metres.x_lambda, &kx) || !MetresToKilometres(metres.y_phi, &ky)) return false;
    *i = NearestNodeIndex(kx, kGridOriginEastKm);
    *j = NearestNodeIndex(ky, kGridOriginNorthKm);
    return *i >= 0 && *i < kGridColumns && *j >= 0 && *j < kGridRows;
}

class FranceLand : public testing::Test {
protected:
    static void SetUpTestSuite() {
        rings_ = new std::vector<lc::Ring>(lc::read_rings(lc::kFranceLandFile));
        edges_ = new std::vector<lc::Edge>(lc::project(*rings_));
        sampling_ = new Sampling(sample(*rings_));
        grids_ = new DeclinationGrids();
        status_ = LoadDeclinationGrids((kData + "/" + kszEpochGridFile).c_str(),
                                       (kData + "/" + kszVariationGridFile).c_str(), *grids_);
    }
    static void TearDownTestSuite() {
        delete rings_;
        delete edges_;
        delete sampling_;
        delete grids_;
    }
    void SetUp() override { ASSERT_EQ(status_, 0) << "grid files in " << kData; }

    static std::vector<lc::Ring>* rings_;
    static std::vector<lc::Edge>* edges_;
    static Sampling* sampling_;
    static DeclinationGrids* grids_;
    static int status_;
};
std::vector<lc::Ring>* FranceLand::rings_ = nullptr;
std::vector<lc::Edge>* FranceLand::edges_ = nullptr;
Sampling* FranceLand::sampling_ = nullptr;
DeclinationGrids* FranceLand::grids_ = nullptr;
int FranceLand::status_ = -1;

}  // namespace

TEST_F(FranceLand, ExtractIsMetropolitanFranceWithCorsica) {
    ASSERT_FALSE(rings_->empty());
    for (const lc::Ring& r : *rings_)
        for (const lc::LonLat& v : r) {
            ASSERT_GT(v.lon, -5.5);
            ASSERT_LT(v.lon, 9.7);
            ASSERT_GT(v.lat, 41.3);
            ASSERT_LT(v.lat, 51.2);
        }
    // Paris, Brest, Strasbourg, inland of Ajaccio, Cap Corse, Bonifacio, Oleron, the Cerdagne.
    const Place land[] = {{2.3522, 48.8566}, {-4.4861, 48.3904}, {7.7521, 48.5734}, {8.80, 41.95},
                          {9.4089, 42.9800}, {9.16, 41.39},      {-1.25, 45.98},    {2.0, 42.55}};
    for (const Place& p : land) EXPECT_TRUE(inside(*rings_, p.lon, p.lat)) << p.lon << " " << p.lat;
    // Bern, the Bay of Biscay, the Channel, the Gulf of Lion, north of Cap Corse, Catalonia.
    const Place elsewhere[] = {{7.4474, 46.9480}, {-4.0, 45.5}, {-2.0, 50.0}, {4.5, 42.6}, {9.3, 43.3}, {1.0, 41.8}};
    for (const Place& p : elsewhere) EXPECT_FALSE(inside(*rings_, p.lon, p.lat)) << p.lon << " " << p.lat;
}

// The committed extract is what the extraction script writes from GMT's data
// today; needs the map tools (scripts/install-deps.sh maps).
TEST(FranceLandExtract, IsWhatGmtWrites) {
    if (std::system("command -v gmt >/dev/null 2>&1") != 0) GTEST_SKIP() << "GMT not installed";
    const fs::path out = fs::temp_directory_path() / ("france-land-" + std::to_string(::getpid()) + ".txt");
    const std::string command = std::string("bash \"") + EXTRACT_SCRIPT + "\" \"" + out.string() + "\" >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_TRUE(file_bytes(out) == file_bytes(lc::kFranceLandFile)) << "run " << EXTRACT_SCRIPT;
    fs::remove(out);
}

TEST(NodeArea, HoldsItsCellAndEveryPositionTheCalculatorSendsToIt) {
    // Node 0 at 15 km and node 200 at 1015 km: 2.5 km before, 3 km after.
    double from, to;
    lc::node_stretch(0, kGridOriginEastKm, &from, &to);
    EXPECT_EQ(from, 12500.0);
    EXPECT_EQ(to, 18000.0);
    lc::node_stretch(200, kGridOriginEastKm, &from, &to);
    EXPECT_EQ(from, 1012500.0);
    EXPECT_EQ(to, 1018000.0);
    // Every position, every 50 m, lies in the area of the node the calculator picks.
    for (int m = 0; m <= 1240000; m += 50) {
        int km;
        ASSERT_TRUE(MetresToKilometres(m, &km));
        const int i = NearestNodeIndex(km, kGridOriginEastKm);
        if (i >= 0 && i < kGridColumns) {
            lc::node_stretch(i, kGridOriginEastKm, &from, &to);
            ASSERT_TRUE(from <= m && m <= to) << m << " m, node " << i;
        }
        const int y = 1580000 + m;
        ASSERT_TRUE(MetresToKilometres(y, &km));
        const int j = NearestNodeIndex(km, kGridOriginNorthKm);
        if (j >= 0 && j < kGridRows) {
            const lc::Area a = lc::node_area(0, j);
            ASSERT_TRUE(a.y0 <= y && y <= a.y1) << y << " m, node row " << j;
        }
    }
}

TEST(AreaHasLand, RectangleAgainstRings) {
    // A 10 m square with a 4 m square hole, as two rings.
    const std::vector<lc::Edge> square = {{{0, 0}, {10, 0}}, {{10, 0}, {10, 10}}, {{10, 10}, {0, 10}}, {{0, 10}, {0, 0}},
                                          {{3, 3}, {7, 3}},  {{7, 3}, {7, 7}},   {{7, 7}, {3, 7}},   {{3, 7}, {3, 3}}};
    const struct {
        lc::Area area;
        bool land;
        const char* what;
    } cases[] = {
        {{1, 2, 1, 2}, true, "wholly inside, no edge in it"},
        {{-5, 15, -5, 15}, true, "the rings wholly inside the area"},
        {{20, 30, 0, 10}, false, "beside the square"},
        {{-1, 1, 4, 6}, true, "an edge crosses it, no vertex in it"},
        {{10, 12, 10, 12}, true, "touches one corner"},
        {{4, 6, 4, 6}, false, "wholly in the hole"},
        {{2.5, 7.5, 4, 6}, true, "across the hole"},
        {{-3, -1, -3, 13}, false, "west of the square, as tall as it"},
        {{11, 12, -1, 11}, false, "east of the square, as tall as it"},
    };
    for (const auto& c : cases) EXPECT_EQ(lc::area_has_land(square, c.area), c.land) << c.what;
    // A thin diagonal sliver (between y = x and y = x + 1) across the area:
    // no vertex in it, and its centre is not land.
    const std::vector<lc::Edge> sliver = {{{-10, -9}, {20, 21}}, {{20, 21}, {20, 20}}, {{20, 20}, {-10, -10}},
                                          {{-10, -10}, {-10, -9}}};
    EXPECT_TRUE(lc::area_has_land(sliver, {4, 6, 4.2, 4.8}));
    EXPECT_FALSE(lc::area_has_land(sliver, {4, 6, 7.5, 9}));
    // A shore given as a ring of zero width, out along it and back (as the
    // extract gives an island that overlaps the country polygons): it adds
    // its line and leaves every area's inside or outside as it was.
    std::vector<lc::Edge> with_shore = square;
    const lc::Point shore[] = {{-20, 5}, {5, 5}, {5, 20}, {30, 25}};
    for (int k = 0; k + 1 < 4; ++k) with_shore.push_back({shore[k], shore[k + 1]});
    for (int k = 3; k > 0; --k) with_shore.push_back({shore[k], shore[k - 1]});
    for (const auto& c : cases)
        if (c.area.y1 < 5 || c.area.y0 > 5) EXPECT_EQ(lc::area_has_land(with_shore, c.area), c.land) << c.what;
    EXPECT_TRUE(lc::area_has_land(with_shore, {-15, -14, 4, 6})) << "across the shore, at sea";
    EXPECT_FALSE(lc::area_has_land(with_shore, {-15, -14, 6, 7})) << "beside the shore, at sea";
    EXPECT_TRUE(lc::area_has_land(with_shore, {1, 2, 6, 7})) << "beside the shore, inside the square";
    EXPECT_FALSE(lc::area_has_land(with_shore, {4, 4.5, 5.5, 6.5})) << "beside the shore, in the hole";
}

TEST_F(FranceLand, RowBandsGiveTheSameCoverageAsAllEdges) {
    const std::vector<bool> banded = lc::lattice_coverage(*edges_);
    ASSERT_EQ(banded.size(), static_cast<std::size_t>(kGridNodes));
    int checked = 0;
    for (int j = 0; j < kGridRows; ++j)
        for (int i = 0; i < kGridColumns; ++i) {
            // Cap Corse (columns 200 to 215, rows 15 to 30) whole, elsewhere a scattering.
            const bool cap_corse = i >= 200 && i <= 215 && j >= 15 && j <= 30;
            if (!cap_corse && GridNodeIndex(i, j) % 53 != 0) continue;
            ++checked;
            EXPECT_EQ(banded[GridNodeIndex(i, j)], lc::area_has_land(*edges_, lc::node_area(i, j)))
                << "node " << i << " " << j;
        }
    EXPECT_GT(checked, 1000);
}

// The calculator's whole computation at every sampled place: engine, whole
// kilometres, nearest node, data there.
TEST_F(FranceLand, EveryPlaceGetsADeclination) {
    // Metropolitan France: some 550,000 km2, about 640,000 lattice points.
    EXPECT_GT(sampling_->lattice.size(), 600000u);
    EXPECT_GT(sampling_->boundary.size(), 10000u);
    int failures = 0;
    for (const std::vector<Place>* places : {&sampling_->lattice, &sampling_->boundary})
        for (const Place& p : *places) {
            const DeclinationOutcome outcome = GridDeclination(p.lon, p.lat, *grids_);
            if (outcome.m_eStatus == kDeclinationResult) continue;
            if (++failures <= 20) {
                int i = -1, j = -1;
                calculator_node(SysCoord2SysCoord({p.lon, p.lat}, WGS84GG, NTFL2E), &i, &j);
                char where[96];
                std::snprintf(where, sizeof where, "%.5f E %.5f N (node %d %d)", p.lon, p.lat, i, j);
                ADD_FAILURE() << "out of zone at " << where;
            }
        }
    EXPECT_EQ(failures, 0) << "of " << sampling_->lattice.size() << " lattice and " << sampling_->boundary.size()
                           << " boundary places";
}

// Small islands that the country polygons leave out and the extract takes
// from the shorelines, others along the coasts, and shores the polygons draw
// short: each gets a value. The islands are at their published coordinates
// (lighthouses, main islets), the shores at points of the shoreline.
TEST_F(FranceLand, SmallFrenchIslandsGetADeclination) {
    const struct {
        const char* name;
        double lon, lat;
    } islands[] = {
        {"Glenan, ile Saint-Nicolas", -3.9990, 47.7220},
        {"Glenan, ile de Penfret", -3.9550, 47.7200},
        {"phare de Cordouan", -1.1733, 45.5861},
        {"ile de Riou", 5.3883, 43.1764},
        {"ile Jarre", 5.3650, 43.1975},
        {"ile du Planier", 5.2303, 43.1989},
        {"Saint-Marcouf, ile du Large", -1.1464, 49.4967},
        {"Saint-Marcouf, ile de Terre", -1.1589, 49.4939},
        {"ile Dumet", -2.6200, 47.4131},
        {"Sept-Iles, ile aux Moines", -3.4886, 48.8806},
        {"iles Chausey, Grande-Ile", -1.8225, 48.8711},
        {"ile du Pilier", -2.3611, 47.0436},
        {"ile de Sein", -4.8500, 48.0383},
        {"ile de la Giraglia", 9.4047, 43.0281},
        {"iles Sanguinaires, Mezu Mare", 8.5933, 41.8772},
        {"iles Lavezzi", 9.2536, 41.3364},
        {"iles Cerbicale, Pietricaggiosa", 9.3600, 41.5560},
        {"Frioul, Pomegues", 5.2950, 43.2686},
        // Shores that the country polygons draw short of the shoreline.
        {"Nice airport, the platform at sea", 7.2150, 43.6530},
        {"Nice airport, west runway", 7.2100, 43.6560},
        {"pointe du Raz", -4.7420, 48.0390},
        {"the cliffs west of Bonifacio", 9.0950, 41.3900},
        {"mouth of the Grand Rhone", 4.8316, 43.3338},
        {"the lido of Palavas", 3.8558, 43.4879},
    };
    for (const auto& island : islands) {
        const DeclinationOutcome outcome =
            GridDeclination(island.lon, island.lat, *grids_);
        EXPECT_EQ(outcome.m_eStatus, kDeclinationResult) << island.name;
    }
}

// Islands of the neighbours: none has French land within the reach of the
// node the calculator sends it to, so none gets a value. (A neighbour's island
// whose node had French land in its area would get one, by the same rule.)
TEST_F(FranceLand, NeighboursIslandsGetNone) {
    const struct {
        const char* name;
        double lon, lat;
    } islands[] = {
        {"Jersey, St Helier", -2.1060, 49.1850},
        {"Guernsey, St Peter Port", -2.5360, 49.4550},
        {"Alderney, St Anne", -2.2050, 49.7140},
        {"Alderney, east tip", -2.1560, 49.7260},
        {"Sark", -2.3600, 49.4300},
        {"Herm", -2.4500, 49.4700},
        {"Les Ecrehous, Maitre Ile", -1.9290, 49.2870},
        {"Les Minquiers, Maitresse Ile", -2.0600, 48.9750},
        {"Capraia", 9.8300, 43.0500},
        {"Gorgona", 9.9000, 43.4300},
        {"Elba, Portoferraio", 10.3150, 42.8130},
        {"Pianosa", 10.0750, 42.5850},
        {"La Maddalena", 9.4080, 41.2150},
        {"Isola Razzoli", 9.3400, 41.3000},
        {"Isla de Santa Clara", -1.9983, 43.3217},
        {"Illes Medes", 3.2210, 42.0470},
    };
    for (const auto& island : islands) {
        int i = -1, j = -1;
        const bool on_lattice =
            calculator_node(SysCoord2SysCoord({island.lon, island.lat}, WGS84GG, NTFL2E), &i, &j);
        EXPECT_FALSE(on_lattice && lc::node_has_land(i, j)) << island.name << ": French land within reach";
        const DeclinationOutcome outcome =
            GridDeclination(island.lon, island.lat, *grids_);
        EXPECT_EQ(outcome.m_eStatus, kDeclinationOutOfZone) << island.name;
    }
}

// The other way round: a node with data has land within its reach, and there
// are not many more of them than the nodes the land's places reach.
TEST_F(FranceLand, NodesWithDataAreWithinReachOfLand) {
    std::vector<bool> reached(kGridNodes, false);
    std::vector<lc::Point> points;
    for (const std::vector<Place>* places : {&sampling_->lattice, &sampling_->boundary})
        for (const Place& p : *places) {
            const COORDONNEES_TYPE_NC m = SysCoord2SysCoord({p.lon, p.lat}, WGS84GG, NTFL2E);
            points.push_back({m.x_lambda, m.y_phi});
            int i, j;
            if (calculator_node(m, &i, &j)) reached[GridNodeIndex(i, j)] = true;
        }
    // Places by row of nodes, for the search below.
    std::vector<std::vector<lc::Point>> by_row(kGridRows);
    for (const lc::Point& p : points) {
        const int row = static_cast<int>((p.y / 1000.0 - kGridOriginNorthKm) / kGridStepKm);
        for (int j = std::max(0, row - 2); j <= std::min(kGridRows - 1, row + 2); ++j) {
            const lc::Area a = lc::node_area(0, j);
            if (p.y >= a.y0 - 1500.0 && p.y <= a.y1 + 1500.0) by_row[j].push_back(p);
        }
    }
    int with_data = 0, reached_count = 0;
    for (int j = 0; j < kGridRows; ++j)
        for (int i = 0; i < kGridColumns; ++i) {
            const bool data = NodeHasData(*grids_, i, j);
            with_data += data;
            reached_count += reached[GridNodeIndex(i, j)];
            if (!data || reached[GridNodeIndex(i, j)]) continue;
            // Land in the area but no sampled place sent there: a sampled place
            // lies within the sampling's spacing (1.2 km) of the area.
            const lc::Area a = lc::node_area(i, j);
            const bool near = std::any_of(by_row[j].begin(), by_row[j].end(), [&](const lc::Point& p) {
                return p.x >= a.x0 - 1200.0 && p.x <= a.x1 + 1200.0 && p.y >= a.y0 - 1200.0 && p.y <= a.y1 + 1200.0;
            });
            EXPECT_TRUE(near) << "node " << i << " " << j << " holds data far from land";
        }
    std::printf("nodes with data: %d; reached by places on land: %d\n", with_data, reached_count);
    EXPECT_GE(with_data, reached_count);
    // Nodes with land only in the part of their area the calculator sends to
    // a neighbour, or in a corner no sampled place fell in: a thin fringe.
    EXPECT_LT(with_data, reached_count * 1.05);
}
