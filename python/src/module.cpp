// geokern._geokern: the engine's array transformation, its grid lookup, the
// catalogue of systems and the declination (norvane.h), for the Python
// packages geokern and norvane. Arrays arrive here already
// broadcast, flat, contiguous and in float64 (geokern/__init__.py sees to it);
// the loop over points is the library's own, SysCoord2SysCoordTableau, run on
// slices of the arrays in parallel for large arrays.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "geokern2.h"
#include "PointDomain.h"
#include "norvane.h"
#include "systemes.h"

namespace py = pybind11;

namespace {

using Doubles = py::array_t<double, py::array::c_style>;

// Below this many points per thread, starting a thread costs more than it saves.
constexpr std::size_t kMinPointsPerThread = 16384;
// The library counts points in an int: longer arrays go through it in slices.
constexpr std::size_t kMaxSlice = INT_MAX;

std::size_t ThreadCount(std::size_t n, int requested_threads) {
    std::size_t threads = requested_threads > 0 ? static_cast<std::size_t>(requested_threads)
                                         : std::max(1u, std::thread::hardware_concurrency());
    return std::max<std::size_t>(1, std::min(threads, n / kMinPointsPerThread));
}

// Converts [begin, end) slice by slice; the failure pairs, and the points the
// programs' rule refuses (programs::CheckPoint: beyond a pole, far outside a
// projected system, not finite), become NaN and the first failed index of the
// range is returned (end when none failed).
std::size_t ConvertRange(const double* x, const double* y, double* xs, double* ys, std::size_t begin,
                           std::size_t end, Liste_SysCoord source, Liste_SysCoord target) {
    const geokern_conv::Systeme& system = *geokern_conv::SystemeDeCode(source);
    std::size_t first_failure = end;
    for (std::size_t d = begin; d < end; d += kMaxSlice) {
        const int n = static_cast<int>(std::min(kMaxSlice, end - d));
        const bool engine_failed = SysCoord2SysCoordTableau(x + d, y + d, xs + d, ys + d, n, source, target) != 0;
        for (std::size_t k = d; k < d + static_cast<std::size_t>(n); ++k) {
            if ((engine_failed && GeokernEchec(COORDONNEES_TYPE_NC{xs[k], ys[k]})) ||
                programs::CheckPoint(system, x[k], y[k]) != programs::PointVerdict::kAccepted) {
                xs[k] = ys[k] = std::numeric_limits<double>::quiet_NaN();
                first_failure = std::min(first_failure, k);
            }
        }
    }
    return first_failure;
}

// Why the programs' rule refuses a point given in a system, or None.
py::object Refusal(int source, double x, double y) {
    const geokern_conv::Systeme* system = geokern_conv::SystemeDeCode(source);
    const char* text = system ? programs::PointVerdictText(programs::CheckPoint(*system, x, y)) : nullptr;
    return text ? py::object(py::str(text)) : py::object(py::none());
}

// The threads argument of both packages: a whole number from 0 (one per CPU)
// to kMaxThreads.
constexpr int kMaxThreads = 1024;
int Threads(const py::handle& value) {
    if (py::isinstance<py::bool_>(value) || !PyIndex_Check(value.ptr()))
        throw py::type_error("threads : un nombre entier attendu (0 : un par processeur)");
    const py::int_ number = py::reinterpret_steal<py::int_>(PyNumber_Index(value.ptr()));
    if (number.ptr() == nullptr) throw py::error_already_set();
    int overflow = 0;
    const long long n = PyLong_AsLongLongAndOverflow(number.ptr(), &overflow);
    if (overflow != 0 || n < 0 || n > kMaxThreads)
        throw py::value_error("threads : de 0 (un par processeur) à " + std::to_string(kMaxThreads) + ", reçu " +
                              py::repr(value).cast<std::string>());
    return static_cast<int>(n);
}

// Runs work(begin, end) on consecutive slices of [0, n), one per thread, and
// returns the least of the values they return.
template <class Work>
std::size_t InParallel(std::size_t n, int requested_threads, Work work) {
    const std::size_t threads = ThreadCount(n, requested_threads);
    if (threads == 1) return work(std::size_t{0}, n);
    std::vector<std::size_t> results(threads, n);
    std::vector<std::thread> others;
    for (std::size_t f = 1; f < threads; ++f)
        others.emplace_back([&, f] { results[f] = work(n * f / threads, n * (f + 1) / threads); });
    results[0] = work(std::size_t{0}, n / threads);
    for (std::thread& t : others) t.join();
    return *std::min_element(results.begin(), results.end());
}

long long IndexOrMinusOne(std::size_t index, std::size_t n) {
    return index == n ? -1 : static_cast<long long>(index);
}

// transform(x, y, source, target, threads) -> (x_out, y_out, first failed index or -1)
py::tuple Transform(const Doubles& x, const Doubles& y, int source, int target, const py::object& threads) {
    const int requested_threads = Threads(threads);
    const std::size_t n = static_cast<std::size_t>(x.size());
    if (static_cast<std::size_t>(y.size()) != n) throw py::value_error("x and y differ in length");
    Doubles xs(x.size()), ys(x.size());
    const double* px = x.data();
    const double* py_ = y.data();
    double* pxs = xs.mutable_data();
    double* pys = ys.mutable_data();
    const auto s = static_cast<Liste_SysCoord>(source), c = static_cast<Liste_SysCoord>(target);
    std::size_t first_failure;
    {
        py::gil_scoped_release no_gil;
        first_failure = InParallel(n, requested_threads, [=](std::size_t begin, std::size_t end) {
            return ConvertRange(px, py_, pxs, pys, begin, end, s, c);
        });
    }
    return py::make_tuple(xs, ys, IndexOrMinusOne(first_failure, n));
}

// The declination data of a directory, closed with its capsule.
py::capsule OpenData(const std::string& directory) {
    NORVANE_DONNEES* data = NorvaneOuvre(directory.c_str());
    if (!data) throw std::bad_alloc();
    return py::capsule(data, "norvane", [](PyObject* capsule) {
        NorvaneFerme(static_cast<NORVANE_DONNEES*>(PyCapsule_GetPointer(capsule, "norvane")));
    });
}

const NORVANE_DONNEES* DataOf(const py::capsule& capsule) {
    return static_cast<const NORVANE_DONNEES*>(capsule.get_pointer());
}

py::object MissingFile(const py::capsule& data, int source) {
    const char* name = NorvaneFichierManquant(DataOf(data), source);
    return name ? py::object(py::str(name)) : py::object(py::none());
}

// The declination of another model than IGRF-14 at the points of [begin, end)
// that the source leaves to a model: every one for "modele", those outside the
// grids' period for "auto" (their grid answer is in pd, pv, ps already).
void OtherModelRange(const NORVANE_DONNEES* data, int source, int model, const std::int64_t* pj, const double* pl,
                     const double* pp, const double* pa, double* pd, double* pv, int* ps, std::size_t begin,
                     std::size_t end) {
    std::vector<std::size_t> indexes;
    std::vector<double> years, lons, lats, alts;
    for (std::size_t k = begin; k < end; ++k) {
        if (source == NORVANE_AUTO && ps[k] != NORVANE_HORS_PERIODE_GRILLE) continue;
        indexes.push_back(k);
        years.push_back(NorvaneAnneeDecimaleJours(pj[k]));
        lons.push_back(pl[k]), lats.push_back(pp[k]), alts.push_back(pa[k]);
    }
    std::vector<double> elements(indexes.size() * NORVANE_ELEMENTS);
    std::vector<int> statuses(indexes.size());
    NorvaneChampTableau(data, model, indexes.size(), years.data(), lons.data(), lats.data(), alts.data(),
                        elements.data(), nullptr, nullptr, statuses.data());
    for (std::size_t i = 0; i < indexes.size(); ++i) {
        const std::size_t k = indexes[i];
        ps[k] = statuses[i];
        pd[k] = elements[i * NORVANE_ELEMENTS];                          // D
        pv[k] = elements[i * NORVANE_ELEMENTS + NORVANE_ELEMENTS / 2];  // dD, after the seven values
    }
}

// declination(data, source, days since 1970, lon, lat, altitude, threads, model)
//   -> (declinations, rates, statuses, first failed index or -1), NaN where failed.
py::tuple Declination(const py::capsule& capsule, int source, const py::array_t<std::int64_t, py::array::c_style>& days,
                      const Doubles& lon, const Doubles& lat, const Doubles& altitude, const py::object& threads,
                      int model) {
    const int requested_threads = Threads(threads);
    const std::size_t n = static_cast<std::size_t>(days.size());
    if (static_cast<std::size_t>(lon.size()) != n || static_cast<std::size_t>(lat.size()) != n ||
        static_cast<std::size_t>(altitude.size()) != n)
        throw py::value_error("the arrays differ in length");
    Doubles declinations(days.size()), variations(days.size());
    py::array_t<std::int32_t> statuses(days.size());
    const NORVANE_DONNEES* data = DataOf(capsule);
    const std::int64_t* pj = days.data();
    const double *pl = lon.data(), *pp = lat.data(), *pa = altitude.data();
    double *pd = declinations.mutable_data(), *pv = variations.mutable_data();
    int* ps = reinterpret_cast<int*>(statuses.mutable_data());
    static_assert(sizeof(int) == sizeof(std::int32_t), "statuses are C ints");
    std::size_t first_failure;
    {
        py::gil_scoped_release no_gil;
        first_failure = InParallel(n, requested_threads, [=](std::size_t begin, std::size_t end) {
            const bool other_model = model != NORVANE_IGRF && source != NORVANE_GRILLE;
            std::size_t succeeded = 0;
            if (!other_model || source == NORVANE_AUTO)
                succeeded = NorvaneDeclinaisonTableauJours(data, other_model ? NORVANE_GRILLE : source, end - begin,
                                                          pj + begin, pl + begin, pp + begin, pa + begin,
                                                          pd + begin, pv + begin, ps + begin, nullptr);
            if (other_model) {
                OtherModelRange(data, source, model, pj, pl, pp, pa, pd, pv, ps, begin, end);
                succeeded = static_cast<std::size_t>(std::count(ps + begin, ps + end, NORVANE_RESULTAT));
            }
            std::size_t first = end;
            if (succeeded == end - begin) return first;
            for (std::size_t k = begin; k < end; ++k) {
                if (ps[k] != NORVANE_RESULTAT) {
                    pd[k] = pv[k] = std::numeric_limits<double>::quiet_NaN();
                    first = std::min(first, k);
                }
            }
            return first;
        });
    }
    return py::make_tuple(declinations, variations, statuses, IndexOrMinusOne(first_failure, n));
}

py::object Message(int status, int model) {
    const char* text = NorvaneMessageModele(status, model);
    return text ? py::object(py::str(text)) : py::object(py::none());
}

// decimal_years(days since 1970) -> the models' decimal years of those days.
Doubles DecimalYears(const py::array_t<std::int64_t, py::array::c_style>& days) {
    Doubles years(days.size());
    const std::int64_t* pj = days.data();
    double* py_ = years.mutable_data();
    for (py::ssize_t k = 0; k < days.size(); ++k) py_[k] = NorvaneAnneeDecimaleJours(pj[k]);
    return years;
}

// field(data, model, decimal years, lon, lat, altitude, threads)
//   -> (elements (n, 14), uncertainties (n, 7), zones, statuses, first failed index or -1),
//   NaN where failed (and for the uncertainties of a model that publishes none).
py::tuple Field(const py::capsule& capsule, int model, const Doubles& years, const Doubles& lon, const Doubles& lat,
                const Doubles& altitude, const py::object& threads) {
    const int requested_threads = Threads(threads);
    const std::size_t n = static_cast<std::size_t>(years.size());
    if (static_cast<std::size_t>(lon.size()) != n || static_cast<std::size_t>(lat.size()) != n ||
        static_cast<std::size_t>(altitude.size()) != n)
        throw py::value_error("the arrays differ in length");
    Doubles elements({static_cast<py::ssize_t>(n), static_cast<py::ssize_t>(NORVANE_ELEMENTS)});
    Doubles uncertainties({static_cast<py::ssize_t>(n), static_cast<py::ssize_t>(NORVANE_INCERTITUDES)});
    py::array_t<std::int32_t> zones(years.size()), statuses(years.size());
    const NORVANE_DONNEES* data = DataOf(capsule);
    const double *pt = years.data(), *pl = lon.data(), *pp = lat.data(), *pa = altitude.data();
    double *pe = elements.mutable_data(), *pu = uncertainties.mutable_data();
    int* pz = reinterpret_cast<int*>(zones.mutable_data());
    int* ps = reinterpret_cast<int*>(statuses.mutable_data());
    std::size_t first_failure;
    {
        py::gil_scoped_release no_gil;
        first_failure = InParallel(n, requested_threads, [=](std::size_t begin, std::size_t end) {
            NorvaneChampTableau(data, model, end - begin, pt + begin, pl + begin, pp + begin, pa + begin,
                                pe + begin * NORVANE_ELEMENTS, pu + begin * NORVANE_INCERTITUDES, pz + begin,
                                ps + begin);
            std::size_t first = end;
            for (std::size_t k = begin; k < end; ++k) {
                if (ps[k] == NORVANE_RESULTAT) continue;
                std::fill(pe + k * NORVANE_ELEMENTS, pe + (k + 1) * NORVANE_ELEMENTS,
                          std::numeric_limits<double>::quiet_NaN());
                std::fill(pu + k * NORVANE_INCERTITUDES, pu + (k + 1) * NORVANE_INCERTITUDES,
                          std::numeric_limits<double>::quiet_NaN());
                first = std::min(first, k);
            }
            return first;
        });
    }
    return py::make_tuple(elements, uncertainties, zones, statuses, IndexOrMinusOne(first_failure, n));
}

// The models as tuples (code, key, name, file, span text, description, zone texts).
py::list Models() {
    py::list entries;
    for (int k = 0; k < NORVANE_NOMBRE_MODELES; ++k)
        entries.append(py::make_tuple(k, NorvaneModeleCle(k), NorvaneModeleNom(k), NorvaneModeleFichier(k),
                                      NorvaneModelePeriode(k), NorvaneModeleDescription(k)));
    return entries;
}

// precision(lon, lat) -> int32 codes of the GR3DF97A node, -9999 outside the grid.
py::array_t<std::int32_t> Precision(const Doubles& lon, const Doubles& lat) {
    const std::size_t n = static_cast<std::size_t>(lon.size());
    if (static_cast<std::size_t>(lat.size()) != n) throw py::value_error("lon and lat differ in length");
    py::array_t<std::int32_t> codes(lon.size());
    const double* pl = lon.data();
    const double* pp = lat.data();
    std::int32_t* pc = codes.mutable_data();
    {
        py::gil_scoped_release no_gil;
        for (std::size_t k = 0; k < n; ++k) pc[k] = LectureGrille_GR3DF97A(pl[k], pp[k]).Code_precision;
    }
    return codes;
}

// The engine's catalogue as tuples (code, name, label, geographic, epsg, units), in code order.
py::list Systems() {
    py::list entries;
    for (int code = 1;; ++code) {
        const DESCRIPTION_SYSCOORD* d = DescriptionSysCoord(static_cast<Liste_SysCoord>(code));
        if (d == nullptr) break;
        entries.append(py::make_tuple(code, d->Nom, d->Libelle, d->IsProjection == 0, d->Epsg, d->Unites));
    }
    return entries;
}

// The code of a system named by its catalogue name (any case), its code as
// text or "EPSG:NNNN"; 0 for anything else.
int SystemCode(const std::string& name) {
    if (name.find('\0') != std::string::npos) return 0;
    return CodeSysCoord(name.c_str());
}

}  // namespace

PYBIND11_MODULE(_geokern, m) {
    m.doc() = "Compiled core of the geokern package: use the functions of geokern instead.";
    m.def("transform", &Transform, py::arg("x"), py::arg("y"), py::arg("source"), py::arg("target"),
          py::arg("threads") = 0,
          "Transforms flat float64 arrays; returns (x, y, first failed index or -1), NaN where failed.");
    m.def("refusal", &Refusal, py::arg("source"), py::arg("x"), py::arg("y"),
          "Why a point of a system is refused before the engine (French), or None.");
    m.def("precision", &Precision, py::arg("lon"), py::arg("lat"),
          "GR3DF97A precision codes of flat float64 arrays of degrees.");
    m.def("systems", &Systems, "The catalogue: tuples (code, name, label, geographic, epsg, units).");
    m.def("system_code", &SystemCode, py::arg("name"), "Code of a system name, code text or EPSG:NNNN; 0 if unknown.");
    m.def("open_data", &OpenData, py::arg("directory"), "Opens the declination data of a directory.");
    m.def("missing_file", &MissingFile, py::arg("data"), py::arg("source"),
          "The first file a source lacks, or None.");
    m.def("declination", &Declination, py::arg("data"), py::arg("source"), py::arg("days"), py::arg("lon"),
          py::arg("lat"), py::arg("altitude"), py::arg("threads") = 0, py::arg("model") = static_cast<int>(NORVANE_IGRF),
          "Declinations of flat arrays; returns (declinations, rates, statuses, first failed index or -1).");
    m.def("message", &Message, py::arg("status"), py::arg("model") = static_cast<int>(NORVANE_IGRF),
          "The French message of a status (for a model), or None.");
    m.def("decimal_years", &DecimalYears, py::arg("days"), "The models' decimal years of days since 1970.");
    m.def("field", &Field, py::arg("data"), py::arg("model"), py::arg("years"), py::arg("lon"), py::arg("lat"),
          py::arg("altitude"), py::arg("threads") = 0,
          "Every element of flat arrays; returns (elements, uncertainties, zones, statuses, first failed or -1).");
    m.def("models", &Models, "The models: tuples (code, key, name, file, span, description).");
    py::list element_names, zone_texts;
    for (int k = 0; k < NORVANE_ELEMENTS; ++k) element_names.append(NorvaneElementNom(k));
    for (int z = NORVANE_ZONE_NORMALE; z <= NORVANE_ZONE_INUTILISABLE; ++z) {
        const char* text = NorvaneZoneTexte(z);
        zone_texts.append(text ? py::object(py::str(text)) : py::object(py::none()));
    }
    m.attr("ELEMENTS") = py::tuple(element_names);
    m.attr("ZONES") = py::tuple(zone_texts);
    m.attr("__version__") = GEOKERN_VERSION;
    m.attr("GRID_PERIOD") = py::make_tuple(py::str(NorvanePeriodeGrilles(1)), py::str(NorvanePeriodeGrilles(0)));
    m.attr("SOURCES") = py::dict(py::arg("auto") = static_cast<int>(NORVANE_AUTO),
                                 py::arg("grille") = static_cast<int>(NORVANE_GRILLE),
                                 py::arg("modele") = static_cast<int>(NORVANE_MODELE));
}
