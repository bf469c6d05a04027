#include "igrf.h"

#include "Calendar.h"

#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace igrf {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegToRad = kPi / 180.0;
// Reference radius of the IGRF expansion, km.
constexpr double kReferenceRadius = 6371.2;
// WGS84 ellipsoid, km.
constexpr double kWgs84A = 6378.137;
constexpr double kWgs84F = 1.0 / 298.257223563;
constexpr double kWgs84E2 = kWgs84F * (2.0 - kWgs84F);
// Largest degree the fixed-size work arrays hold.
constexpr int kMaxDegree = 20;

[[noreturn]] void fail(const std::string& why) { throw std::runtime_error("IGRF coefficients: " + why); }

// Next line that is neither blank nor a '#' comment.
bool next_data_line(std::istream& in, std::string& line) {
    while (std::getline(in, line)) {
        const auto first = line.find_first_not_of(" \t\r");
        if (first != std::string::npos && line[first] != '#') return true;
    }
    return false;
}

}  // namespace

double declination_deg(const FieldVector& b) { return std::atan2(b.y, b.x) / kDegToRad; }

double decimal_year(int year, int month, int day) {
    // The calendar is the calculator's own, so both count the same days.
    if (!IsCalendarDate(year, month, day)) throw std::out_of_range("decimal_year: no such date");
    return year + (DayOfYear(year, month, day) - 1) / static_cast<double>(DaysInYear(year));
}

Model Model::load(const std::string& path) {
    std::ifstream in(path);
    if (!in) fail("cannot open " + path);
    return parse(in);
}

Model Model::parse(std::istream& in) {
    std::string line;
    // Header: lowest degree, highest degree, number of epochs, spline order,
    // step, first and last epoch.
    if (!next_data_line(in, line)) fail("no header line");
    int nmin = 0, nmax = 0, ntimes = 0, order = 0, step = 0;
    double t0 = 0.0, t1 = 0.0;
    {
        std::istringstream h(line);
        if (!(h >> nmin >> nmax >> ntimes >> order >> step >> t0 >> t1)) fail("malformed header line");
    }
    if (nmin != 1 || nmax < 1 || nmax > kMaxDegree) fail("unsupported degree range");
    if (ntimes < 2) fail("fewer than two epochs");
    // Order 2 is the piecewise-linear model the IGRF file uses; anything else
    // would need another interpolation.
    if (order != 2) fail("spline order other than 2 (piecewise linear)");

    Model model;
    model.nmax_ = nmax;
    if (!next_data_line(in, line)) fail("no epoch line");
    {
        std::istringstream e(line);
        double t;
        while (e >> t) model.epochs_.push_back(t);
    }
    if (static_cast<int>(model.epochs_.size()) != ntimes) fail("epoch line does not list the header's epochs");
    for (int k = 1; k < ntimes; ++k)
        if (!(model.epochs_[k] > model.epochs_[k - 1])) fail("epochs not increasing");
    if (model.epochs_.front() != t0 || model.epochs_.back() != t1) fail("epochs do not match the header's span");

    const int count = Snapshot::index(nmax, nmax) + 1;
    model.g_.assign(ntimes, std::vector<double>(count, 0.0));
    model.h_.assign(ntimes, std::vector<double>(count, 0.0));
    std::vector<char> seen_g(count, 0), seen_h(count, 0);
    int rows = 0;
    while (next_data_line(in, line)) {
        std::istringstream r(line);
        int n = 0, m = 0;
        if (!(r >> n >> m)) fail("malformed coefficient line: " + line);
        if (n < 1 || n > nmax || m < -n || m > n) fail("degree or order out of range: " + line);
        const int idx = Snapshot::index(n, m < 0 ? -m : m);
        auto& seen = m < 0 ? seen_h : seen_g;
        if (seen[idx]) fail("coefficient given twice: " + line);
        seen[idx] = 1;
        auto& table = m < 0 ? model.h_ : model.g_;
        for (int k = 0; k < ntimes; ++k)
            if (!(r >> table[k][idx])) fail("coefficient line with too few values: " + line);
        ++rows;
    }
    // Every g(n, m) for m = 0..n and every h(n, m) for m = 1..n.
    if (rows != nmax * (nmax + 2)) fail("incomplete coefficient table");
    return model;
}

Snapshot Model::at(double t) const {
    if (!(t >= epochs_.front() && t <= epochs_.back())) throw std::out_of_range("IGRF: date outside the model");
    std::size_t k = 0;
    while (k + 2 < epochs_.size() && t >= epochs_[k + 1]) ++k;
    const double w = (t - epochs_[k]) / (epochs_[k + 1] - epochs_[k]);
    Snapshot s;
    s.nmax_ = nmax_;
    s.g_.resize(g_[k].size());
    s.h_.resize(h_[k].size());
    for (std::size_t c = 0; c < s.g_.size(); ++c) {
        s.g_[c] = g_[k][c] + w * (g_[k + 1][c] - g_[k][c]);
        s.h_[c] = h_[k][c] + w * (h_[k + 1][c] - h_[k][c]);
    }
    return s;
}

FieldVector Snapshot::field(double latitude_deg, double longitude_deg, double height_km) const {
    // Geodetic to geocentric through cartesian coordinates in the meridian plane.
    const double phi = latitude_deg * kDegToRad;
    const double sin_phi = std::sin(phi), cos_phi = std::cos(phi);
    const double nu = kWgs84A / std::sqrt(1.0 - kWgs84E2 * sin_phi * sin_phi);
    const double p = (nu + height_km) * cos_phi;
    const double zc = (nu * (1.0 - kWgs84E2) + height_km) * sin_phi;
    const double r = std::hypot(p, zc);
    // Colatitude theta: cos(theta) = sin(geocentric latitude).
    const double cos_t = zc / r;
    const double sin_t = p / r;
    // Bphi divides by sin(theta); keep the poles finite.
    const double sin_t_safe = sin_t < 1e-10 ? 1e-10 : sin_t;

    // Schmidt semi-normalised P(n, m)(cos theta) and dP/dtheta.
    double P[kMaxDegree + 1][kMaxDegree + 1] = {};
    double dP[kMaxDegree + 1][kMaxDegree + 1] = {};
    P[0][0] = 1.0;
    dP[0][0] = 0.0;
    for (int n = 1; n <= nmax_; ++n) {
        if (n == 1) {
            P[1][1] = sin_t;
            dP[1][1] = cos_t;
        } else {
            const double k = std::sqrt((2.0 * n - 1.0) / (2.0 * n));
            P[n][n] = k * sin_t * P[n - 1][n - 1];
            dP[n][n] = k * (sin_t * dP[n - 1][n - 1] + cos_t * P[n - 1][n - 1]);
        }
        for (int m = 0; m < n; ++m) {
            const double root_nm = std::sqrt(double(n * n - m * m));
            const double a = (2.0 * n - 1.0) / root_nm;
            P[n][m] = a * cos_t * P[n - 1][m];
            dP[n][m] = a * (cos_t * dP[n - 1][m] - sin_t * P[n - 1][m]);
            if (m < n - 1) {
                const double b = std::sqrt(double((n - 1) * (n - 1) - m * m)) / root_nm;
                P[n][m] -= b * P[n - 2][m];
                dP[n][m] -= b * dP[n - 2][m];
            }
        }
    }

    const double lambda = longitude_deg * kDegToRad;
    double cos_ml[kMaxDegree + 1], sin_ml[kMaxDegree + 1];
    for (int m = 0; m <= nmax_; ++m) {
        cos_ml[m] = std::cos(m * lambda);
        sin_ml[m] = std::sin(m * lambda);
    }

    // B = -grad V, V = a sum (a/r)^(n+1) (g cos m.lambda + h sin m.lambda) P(n, m).
    double b_r = 0.0, b_theta = 0.0, b_phi = 0.0;
    const double ratio = kReferenceRadius / r;
    double ar = ratio * ratio;  // (a/r)^(n+2), starting at n = 0
    for (int n = 1; n <= nmax_; ++n) {
        ar *= ratio;
        double sr = 0.0, st = 0.0, sp = 0.0;
        for (int m = 0; m <= n; ++m) {
            const double gnm = g_[index(n, m)], hnm = h_[index(n, m)];
            const double term = gnm * cos_ml[m] + hnm * sin_ml[m];
            sr += term * P[n][m];
            st += term * dP[n][m];
            sp += m * (gnm * sin_ml[m] - hnm * cos_ml[m]) * P[n][m];
        }
        b_r += (n + 1) * ar * sr;
        b_theta -= ar * st;
        b_phi += ar * sp;
    }
    b_phi /= sin_t_safe;

    // Geocentric north/east/down, then rotated by the angle between the
    // geodetic and geocentric verticals.
    const double x_c = -b_theta, y_c = b_phi, z_c = -b_r;
    const double psi = std::atan2(zc, p);
    const double delta = phi - psi;
    const double cd = std::cos(delta), sd = std::sin(delta);
    return FieldVector{x_c * cd + z_c * sd, y_c, z_c * cd - x_c * sd};
}

}  // namespace igrf
