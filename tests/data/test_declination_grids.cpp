// The calculator's grid files: reproducible from their source, in the exact
// layout the calculator reads, and right at chosen places.
#include <gtest/gtest.h>

#include "file_bytes.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "DeclinationGrids.h"
#include "declination_grids.h"
#include "geokern2.h"
#include "Igrf.h"
#include "land_coverage.h"

namespace dg = declination_grids;
namespace fs = std::filesystem;

namespace {

const fs::path kData = DATA_DIR;

// The node the calculator takes for a WGS84 position, as an element of the
// grids; -1 when outside the lattice.
int node_index(double longitude, double latitude) {
    const COORDONNEES_TYPE_NC p = SysCoord2SysCoord({longitude, latitude}, WGS84GG, NTFL2E);
    int i, j;
    if (!NearestGridNode(p.x_lambda, p.y_phi, &i, &j)) return -1;
    return GridNodeIndex(i, j);
}

const double kEpoch = IgrfDecimalYear(2009, 7, 1);

class CommittedGrids : public testing::Test {
protected:
    static void SetUpTestSuite() {
        grids_.reset(new DeclinationGrids());
        status_ = LoadDeclinationGrids((kData / kszEpochGridFile).string().c_str(),
                                       (kData / kszVariationGridFile).string().c_str(), *grids_);
    }
    void SetUp() override { ASSERT_EQ(status_, kGridsLoaded) << "the committed grid files in " << kData; }
    static const float* epoch() { return grids_->declinationAtEpoch; }
    static const float* variation() { return grids_->annualVariation; }
    static std::unique_ptr<DeclinationGrids> grids_;
    static GridLoadStatus status_;
};
std::unique_ptr<DeclinationGrids> CommittedGrids::grids_;
GridLoadStatus CommittedGrids::status_ = kEpochGridNotOpened;

}  // namespace

// The regenerated files hold the committed records: the same nodes in the same
// layout, and values that differ by at most one unit of their sixth decimal,
// the files' own rounding (the model's last bits depend on the maths library
// and the processor, which may put a value on the other side of a rounding
// boundary). The first differences are described, node and size.
TEST(GridGenerator, ReproducesTheCommittedFiles) {
    const double kPrintedUnit = 1e-6;
    // GoogleTest's scratch folder, which the build gives each test program.
    const fs::path out = fs::path(testing::TempDir()) / "declination-grids";
    fs::remove_all(out);
    fs::create_directories(out);
    const std::string command = std::string("\"") + GENERATOR + "\" \"" + IGRF13_SHC + "\" \"" + out.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (const char* name : {kszEpochGridFile, kszVariationGridFile}) {
        SCOPED_TRACE(name);
        std::istringstream made(file_bytes(out / name)), committed(file_bytes(kData / name));
        std::string m, c;
        int record = 0, differences = 0, rounded = 0;
        while (std::getline(committed, c)) {
            ASSERT_TRUE(std::getline(made, m)) << "the regenerated file ends at record " << record;
            if (m != c) {
                const std::size_t cut = c.rfind(' ');
                const bool same_node = cut != std::string::npos && m.compare(0, cut + 1, c, 0, cut + 1) == 0;
                const double apart = same_node ? std::fabs(std::stod(m.substr(cut + 1)) - std::stod(c.substr(cut + 1)))
                                               : HUGE_VAL;
                if (apart <= kPrintedUnit * 1.000001) {
                    ++rounded;
                } else if (++differences <= 10) {
                    ADD_FAILURE() << "record " << record << ": regenerated \"" << m << "\", committed \"" << c
                                  << "\", apart by " << apart << "; regenerate with the declination_grids_data target";
                }
            }
            ++record;
        }
        EXPECT_FALSE(std::getline(made, m)) << "the regenerated file goes on after record " << record;
        EXPECT_EQ(differences, 0) << "records beyond one unit of the sixth decimal";
        EXPECT_EQ(record, kGridNodes);
        if (rounded > 0) std::printf("%s: %d records one unit of the sixth decimal apart\n", name, rounded);
    }
    fs::remove_all(out);
}

TEST(GridGenerator, RefusesBadArguments) {
    const std::string generator = std::string("\"") + GENERATOR + "\"";
    EXPECT_NE(std::system((generator + " 2>/dev/null").c_str()), 0);
    EXPECT_NE(std::system((generator + " /nonexistent.shc /tmp 2>/dev/null").c_str()), 0);
    EXPECT_NE(std::system((generator + " \"" IGRF13_SHC "\" /nonexistent/dir 2>/dev/null").c_str()), 0);
}

TEST(GridFiles, OneRecordPerNodeRowByRowWithSixDecimals) {
    const std::regex record(R"((\d+) (\d+) (-?\d+\.\d{6})\r)");
    for (const char* name : {kszEpochGridFile, kszVariationGridFile}) {
        SCOPED_TRACE(name);
        std::ifstream in(kData / name, std::ios::binary);
        std::string line;
        int r = 0;
        while (std::getline(in, line)) {
            std::smatch m;
            ASSERT_TRUE(std::regex_match(line, m, record)) << "record " << r << ": " << line;
            ASSERT_EQ(std::stoi(m[1]), 15 + 5 * (r % 244)) << "record " << r;
            ASSERT_EQ(std::stoi(m[2]), 1590 + 5 * (r / 244)) << "record " << r;
            ++r;
        }
        EXPECT_EQ(r, 55876);
        const std::string bytes = file_bytes(kData / name);
        EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
        EXPECT_EQ(bytes.substr(0, 6), "15 159");
    }
}

TEST_F(CommittedGrids, NoDataMarksAgreeInBothFiles) {
    int with_data = 0;
    for (int k = 0; k < kGridNodes; ++k) {
        if (epoch()[k] > 360.0f) {
            EXPECT_EQ(epoch()[k], 9999.0f) << k;
            EXPECT_EQ(variation()[k], 0.0f) << k;
        } else {
            ++with_data;
            // France in 2009: a few degrees either side of zero, slowly growing.
            EXPECT_GT(epoch()[k], -5.0f) << k;
            EXPECT_LT(epoch()[k], 3.0f) << k;
            EXPECT_GT(variation()[k], 0.05f) << k;
            EXPECT_LT(variation()[k], 0.25f) << k;
        }
    }
    // Metropolitan France is about 550,000 km2, some 22,000 cells of 25 km2,
    // plus coastal and border margins.
    EXPECT_GT(with_data, 22000);
    EXPECT_LT(with_data, 32000);
}

TEST_F(CommittedGrids, CoverageFollowsTheLandWithinEachNodesReach) {
    const auto nodes = dg::lattice();
    ASSERT_EQ(nodes.size(), static_cast<std::size_t>(kGridNodes));
    const auto edges = land_coverage::project(land_coverage::read_rings(land_coverage::kFranceLandFile));
    for (std::size_t k = 0; k < nodes.size(); k += 97) {
        const bool land = land_coverage::area_has_land(edges, land_coverage::node_area(nodes[k].i, nodes[k].j));
        EXPECT_EQ(NodeHasData(*grids_, nodes[k].i, nodes[k].j), land) << "record " << k;
    }
}

TEST_F(CommittedGrids, CalculatorFormulaIsExactAtBothEndsOfTheSpan) {
    const CIgrfModel model = CIgrfModel::Load(IGRF13_SHC);
    const CIgrfSnapshot start = model.At(kEpoch), end = model.At(IgrfDecimalYear(2015, 7, 1));
    const auto nodes = dg::lattice();
    for (std::size_t k = 0; k < nodes.size(); k += 13) {
        const dg::Node& n = nodes[k];
        if (!NodeHasData(*grids_, n.i, n.j)) continue;
        const double b = IgrfDeclination(start.Field(n.latitude_deg, n.longitude_deg, 0.0));
        const double e = IgrfDeclination(end.Field(n.latitude_deg, n.longitude_deg, 0.0));
        // The calculator keeps single precision; 2015-07-01 is 2191 days after the epoch.
        EXPECT_NEAR(epoch()[GridNodeIndex(n.i, n.j)], b, 2e-6) << k;
        EXPECT_NEAR(DeclinationAtNode(*grids_, n.i, n.j, 2191), e, 1e-5) << k;
    }
}

TEST_F(CommittedGrids, PlacesInFranceHaveDataNearTheirOwnDeclination) {
    const CIgrfModel model = CIgrfModel::Load(IGRF13_SHC);
    struct Place {
        const char* name;
        double lon, lat;
    };
    for (const Place& p : {Place{"Paris", 2.3522, 48.8566}, Place{"Brest", -4.4861, 48.3904},
                           Place{"Strasbourg", 7.7521, 48.5734}, Place{"Nice", 7.2620, 43.7102},
                           Place{"Ajaccio", 8.7386, 41.9192}}) {
        SCOPED_TRACE(p.name);
        const int k = node_index(p.lon, p.lat);
        ASSERT_GE(k, 0);
        ASSERT_LE(epoch()[k], 360.0f);
        // The nearest node is within 3.6 km; the declination changes by about
        // 0.005 degree per km across France.
        const double own = IgrfDeclination(model.Field(p.lat, p.lon, 0.0, kEpoch));
        EXPECT_NEAR(epoch()[k], own, 0.03);
    }
    // Paris, 2009: magnetic north a little west of true north.
    const int paris = node_index(2.3522, 48.8566);
    EXPECT_LT(epoch()[paris], 0.0f);
    EXPECT_GT(epoch()[paris], -1.5f);
}

TEST_F(CommittedGrids, OpenSeaAndNeighbouringCountriesHaveNoData) {
    struct Place {
        const char* name;
        double lon, lat;
    };
    for (const Place& p : {Place{"Bay of Biscay", -4.0, 45.5}, Place{"Bern", 7.4474, 46.9480},
                           Place{"Zurich", 8.5417, 47.3769}, Place{"Gulf of Lion", 4.5, 42.6},
                           Place{"English Channel", -2.0, 50.0}}) {
        SCOPED_TRACE(p.name);
        const int k = node_index(p.lon, p.lat);
        ASSERT_GE(k, 0) << "inside the lattice";
        EXPECT_EQ(epoch()[k], 9999.0f);
        EXPECT_EQ(variation()[k], 0.0f);
    }
}

TEST(GridFormat, ValuesWithSixDecimalsAndCrLf) {
    EXPECT_EQ(FormatGridRecord(0, 0, 9999.0) + FormatGridRecord(1, 0, -0.6425001) +
                  FormatGridRecord(243, 228, 0.1234564),
              "15 1590 9999.000000\r\n20 1590 -0.642500\r\n1230 2730 0.123456\r\n");
    EXPECT_EQ(FormatGridFile(std::vector<double>(kGridNodes - 1, 1.0)), "");
    EXPECT_FALSE(WriteGridFile("/nonexistent/dir/Grid2009_5.dat", std::vector<double>(kGridNodes, 1.0)));
}
