// bench_geographiclib: the calculator's three main-field models against
// GeographicLib's MagneticModel, on the same places, date and coefficients.
//
// GeographicLib reads the models in its own format, written at build time
// from the calculator's files (tools/geographiclib-models/to_geographiclib.py).
// Before any timing every place goes through both at each height, and the
// largest differences of every element and rate are printed; the program
// stops with status 1 where X, Y, Z, H, F or their rates differ by more than
// kToleranceNt, or the angles by more than kToleranceDegrees. Then both are
// timed on the places at height 0, every element written, one thread: the
// places per second of CPU are the runs' items_per_second.
#include <GeographicLib/MagneticModel.hpp>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "norvane.h"
#include "points_france.h"

#if !defined(BENCH_CALCULATOR_DATA_DIR) || !defined(BENCH_GEOGRAPHICLIB_MODELS_DIR)
#error "BENCH_CALCULATOR_DATA_DIR and BENCH_GEOGRAPHICLIB_MODELS_DIR must name the two model folders"
#endif

namespace {

constexpr double kYear = 2027.3;
constexpr double kHeights[] = {0.0, 3000.0, 12000.0, 400000.0};  // metres above the ellipsoid
constexpr double kDegree = 3.14159265358979323846 / 180.0;
// Both sides sum the same doubles in different orders. One rounding costs at
// most 2^-53 of the largest term, 3e4 nT: 3e-12 nT; over WMMHR2025's 9,045
// terms that is at most 3e-8 nT (in practice, the errors of either sign,
// nearer 1e-10). A millionth of a nT is thirty times the bound, and a
// different radius, ellipsoid or time would give differences of nT. D, I and
// their rates follow from the components: what their check can catch is a
// convention (a sign, the order of the components), which costs degrees.
constexpr double kToleranceNt = 1e-6;
constexpr double kToleranceDegrees = 1e-6;
const struct {
    int id;
    const char* name;
} kModels[] = {{NORVANE_IGRF, "igrf14"}, {NORVANE_WMM, "wmm2025"}, {NORVANE_WMMHR, "wmmhr2025"}};

// 5,000 places drawn uniformly over the sphere, then 5,000 in France.
struct Places {
    std::vector<double> lon, lat;
};
const Places& AllPlaces() {
    static const Places places = [] {
        Places p;
        std::uint64_t state = 0x6E6F7276616E6531ull;
        for (int i = 0; i < 5000; ++i) {
            p.lon.push_back(-180.0 + 360.0 * points_france::Uniforme(state));
            p.lat.push_back(std::asin(2.0 * points_france::Uniforme(state) - 1.0) / kDegree);
        }
        for (const COORDONNEES_TYPE_NC& f : points_france::PointsFrance(5000)) {
            p.lon.push_back(f.x_lambda);
            p.lat.push_back(f.y_phi);
        }
        return p;
    }();
    return places;
}

// GeographicLib's elements in NorvaneChampTableau's order: D, I, H, X, Y, Z, F
// and their rates. Its field is east, north, up: X = By, Y = Bx, Z = -Bz.
void GeographicLibElements(const GeographicLib::MagneticModel& model, double lon, double lat, double height,
                           double* e) {
    double bx, by, bz, bxt, byt, bzt, h, f, d, i, ht, ft, dt, it;
    model(kYear, lat, lon, height, bx, by, bz, bxt, byt, bzt);
    GeographicLib::MagneticModel::FieldComponents(bx, by, bz, bxt, byt, bzt, h, f, d, i, ht, ft, dt, it);
    const double v[NORVANE_ELEMENTS] = {d, i, h, by, bx, -bz, f, dt, it, ht, byt, bxt, -bzt, ft};
    std::copy(v, v + NORVANE_ELEMENTS, e);
}

NORVANE_DONNEES* data = nullptr;
std::map<int, std::unique_ptr<GeographicLib::MagneticModel>> peers;

// Every place at every height through both; the largest difference of each
// element. Returns false where one is over its tolerance.
bool Compare(int model) {
    const Places& p = AllPlaces();
    const std::size_t n = p.lon.size();
    std::vector<double> years(n, kYear), heights(n), ours(n * NORVANE_ELEMENTS), theirs(NORVANE_ELEMENTS);
    double largest[NORVANE_ELEMENTS] = {};
    bool ok = true;
    for (const double height : kHeights) {
        std::fill(heights.begin(), heights.end(), height);
        if (NorvaneChampTableau(data, model, n, years.data(), p.lon.data(), p.lat.data(), heights.data(),
                                ours.data(), nullptr, nullptr, nullptr) != n) {
            std::fprintf(stderr, "%s: not every place has a result\n", NorvaneModeleNom(model));
            return false;
        }
        for (std::size_t k = 0; k < n; ++k) {
            GeographicLibElements(*peers[model], p.lon[k], p.lat[k], height, theirs.data());
            const double* e = &ours[k * NORVANE_ELEMENTS];
            for (int j = 0; j < NORVANE_ELEMENTS; ++j) {
                const double gap = std::fabs(j == 0 ? std::remainder(e[j] - theirs[j], 360.0) : e[j] - theirs[j]);
                largest[j] = std::max(largest[j], gap);
                ok = ok && gap <= (j % 7 < 2 ? kToleranceDegrees : kToleranceNt);
            }
        }
    }
    std::printf("%-10s", NorvaneModeleNom(model));
    for (const int j : {3, 4, 5, 0, 1, 10, 11, 12, 7, 8}) std::printf(" %9.1e", largest[j]);
    std::printf("  %s\n", ok ? "agree" : "DISAGREE");
    return ok;
}

void TimeNorvane(benchmark::State& state, int model) {
    const Places& p = AllPlaces();
    const std::size_t n = p.lon.size();
    std::vector<double> years(n, kYear), elements(n * NORVANE_ELEMENTS);
    std::vector<int> statuses(n);
    for (auto _ : state) {
        benchmark::DoNotOptimize(NorvaneChampTableau(data, model, n, years.data(), p.lon.data(), p.lat.data(),
                                                     nullptr, elements.data(), nullptr, nullptr, statuses.data()));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(n));
}

void TimeGeographicLib(benchmark::State& state, int model) {
    const Places& p = AllPlaces();
    const std::size_t n = p.lon.size();
    std::vector<double> elements(n * NORVANE_ELEMENTS);
    for (auto _ : state) {
        for (std::size_t k = 0; k < n; ++k)
            GeographicLibElements(*peers[model], p.lon[k], p.lat[k], 0.0, &elements[k * NORVANE_ELEMENTS]);
        benchmark::DoNotOptimize(elements.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(n));
}

}  // namespace

int main(int argc, char** argv) {
    data = NorvaneOuvre(BENCH_CALCULATOR_DATA_DIR);
    std::printf("%zu places, %g, heights 0, 3, 12 and 400 km; largest differences, nT and degrees, rates per year:\n",
                AllPlaces().lon.size(), kYear);
    std::printf("%-10s %9s %9s %9s %9s %9s %9s %9s %9s %9s %9s\n", "model", "X", "Y", "Z", "D", "I", "dX", "dY", "dZ",
                "dD", "dI");
    bool ok = true;
    for (const auto& m : kModels) {
        peers[m.id] = std::make_unique<GeographicLib::MagneticModel>(m.name, BENCH_GEOGRAPHICLIB_MODELS_DIR);
        ok = Compare(m.id) && ok;
    }
    if (!ok) {
        std::fprintf(stderr, "the calculator and GeographicLib disagree beyond %g nT or %g degrees\n", kToleranceNt,
                     kToleranceDegrees);
        return 1;
    }
    for (const auto& m : kModels) {
        const std::string name = NorvaneModeleNom(m.id);
        const int id = m.id;
        benchmark::RegisterBenchmark(("norvane/NorvaneChampTableau " + name).c_str(),
                                     [id](benchmark::State& s) { TimeNorvane(s, id); })
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("GeographicLib/MagneticModel " + name).c_str(),
                                     [id](benchmark::State& s) { TimeGeographicLib(s, id); })
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    NorvaneFerme(data);
    return 0;
}
