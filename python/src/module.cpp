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
#include "norvane.h"
#include "systemes.h"

namespace py = pybind11;

namespace {

using Reels = py::array_t<double, py::array::c_style>;

// Below this many points per thread, starting a thread costs more than it saves.
constexpr std::size_t POINTS_PAR_FIL_MIN = 16384;
// The library counts points in an int: longer arrays go through it in slices.
constexpr std::size_t TRANCHE_MAX = INT_MAX;

std::size_t NombreDeFils(std::size_t n, int fils_demandes) {
    std::size_t fils = fils_demandes > 0 ? static_cast<std::size_t>(fils_demandes)
                                         : std::max(1u, std::thread::hardware_concurrency());
    return std::max<std::size_t>(1, std::min(fils, n / POINTS_PAR_FIL_MIN));
}

// Converts [debut, fin) slice by slice; the failure pairs become NaN and the
// first failed index of the range is returned (fin when none failed).
std::size_t ConvertitPlage(const double* x, const double* y, double* xs, double* ys, std::size_t debut,
                           std::size_t fin, Liste_SysCoord source, Liste_SysCoord cible) {
    std::size_t premier_echec = fin;
    for (std::size_t d = debut; d < fin; d += TRANCHE_MAX) {
        const int n = static_cast<int>(std::min(TRANCHE_MAX, fin - d));
        if (SysCoord2SysCoordTableau(x + d, y + d, xs + d, ys + d, n, source, cible) == 0) continue;
        for (std::size_t k = d; k < d + static_cast<std::size_t>(n); ++k) {
            if (GeokernEchec(COORDONNEES_TYPE_NC{xs[k], ys[k]})) {
                xs[k] = ys[k] = std::numeric_limits<double>::quiet_NaN();
                premier_echec = std::min(premier_echec, k);
            }
        }
    }
    return premier_echec;
}

// Runs travail(debut, fin) on consecutive slices of [0, n), one per thread, and
// returns the least of the values they return.
template <class Travail>
std::size_t EnParallele(std::size_t n, int fils_demandes, Travail travail) {
    const std::size_t fils = NombreDeFils(n, fils_demandes);
    if (fils == 1) return travail(std::size_t{0}, n);
    std::vector<std::size_t> resultats(fils, n);
    std::vector<std::thread> autres;
    for (std::size_t f = 1; f < fils; ++f)
        autres.emplace_back([&, f] { resultats[f] = travail(n * f / fils, n * (f + 1) / fils); });
    resultats[0] = travail(std::size_t{0}, n / fils);
    for (std::thread& t : autres) t.join();
    return *std::min_element(resultats.begin(), resultats.end());
}

long long IndiceOuMoinsUn(std::size_t indice, std::size_t n) {
    return indice == n ? -1 : static_cast<long long>(indice);
}

// transform(x, y, source, target, threads) -> (x_out, y_out, first failed index or -1)
py::tuple Transforme(const Reels& x, const Reels& y, int source, int cible, int fils_demandes) {
    const std::size_t n = static_cast<std::size_t>(x.size());
    if (static_cast<std::size_t>(y.size()) != n) throw py::value_error("x and y differ in length");
    Reels xs(x.size()), ys(x.size());
    const double* px = x.data();
    const double* py_ = y.data();
    double* pxs = xs.mutable_data();
    double* pys = ys.mutable_data();
    const auto s = static_cast<Liste_SysCoord>(source), c = static_cast<Liste_SysCoord>(cible);
    std::size_t premier_echec;
    {
        py::gil_scoped_release sans_gil;
        premier_echec = EnParallele(n, fils_demandes, [=](std::size_t debut, std::size_t fin) {
            return ConvertitPlage(px, py_, pxs, pys, debut, fin, s, c);
        });
    }
    return py::make_tuple(xs, ys, IndiceOuMoinsUn(premier_echec, n));
}

// The declination data of a directory, closed with its capsule.
py::capsule OuvreDonnees(const std::string& repertoire) {
    NORVANE_DONNEES* donnees = NorvaneOuvre(repertoire.c_str());
    if (!donnees) throw std::bad_alloc();
    return py::capsule(donnees, "norvane", [](PyObject* capsule) {
        NorvaneFerme(static_cast<NORVANE_DONNEES*>(PyCapsule_GetPointer(capsule, "norvane")));
    });
}

const NORVANE_DONNEES* Donnees(const py::capsule& capsule) {
    return static_cast<const NORVANE_DONNEES*>(capsule.get_pointer());
}

py::object FichierManquant(const py::capsule& donnees, int source) {
    const char* nom = NorvaneFichierManquant(Donnees(donnees), source);
    return nom ? py::object(py::str(nom)) : py::object(py::none());
}

// declination(data, source, days since 1970, lon, lat, altitude, threads)
//   -> (declinations, rates, statuses, first failed index or -1), NaN where failed.
py::tuple Declinaison(const py::capsule& capsule, int source, const py::array_t<std::int64_t, py::array::c_style>& jours,
                      const Reels& lon, const Reels& lat, const Reels& altitude, int fils_demandes) {
    const std::size_t n = static_cast<std::size_t>(jours.size());
    if (static_cast<std::size_t>(lon.size()) != n || static_cast<std::size_t>(lat.size()) != n ||
        static_cast<std::size_t>(altitude.size()) != n)
        throw py::value_error("the arrays differ in length");
    Reels declinaisons(jours.size()), variations(jours.size());
    py::array_t<std::int32_t> statuts(jours.size());
    const NORVANE_DONNEES* donnees = Donnees(capsule);
    const std::int64_t* pj = jours.data();
    const double *pl = lon.data(), *pp = lat.data(), *pa = altitude.data();
    double *pd = declinaisons.mutable_data(), *pv = variations.mutable_data();
    int* ps = reinterpret_cast<int*>(statuts.mutable_data());
    static_assert(sizeof(int) == sizeof(std::int32_t), "statuses are C ints");
    std::size_t premier_echec;
    {
        py::gil_scoped_release sans_gil;
        premier_echec = EnParallele(n, fils_demandes, [=](std::size_t debut, std::size_t fin) {
            const std::size_t reussis = NorvaneDeclinaisonTableauJours(
                donnees, source, fin - debut, pj + debut, pl + debut, pp + debut, pa + debut, pd + debut,
                pv + debut, ps + debut, nullptr);
            std::size_t premier = fin;
            if (reussis == fin - debut) return premier;
            for (std::size_t k = debut; k < fin; ++k) {
                if (ps[k] != NORVANE_RESULTAT) {
                    pd[k] = pv[k] = std::numeric_limits<double>::quiet_NaN();
                    premier = std::min(premier, k);
                }
            }
            return premier;
        });
    }
    return py::make_tuple(declinaisons, variations, statuts, IndiceOuMoinsUn(premier_echec, n));
}

py::object Message(int statut) {
    const char* texte = NorvaneMessage(statut);
    return texte ? py::object(py::str(texte)) : py::object(py::none());
}

// precision(lon, lat) -> int32 codes of the GR3DF97A node, -9999 outside the grid.
py::array_t<std::int32_t> Precision(const Reels& lon, const Reels& lat) {
    const std::size_t n = static_cast<std::size_t>(lon.size());
    if (static_cast<std::size_t>(lat.size()) != n) throw py::value_error("lon and lat differ in length");
    py::array_t<std::int32_t> codes(lon.size());
    const double* pl = lon.data();
    const double* pp = lat.data();
    std::int32_t* pc = codes.mutable_data();
    {
        py::gil_scoped_release sans_gil;
        for (std::size_t k = 0; k < n; ++k) pc[k] = LectureGrille_GR3DF97A(pl[k], pp[k]).Code_precision;
    }
    return codes;
}

// The catalogue as tuples (code, name, label, geographic, epsg), in code order.
py::list Systemes() {
    py::list liste;
    for (const geokern_conv::Systeme& s : geokern_conv::SYSTEMES)
        liste.append(py::make_tuple(static_cast<int>(s.code), s.nom, s.description, s.geographique, s.epsg));
    return liste;
}

// The code of a system named by its catalogue name (any case) or its code as
// text; 0 for anything else.
int CodeSysteme(const std::string& nom) {
    const geokern_conv::Systeme* s = geokern_conv::TrouveSysteme(nom);
    return s ? static_cast<int>(s->code) : 0;
}

}  // namespace

PYBIND11_MODULE(_geokern, m) {
    m.doc() = "Compiled core of the geokern package: use the functions of geokern instead.";
    m.def("transform", &Transforme, py::arg("x"), py::arg("y"), py::arg("source"), py::arg("target"),
          py::arg("threads") = 0,
          "Transforms flat float64 arrays; returns (x, y, first failed index or -1), NaN where failed.");
    m.def("precision", &Precision, py::arg("lon"), py::arg("lat"),
          "GR3DF97A precision codes of flat float64 arrays of degrees.");
    m.def("systems", &Systemes, "The catalogue: tuples (code, name, label, geographic, epsg).");
    m.def("system_code", &CodeSysteme, py::arg("name"), "Code 1-12 of a system name or code text; 0 if unknown.");
    m.def("open_data", &OuvreDonnees, py::arg("directory"), "Opens the declination data of a directory.");
    m.def("missing_file", &FichierManquant, py::arg("data"), py::arg("source"),
          "The first file a source lacks, or None.");
    m.def("declination", &Declinaison, py::arg("data"), py::arg("source"), py::arg("days"), py::arg("lon"),
          py::arg("lat"), py::arg("altitude"), py::arg("threads") = 0,
          "Declinations of flat arrays; returns (declinations, rates, statuses, first failed index or -1).");
    m.def("message", &Message, py::arg("status"), "The French message of a status, or None.");
    m.attr("SOURCES") = py::dict(py::arg("auto") = static_cast<int>(NORVANE_AUTO),
                                 py::arg("grille") = static_cast<int>(NORVANE_GRILLE),
                                 py::arg("modele") = static_cast<int>(NORVANE_MODELE));
}
