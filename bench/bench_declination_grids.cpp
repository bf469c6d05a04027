// Time to generate both grid files, from loading the coefficients to writing.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "declination_grids.h"

#ifndef IGRF13_SHC
#error "IGRF13_SHC must name the coefficient file"
#endif

static void BM_GenerateBothFiles(benchmark::State& state) {
    const auto dir = std::filesystem::temp_directory_path() / "bench_declination_grids";
    std::filesystem::create_directories(dir);
    for (auto _ : state) {
        const CIgrfModel model = CIgrfModel::Load(IGRF13_SHC);
        const auto nodes = declination_grids::lattice();
        const auto grids = declination_grids::compute(model, nodes);
        declination_grids::write_grids(dir.string(), grids);
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_GenerateBothFiles)->Unit(benchmark::kMillisecond);

static void BM_Lattice(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(declination_grids::lattice());
}
BENCHMARK(BM_Lattice)->Unit(benchmark::kMillisecond);

static void BM_FieldAtOneNode(benchmark::State& state) {
    const CIgrfSnapshot s = CIgrfModel::Load(IGRF13_SHC).At(2009.5);
    for (auto _ : state) benchmark::DoNotOptimize(s.Field(48.85, 2.35, 0.0));
}
BENCHMARK(BM_FieldAtOneNode);

BENCHMARK_MAIN();
