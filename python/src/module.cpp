// geokern._geokern: the engine's array transformation, its grid lookup and the
// catalogue of systems, for the Python package. Arrays arrive here already
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
#include <thread>
#include <vector>

#include "geokern2.h"
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
    std::size_t premier_echec = n;
    {
        py::gil_scoped_release sans_gil;
        const std::size_t fils = NombreDeFils(n, fils_demandes);
        if (fils == 1) {
            premier_echec = ConvertitPlage(px, py_, pxs, pys, 0, n, s, c);
        } else {
            std::vector<std::size_t> echecs(fils, n);
            std::vector<std::thread> travail;
            for (std::size_t f = 1; f < fils; ++f)
                travail.emplace_back([&, f] {
                    echecs[f] = ConvertitPlage(px, py_, pxs, pys, n * f / fils, n * (f + 1) / fils, s, c);
                });
            echecs[0] = ConvertitPlage(px, py_, pxs, pys, 0, n / fils, s, c);
            for (std::thread& t : travail) t.join();
            premier_echec = *std::min_element(echecs.begin(), echecs.end());
        }
    }
    const long long indice = premier_echec == n ? -1 : static_cast<long long>(premier_echec);
    return py::make_tuple(xs, ys, indice);
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
    m.attr("FAILURE") = GEOKERN_ECHEC;
}
