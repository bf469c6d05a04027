// The calculator's start-up work and one computation: reading both committed
// grid files (the target is under 50 ms for the two) and one declination from
// a position in decimal degrees to the two result texts, through the engine.
// The model: one place from the day's coefficients, and places by the
// thousand through the C interface (target: 200,000 places a second).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Declination.h"
#include "DeclinationGrids.h"
#include "Igrf.h"
#include "ModelTable.h"
#include "norvane.h"

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
    // Paris, 15 June 2013.
    const auto calcul = [&] {
        return DeclinationAtPlace(kSourceGrid, true, 2013, 6, 15, 2.35, 48.85, 0.0, *grilles, SysCoord2SysCoord,
                                  nullptr);
    };
    const DeclinationOutcome essai = calcul();
    if (essai.m_eStatus != kDeclinationResult) {
        state.SkipWithError("no declination for Paris");
        return;
    }
    state.SetLabel(essai.m_strDeclination.substr(0, essai.m_strDeclination.size() - 2) + " deg, " +
                   essai.m_strAnnualVariation.substr(0, essai.m_strAnnualVariation.size() - 5) + " deg/year");
    for (auto _ : state) {
        DeclinationOutcome resultat = calcul();
        benchmark::DoNotOptimize(resultat);
    }
}

// The model at one place from the coefficients of the day (8 December 2026),
// the places going round the globe.
void UnLieuModele(benchmark::State& state) {
    const std::string fichier = std::string(BENCH_CALCULATOR_DATA_DIR) + "/" + ModelById(kModelIgrf)->pszFile;
    const CIgrfSnapshot instantane = ModelSnapshot(CIgrfModel::Load(fichier), 2026, 12, 8);
    double dLongitude = -180.0;
    double dLatitude = -89.0;
    for (auto _ : state) {
        DeclinationOutcome resultat = DeclinationFromSnapshot(instantane, dLongitude, dLatitude, 0.0);
        benchmark::DoNotOptimize(resultat);
        dLongitude = dLongitude >= 179.0 ? -180.0 : dLongitude + 1.0;
        dLatitude = dLatitude >= 89.0 ? -89.0 : dLatitude + 0.37;
    }
    state.SetItemsProcessed(state.iterations());
}

// 100,000 places of France on one day through NorvaneDeclinaisonTableau.
void TableauModele(benchmark::State& state) {
    NORVANE_DONNEES* pDonnees = NorvaneOuvre(BENCH_CALCULATOR_DATA_DIR);
    if (NorvaneFichierManquant(pDonnees, NORVANE_MODELE) != nullptr) {
        state.SkipWithError("IGRF14.shc not found");
        NorvaneFerme(pDonnees);
        return;
    }
    constexpr std::size_t kLieux = 100000;
    std::vector<int> annees(kLieux, 2026), mois(kLieux, 12), jours(kLieux, 8), statuts(kLieux);
    std::vector<double> longitudes(kLieux), latitudes(kLieux), declinaisons(kLieux), variations(kLieux);
    for (std::size_t i = 0; i < kLieux; ++i) {
        longitudes[i] = -5.0 + 14.0 * static_cast<double>(i % 1000) / 1000.0;
        latitudes[i] = 42.0 + 9.0 * static_cast<double>(i / 1000) / 100.0;
    }
    for (auto _ : state) {
        const std::size_t uResultats = NorvaneDeclinaisonTableau(
            pDonnees, NORVANE_MODELE, kLieux, annees.data(), mois.data(), jours.data(), longitudes.data(),
            latitudes.data(), nullptr, declinaisons.data(), variations.data(), statuts.data(), nullptr);
        benchmark::DoNotOptimize(uResultats);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kLieux));
    NorvaneFerme(pDonnees);
}

// Places of France on one date through NorvaneChampTableau, every element,
// with the uncertainties and zones, for the model of the benchmark's argument.
void TableauChamp(benchmark::State& state) {
    const int nModele = static_cast<int>(state.range(0));
    NORVANE_DONNEES* pDonnees = NorvaneOuvre(BENCH_CALCULATOR_DATA_DIR);
    const std::size_t kLieux = nModele == NORVANE_WMMHR ? 10000 : 100000;
    std::vector<double> annees(kLieux, 2026.93), longitudes(kLieux), latitudes(kLieux);
    std::vector<double> elements(kLieux * NORVANE_ELEMENTS), incertitudes(kLieux * NORVANE_INCERTITUDES);
    std::vector<int> zones(kLieux), statuts(kLieux);
    for (std::size_t i = 0; i < kLieux; ++i) {
        longitudes[i] = -5.0 + 14.0 * static_cast<double>(i % 100) / 100.0;
        latitudes[i] = 42.0 + 9.0 * static_cast<double>(i / 100) / static_cast<double>(kLieux / 100);
    }
    if (NorvaneChampTableau(pDonnees, nModele, 1, annees.data(), longitudes.data(), latitudes.data(), nullptr,
                            elements.data(), nullptr, nullptr, statuts.data()) != 1)
        state.SkipWithError("model file not found");
    for (auto _ : state) {
        const std::size_t uResultats = NorvaneChampTableau(
            pDonnees, nModele, kLieux, annees.data(), longitudes.data(), latitudes.data(), nullptr, elements.data(),
            incertitudes.data(), zones.data(), statuts.data());
        benchmark::DoNotOptimize(uResultats);
    }
    state.SetLabel(NorvaneModeleNom(nModele));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kLieux));
    NorvaneFerme(pDonnees);
}

}  // namespace

void EnregistrerCalculateur() {
    benchmark::RegisterBenchmark("calculator/LoadDeclinationGrids (both files)", LectureGrilles)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("calculator/DeclinationAtPlace (grids, one computation)", UnCalcul)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("calculator/DeclinationFromSnapshot (model, one place)", UnLieuModele)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("norvane_c/NorvaneDeclinaisonTableau (model, 100,000 places, one day)", TableauModele)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("norvane_c/NorvaneChampTableau (every element, one date)", TableauChamp)
        ->Arg(NORVANE_IGRF)
        ->Arg(NORVANE_WMM)
        ->Arg(NORVANE_WMMHR)
        ->Unit(benchmark::kMillisecond);
}
