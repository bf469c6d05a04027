// bench_engine: geokern against PROJ on the same 100,000 points over mainland
// France and Corsica, and the calculator's start-up work.
//
// Before any timing, both sides transform every point and the largest
// difference per route is printed; a route on which PROJ runs the same method
// must agree within 1 mm, or the program stops with status 1. After the
// timings a table gives CPU nanoseconds per point on both sides and the ratio
// (PROJ time / geokern time, so 2.0 means geokern does twice the points).
#include <benchmark/benchmark.h>
#include <proj.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "geokern2.h"
#include "points_france.h"

#ifndef BENCH_DATA_DIR
#error "BENCH_DATA_DIR must name the folder holding gr3df97a.tif"
#endif

namespace {

const std::vector<COORDONNEES_TYPE_NC>& PointsWgs84() {
    static const std::vector<COORDONNEES_TYPE_NC> points = points_france::PointsFrance(100000);
    return points;
}
std::size_t NombrePoints() { return PointsWgs84().size(); }

// The point set expressed in one system, by the engine itself, so that both
// sides start from exactly the same numbers.
std::vector<COORDONNEES_TYPE_NC> PointsDans(Liste_SysCoord sys) {
    std::vector<COORDONNEES_TYPE_NC> points;
    points.reserve(NombrePoints());
    for (const COORDONNEES_TYPE_NC& p : PointsWgs84()) points.push_back(SysCoord2SysCoord(p, WGS84GG, sys));
    return points;
}

struct Route {
    std::string nom;         // as shown in the table
    Liste_SysCoord in, out;  // geokern side
    PJ* proj;                // PROJ side
    bool meme_methode;       // PROJ runs the engine's method: must agree within 1 mm
    std::vector<COORDONNEES_TYPE_NC> entrees;
    double ecart_max = 0.0;  // metres
};

PJ_CONTEXT* contexte = nullptr;

PJ* Preparer(const char* source, const char* cible) {
    PJ* brut = proj_create_crs_to_crs(contexte, source, cible, nullptr);
    if (brut == nullptr) {
        std::fprintf(stderr, "PROJ: no operation %s -> %s\n", source, cible);
        std::exit(1);
    }
    PJ* norme = proj_normalize_for_visualization(contexte, brut);
    proj_destroy(brut);
    return norme;
}

PJ* PreparerPipeline(const std::string& pipeline) {
    PJ* p = proj_create(contexte, pipeline.c_str());
    if (p == nullptr) {
        std::fprintf(stderr, "PROJ: cannot create %s\n", pipeline.c_str());
        std::exit(1);
    }
    return p;
}

// EPSG's Lambert zone II (27572) and Lambert 93 (2154), as projinfo prints them.
const char* const LAMBERT_2 =
    "+proj=lcc +lat_1=46.8 +lat_0=46.8 +lon_0=0 +k_0=0.99987742 +x_0=600000 +y_0=2200000 +ellps=clrk80ign +pm=paris";
const char* const LAMBERT_93 =
    "+proj=lcc +lat_0=46.5 +lon_0=3 +lat_1=49 +lat_2=44 +x_0=700000 +y_0=6600000 +ellps=GRS80";

std::vector<Route>& Routes() {
    static std::vector<Route> routes;
    return routes;
}

void PreparerRoutes() {
    contexte = proj_context_create();
    proj_context_set_enable_network(contexte, 0);
    const std::string xyz = std::string("+proj=pipeline +step +inv ") + LAMBERT_2 +
                            " +step +proj=push +v_3 +step +proj=cart +ellps=clrk80ign"
                            " +step +proj=xyzgridshift +grids=" BENCH_DATA_DIR "/gr3df97a.tif +grid_ref=output_crs +ellps=GRS80"
                            " +step +inv +proj=cart +ellps=GRS80 +step +proj=pop +v_3 +step " +
                            LAMBERT_93;
    std::vector<Route>& r = Routes();
    r.push_back({"WGS84GG->NTFL2E", WGS84GG, NTFL2E, Preparer("EPSG:4326", "EPSG:27572"), true, {}});
    r.push_back({"NTFGG->NTFL2E", NTFGG, NTFL2E, Preparer("EPSG:4275", "EPSG:27572"), true, {}});
    r.push_back({"RGF93GG->RGF93L93", RGF93GG, RGF93L93, Preparer("EPSG:4171", "EPSG:2154"), true, {}});
    r.push_back({"NTFL2E->RGF93L93 xyzgridshift", NTFL2E, RGF93L93, PreparerPipeline(xyz), true, {}});
    r.push_back({"NTFL2E->RGF93L93 ntf_r93.gsb", NTFL2E, RGF93L93, Preparer("EPSG:27572", "EPSG:2154"), false, {}});
    for (Route& route : r) route.entrees = PointsDans(route.in);
}

// Both sides on every point; the largest distance between their results.
bool Comparer() {
    bool accord = true;
    std::printf("Agreement on %zu points (largest distance between the two results):\n", NombrePoints());
    for (Route& route : Routes()) {
        std::size_t echecs = 0;
        for (const COORDONNEES_TYPE_NC& p : route.entrees) {
            const COORDONNEES_TYPE_NC g = SysCoord2SysCoord(p, route.in, route.out);
            const PJ_COORD q = proj_trans(route.proj, PJ_FWD, proj_coord(p.x_lambda, p.y_phi, 0, 0));
            if (g.x_lambda == -9999.0 || !std::isfinite(q.xy.x)) {
                ++echecs;
                continue;
            }
            route.ecart_max = std::max(route.ecart_max, std::hypot(g.x_lambda - q.xy.x, g.y_phi - q.xy.y));
        }
        const bool ok = echecs == 0 && (!route.meme_methode || route.ecart_max <= 0.001);
        std::printf("  %-32s %9.3f mm %s%s\n", route.nom.c_str(), route.ecart_max * 1000.0,
                    route.meme_methode ? (ok ? "(same method, within 1 mm)" : "(same method: OVER 1 mm)")
                                       : "(PROJ's default horizontal grid, reported only)",
                    echecs ? " FAILED POINTS" : "");
        // The operation PROJ ran on the last point (for the default route, the one it chose).
        PJ* operation = proj_trans_get_last_used_operation(route.proj);
        const char* texte = operation != nullptr ? proj_as_proj_string(contexte, operation, PJ_PROJ_5, nullptr) : nullptr;
        std::printf("    PROJ: %s\n", texte != nullptr ? texte : proj_pj_info(route.proj).definition);
        proj_destroy(operation);
        accord = accord && ok;
    }
    return accord;
}

// The timing loops: one iteration is the whole point set.
void TempsGeokern(benchmark::State& state, const Route* route) {
    std::vector<COORDONNEES_TYPE_NC> sorties(route->entrees.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < route->entrees.size(); ++i)
            sorties[i] = SysCoord2SysCoord(route->entrees[i], route->in, route->out);
        benchmark::DoNotOptimize(sorties.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(route->entrees.size()));
}

// The same through the array export, the whole point set in one call.
void TempsGeokernTableau(benchmark::State& state, const Route* route) {
    const std::size_t n = route->entrees.size();
    std::vector<double> x(n), y(n), xs(n), ys(n);
    for (std::size_t i = 0; i < n; ++i) {
        x[i] = route->entrees[i].x_lambda;
        y[i] = route->entrees[i].y_phi;
    }
    for (auto _ : state) {
        SysCoord2SysCoordTableau(x.data(), y.data(), xs.data(), ys.data(), static_cast<int>(n), route->in,
                                 route->out);
        benchmark::DoNotOptimize(xs.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(n));
}

void TempsProj(benchmark::State& state, const Route* route) {
    std::vector<PJ_COORD> sorties(route->entrees.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < route->entrees.size(); ++i) {
            const COORDONNEES_TYPE_NC& p = route->entrees[i];
            sorties[i] = proj_trans(route->proj, PJ_FWD, proj_coord(p.x_lambda, p.y_phi, 0, 0));
        }
        benchmark::DoNotOptimize(sorties.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(route->entrees.size()));
}

// PROJ's own array interface: proj_trans_generic on the whole point set in place.
void TempsProjTableau(benchmark::State& state, const Route* route) {
    const std::size_t n = route->entrees.size();
    std::vector<double> x(n), y(n);
    for (auto _ : state) {
        state.PauseTiming();
        for (std::size_t i = 0; i < n; ++i) {
            x[i] = route->entrees[i].x_lambda;
            y[i] = route->entrees[i].y_phi;
        }
        state.ResumeTiming();
        proj_trans_generic(route->proj, PJ_FWD, x.data(), sizeof(double), n, y.data(), sizeof(double), n, nullptr, 0,
                           0, nullptr, 0, 0);
        benchmark::DoNotOptimize(x.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(n));
}

// The text interface on the calculator's pair, texts prepared beforehand.
void TempsTexte(benchmark::State& state) {
    std::vector<std::string> textes;
    textes.reserve(NombrePoints());
    char tampon[64];
    for (const COORDONNEES_TYPE_NC& p : PointsWgs84()) {
        std::snprintf(tampon, sizeof tampon, "%.8f@%.8f", p.x_lambda, p.y_phi);
        textes.emplace_back(tampon);
    }
    std::size_t longueurs = 0;
    for (auto _ : state) {
        for (const std::string& t : textes) longueurs += CSysCoord2SysCoord(t.c_str(), WGS84GG, NTFL2E)[0];
        benchmark::DoNotOptimize(longueurs);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(textes.size()));
}

// Collects the CPU time per point of every run for the closing table; with
// --benchmark_repetitions, the least of the repetitions (the machine's other
// load only ever adds time).
class Rapporteur : public benchmark::ConsoleReporter {
public:
    Rapporteur() : benchmark::ConsoleReporter(OO_Tabular) {}
    std::map<std::string, double> ns_par_point;
    void ReportRuns(const std::vector<Run>& runs) override {
        benchmark::ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.iterations == 0 || run.run_type != Run::RT_Iteration) continue;
            const auto c = run.counters.find("points");
            const double points = c != run.counters.end() ? c->second.value : 1.0;
            const double ns = run.cpu_accumulated_time / run.iterations / points * 1e9;
            const auto deja = ns_par_point.find(run.benchmark_name());
            if (deja == ns_par_point.end() || ns < deja->second) ns_par_point[run.benchmark_name()] = ns;
        }
    }
};

template <class Fonction>
void Enregistrer(const std::string& nom, double points, Fonction f) {
    benchmark::RegisterBenchmark(nom.c_str(), [f, points](benchmark::State& s) {
        f(s);
        s.counters["points"] = points;
    })->Unit(benchmark::kMillisecond);
}

}  // namespace

// bench_calculateur.cpp
void EnregistrerCalculateur();

int main(int argc, char** argv) {
    PreparerRoutes();
    if (!Comparer()) {
        std::fprintf(stderr, "geokern and PROJ disagree by more than 1 mm on a route of the same method\n");
        return 1;
    }
    const double n = static_cast<double>(NombrePoints());
    for (const Route& route : Routes()) {
        const Route* r = &route;
        if (route.nom.find("ntf_r93") == std::string::npos) {
            const std::string paire = route.nom.substr(0, route.nom.find(' '));
            Enregistrer("geokern/" + paire, n, [r](benchmark::State& s) { TempsGeokern(s, r); });
            Enregistrer("geokern/SysCoord2SysCoordTableau " + paire, n,
                        [r](benchmark::State& s) { TempsGeokernTableau(s, r); });
        }
        Enregistrer("PROJ/" + route.nom, n, [r](benchmark::State& s) { TempsProj(s, r); });
        Enregistrer("PROJ/proj_trans_generic " + route.nom, n, [r](benchmark::State& s) { TempsProjTableau(s, r); });
    }
    Enregistrer("geokern/CSysCoord2SysCoord WGS84GG->NTFL2E", n, TempsTexte);
    EnregistrerCalculateur();

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    Rapporteur rapport;
    benchmark::RunSpecifiedBenchmarks(&rapport);

    std::printf("\n%-34s %12s %12s %8s\n", "route (CPU ns per point)", "geokern", "PROJ", "ratio");
    const char* paires[][3] = {
        {"WGS84GG->NTFL2E", "geokern/WGS84GG->NTFL2E", "PROJ/WGS84GG->NTFL2E"},
        {"NTFGG->NTFL2E", "geokern/NTFGG->NTFL2E", "PROJ/NTFGG->NTFL2E"},
        {"RGF93GG->RGF93L93", "geokern/RGF93GG->RGF93L93", "PROJ/RGF93GG->RGF93L93"},
        {"NTFL2E->RGF93L93 (xyzgridshift)", "geokern/NTFL2E->RGF93L93", "PROJ/NTFL2E->RGF93L93 xyzgridshift"},
        {"NTFL2E->RGF93L93 (ntf_r93.gsb)", "geokern/NTFL2E->RGF93L93", "PROJ/NTFL2E->RGF93L93 ntf_r93.gsb"},
        {"text WGS84GG->NTFL2E", "geokern/CSysCoord2SysCoord WGS84GG->NTFL2E", "PROJ/WGS84GG->NTFL2E"},
        {"arrays WGS84GG->NTFL2E", "geokern/SysCoord2SysCoordTableau WGS84GG->NTFL2E", "PROJ/proj_trans_generic WGS84GG->NTFL2E"},
        {"arrays NTFGG->NTFL2E", "geokern/SysCoord2SysCoordTableau NTFGG->NTFL2E", "PROJ/proj_trans_generic NTFGG->NTFL2E"},
        {"arrays RGF93GG->RGF93L93", "geokern/SysCoord2SysCoordTableau RGF93GG->RGF93L93", "PROJ/proj_trans_generic RGF93GG->RGF93L93"},
        {"arrays NTFL2E->RGF93L93", "geokern/SysCoord2SysCoordTableau NTFL2E->RGF93L93",
         "PROJ/proj_trans_generic NTFL2E->RGF93L93 xyzgridshift"},
    };
    for (const auto& p : paires) {
        const auto g = rapport.ns_par_point.find(p[1]);
        const auto q = rapport.ns_par_point.find(p[2]);
        if (g == rapport.ns_par_point.end() || q == rapport.ns_par_point.end()) continue;
        std::printf("%-34s %12.1f %12.1f %7.2fx\n", p[0], g->second, q->second, q->second / g->second);
    }
    for (Route& route : Routes()) proj_destroy(route.proj);
    proj_context_destroy(contexte);
    return 0;
}
