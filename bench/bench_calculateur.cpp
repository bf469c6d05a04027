// The calculator's start-up work and one computation: reading both committed
// grid files (the target is under 50 ms for the two) and one "Calculer" from
// the parsed entry to the two result texts, through the engine.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "Declination.h"
#include "DeclinationGrids.h"

#ifndef BENCH_CALCULATOR_DATA_DIR
#error "BENCH_CALCULATOR_DATA_DIR must name the folder of the grid files"
#endif

namespace {

const std::string fichierEpoque = std::string(BENCH_CALCULATOR_DATA_DIR) + "/" + kszEpochGridFile;
const std::string fichierVariation = std::string(BENCH_CALCULATOR_DATA_DIR) + "/" + kszVariationGridFile;

void LectureGrilles(benchmark::State& state) {
    std::unique_ptr<DeclinationGrids> grilles(new DeclinationGrids());
    for (auto _ : state) {
        if (LoadDeclinationGrids(fichierEpoque.c_str(), fichierVariation.c_str(), *grilles) != kGridsLoaded) {
            state.SkipWithError("grid files not found");
            break;
        }
        benchmark::DoNotOptimize(grilles->declinationAtEpoch[0]);
    }
}

void UnCalcul(benchmark::State& state) {
    std::unique_ptr<DeclinationGrids> grilles(new DeclinationGrids());
    if (LoadDeclinationGrids(fichierEpoque.c_str(), fichierVariation.c_str(), *grilles) != kGridsLoaded) {
        state.SkipWithError("grid files not found");
        return;
    }
    // Paris in decimal degrees, 15 June 2013.
    DeclinationInput entree = {};
    entree.m_bDateParsed = true;
    entree.m_nYear = 2013;
    entree.m_nMonth = 6;
    entree.m_nDay = 15;
    entree.m_dLatDecimal = 48.85;
    entree.m_dLonDecimal = 2.35;
    entree.m_bRadioDms = false;
    entree.m_bRadioDecNorth = true;
    entree.m_bRadioDecEast = true;
    const DeclinationOutcome essai = ComputeDeclination(entree, *grilles, SysCoord2SysCoord);
    if (essai.m_eStatus != kDeclinationResult) {
        state.SkipWithError("no declination for Paris");
        return;
    }
    state.SetLabel(essai.m_strDeclination.substr(0, essai.m_strDeclination.size() - 2) + " deg, " +
                   essai.m_strAnnualVariation.substr(0, essai.m_strAnnualVariation.size() - 5) + " deg/year");
    for (auto _ : state) {
        DeclinationOutcome resultat = ComputeDeclination(entree, *grilles, SysCoord2SysCoord);
        benchmark::DoNotOptimize(resultat);
    }
}

}  // namespace

void EnregistrerCalculateur() {
    benchmark::RegisterBenchmark("calculator/LoadDeclinationGrids (both files)", LectureGrilles)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("calculator/ComputeDeclination (one computation)", UnCalcul)
        ->Unit(benchmark::kMicrosecond);
}
