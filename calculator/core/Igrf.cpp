// The IGRF synthesis. The file is read once; a snapshot holds the
// coefficients at one date and everything that does not depend on the place.
#include "Igrf.h"

#include "Calendar.h"

#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

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
constexpr int kMaxTerms = (kMaxDegree + 1) * (kMaxDegree + 2) / 2;
// Below this sin(colatitude) the east component's division is held finite.
constexpr double kSinThetaFloor = 1e-10;

[[noreturn]] void Fail(const std::string& strWhy) { throw std::runtime_error("IGRF coefficients: " + strWhy); }

// Next line that is neither blank nor a '#' comment.
bool NextDataLine(std::istream& in, std::string& strLine) {
    while (std::getline(in, strLine)) {
        const auto uFirst = strLine.find_first_not_of(" \t\r");
        if (uFirst != std::string::npos && strLine[uFirst] != '#') return true;
    }
    return false;
}

// Geodetic position to the geocentric sphere: radius, cos and sin of the
// colatitude, and cos and sin of the angle from the geocentric to the
// geodetic vertical.
struct Geocentric {
    double dRadius, dCosTheta, dSinTheta, dCosDelta, dSinDelta;
};

Geocentric ToGeocentric(double dLatitudeDeg, double dHeightKm) {
    const double dPhi = dLatitudeDeg * kDegToRad;
    const double dSinPhi = std::sin(dPhi), dCosPhi = std::cos(dPhi);
    const double dNu = kWgs84A / std::sqrt(1.0 - kWgs84E2 * dSinPhi * dSinPhi);
    const double dP = (dNu + dHeightKm) * dCosPhi;
    const double dZ = (dNu * (1.0 - kWgs84E2) + dHeightKm) * dSinPhi;
    Geocentric g;
    g.dRadius = std::hypot(dP, dZ);
    g.dCosTheta = dZ / g.dRadius;  // sin of the geocentric latitude
    g.dSinTheta = dP / g.dRadius;
    // delta = geodetic latitude - geocentric latitude.
    g.dCosDelta = dCosPhi * g.dSinTheta + dSinPhi * g.dCosTheta;
    g.dSinDelta = dSinPhi * g.dSinTheta - dCosPhi * g.dCosTheta;
    return g;
}

// Geocentric north, east, down turned into the geodetic frame.
IgrfVector ToGeodetic(double dNorth, double dEast, double dDown, const Geocentric& g) {
    return IgrfVector{dNorth * g.dCosDelta + dDown * g.dSinDelta, dEast, dDown * g.dCosDelta - dNorth * g.dSinDelta};
}

}  // namespace

double IgrfDeclination(const IgrfVector& field) { return std::atan2(field.y, field.x) / kDegToRad; }

double IgrfDeclinationRate(const IgrfVector& field, const IgrfVector& rate) {
    const double dH2 = field.x * field.x + field.y * field.y;
    return (field.x * rate.y - field.y * rate.x) / dH2 / kDegToRad;
}

double IgrfDecimalYear(int nYear, int nMonth, int nDay) {
    // The calendar is the calculator's own, so both count the same days.
    if (!IsCalendarDate(nYear, nMonth, nDay)) throw std::out_of_range("IgrfDecimalYear: no such date");
    return nYear + (DayOfYear(nYear, nMonth, nDay) - 1) / static_cast<double>(DaysInYear(nYear));
}

CIgrfModel CIgrfModel::Load(const std::string& strPath) {
    std::ifstream in(strPath);
    if (!in) Fail("cannot open " + strPath);
    return Parse(in);
}

CIgrfModel CIgrfModel::Parse(std::istream& in) {
    std::string strLine;
    // Header: lowest degree, highest degree, number of epochs, spline order,
    // step, first and last epoch.
    if (!NextDataLine(in, strLine)) Fail("no header line");
    int nMin = 0, nMax = 0, nTimes = 0, nOrder = 0, nStep = 0;
    double dT0 = 0.0, dT1 = 0.0;
    {
        std::istringstream h(strLine);
        if (!(h >> nMin >> nMax >> nTimes >> nOrder >> nStep >> dT0 >> dT1)) Fail("malformed header line");
    }
    if (nMin != 1 || nMax < 1 || nMax > kMaxDegree) Fail("unsupported degree range");
    if (nTimes < 2) Fail("fewer than two epochs");
    // Order 2 is the piecewise-linear model the IGRF file uses; anything else
    // would need another interpolation.
    if (nOrder != 2) Fail("spline order other than 2 (piecewise linear)");

    CIgrfModel model;
    model.m_nMax = nMax;
    if (!NextDataLine(in, strLine)) Fail("no epoch line");
    {
        std::istringstream e(strLine);
        double dT;
        while (e >> dT) model.m_epochs.push_back(dT);
    }
    if (static_cast<int>(model.m_epochs.size()) != nTimes) Fail("epoch line does not list the header's epochs");
    for (int k = 1; k < nTimes; ++k)
        if (!(model.m_epochs[k] > model.m_epochs[k - 1])) Fail("epochs not increasing");
    if (model.m_epochs.front() != dT0 || model.m_epochs.back() != dT1) Fail("epochs do not match the header's span");

    const int nCount = CIgrfSnapshot::Index(nMax, nMax) + 1;
    model.m_g.assign(nTimes, std::vector<double>(nCount, 0.0));
    model.m_h.assign(nTimes, std::vector<double>(nCount, 0.0));
    std::vector<char> seenG(nCount, 0), seenH(nCount, 0);
    int nRows = 0;
    while (NextDataLine(in, strLine)) {
        std::istringstream r(strLine);
        int n = 0, m = 0;
        if (!(r >> n >> m)) Fail("malformed coefficient line: " + strLine);
        if (n < 1 || n > nMax || m < -n || m > n) Fail("degree or order out of range: " + strLine);
        const int nIdx = CIgrfSnapshot::Index(n, m < 0 ? -m : m);
        auto& seen = m < 0 ? seenH : seenG;
        if (seen[nIdx]) Fail("coefficient given twice: " + strLine);
        seen[nIdx] = 1;
        auto& table = m < 0 ? model.m_h : model.m_g;
        for (int k = 0; k < nTimes; ++k)
            if (!(r >> table[k][nIdx])) Fail("coefficient line with too few values: " + strLine);
        ++nRows;
    }
    // Every g(n, m) for m = 0..n and every h(n, m) for m = 1..n.
    if (nRows != nMax * (nMax + 2)) Fail("incomplete coefficient table");
    return model;
}

CIgrfSnapshot CIgrfModel::At(double dT) const {
    if (!(dT >= m_epochs.front() && dT <= m_epochs.back())) throw std::out_of_range("IGRF: date outside the model");
    // The segment [epoch k, epoch k+1) holding the instant; the last epoch
    // belongs to the last segment.
    std::size_t k = 0;
    while (k + 2 < m_epochs.size() && dT >= m_epochs[k + 1]) ++k;
    const double dSpan = m_epochs[k + 1] - m_epochs[k];
    const double dW = (dT - m_epochs[k]) / dSpan;
    CIgrfSnapshot s;
    s.m_nMax = m_nMax;
    const std::size_t uCount = m_g[k].size();
    s.m_g.resize(uCount);
    s.m_h.resize(uCount);
    s.m_gRate.resize(uCount);
    s.m_hRate.resize(uCount);
    for (std::size_t c = 0; c < uCount; ++c) {
        s.m_g[c] = m_g[k][c] + dW * (m_g[k + 1][c] - m_g[k][c]);
        s.m_h[c] = m_h[k][c] + dW * (m_h[k + 1][c] - m_h[k][c]);
        s.m_gRate[c] = (m_g[k + 1][c] - m_g[k][c]) / dSpan;
        s.m_hRate[c] = (m_h[k + 1][c] - m_h[k][c]) / dSpan;
    }
    s.m_a.assign(uCount, 0.0);
    s.m_b.assign(uCount, 0.0);
    s.m_c.assign(uCount, 0.0);
    for (int n = 1; n <= m_nMax; ++n) {
        s.m_c[CIgrfSnapshot::Index(n, n)] = n == 1 ? 1.0 : std::sqrt((2.0 * n - 1.0) / (2.0 * n));
        for (int m = 0; m < n; ++m) {
            const double dRoot = std::sqrt(double(n * n - m * m));
            s.m_a[CIgrfSnapshot::Index(n, m)] = (2.0 * n - 1.0) / dRoot;
            if (m < n - 1) s.m_b[CIgrfSnapshot::Index(n, m)] = std::sqrt(double((n - 1) * (n - 1) - m * m)) / dRoot;
        }
    }
    return s;
}

IgrfVector CIgrfSnapshot::Field(double dLatitudeDeg, double dLongitudeDeg, double dHeightKm) const {
    const Geocentric geo = ToGeocentric(dLatitudeDeg, dHeightKm);
    const double cos_t = geo.dCosTheta, sin_t = geo.dSinTheta;
    // Bphi divides by sin(theta); keep the poles finite.
    const double sin_t_safe = sin_t < kSinThetaFloor ? kSinThetaFloor : sin_t;

    // Schmidt semi-normalised P(n, m)(cos theta) and dP/dtheta.
    double P[kMaxDegree + 1][kMaxDegree + 1] = {};
    double dP[kMaxDegree + 1][kMaxDegree + 1] = {};
    P[0][0] = 1.0;
    dP[0][0] = 0.0;
    for (int n = 1; n <= m_nMax; ++n) {
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

    const double lambda = dLongitudeDeg * kDegToRad;
    double cos_ml[kMaxDegree + 1], sin_ml[kMaxDegree + 1];
    for (int m = 0; m <= m_nMax; ++m) {
        cos_ml[m] = std::cos(m * lambda);
        sin_ml[m] = std::sin(m * lambda);
    }

    // B = -grad V, V = a sum (a/r)^(n+1) (g cos m.lambda + h sin m.lambda) P(n, m).
    double b_r = 0.0, b_theta = 0.0, b_phi = 0.0;
    const double ratio = kReferenceRadius / geo.dRadius;
    double ar = ratio * ratio;  // (a/r)^(n+2), starting at n = 0
    for (int n = 1; n <= m_nMax; ++n) {
        ar *= ratio;
        double sr = 0.0, st = 0.0, sp = 0.0;
        for (int m = 0; m <= n; ++m) {
            const double gnm = m_g[Index(n, m)], hnm = m_h[Index(n, m)];
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
    return ToGeodetic(-b_theta, b_phi, -b_r, geo);
}

void CIgrfSnapshot::FieldAndRate(double dLatitudeDeg, double dLongitudeDeg, double dHeightKm, IgrfVector* pField,
                                 IgrfVector* pRate) const {
    // Field's formulas with the date's recurrence factors, one pass for the
    // coefficients and their rates, and cos(m lambda), sin(m lambda) from
    // the angle addition formulas.
    const Geocentric geo = ToGeocentric(dLatitudeDeg, dHeightKm);
    const double dCos = geo.dCosTheta, dSin = geo.dSinTheta;

    double P[kMaxTerms], dP[kMaxTerms];
    P[0] = 1.0;
    dP[0] = 0.0;
    for (int n = 1; n <= m_nMax; ++n) {
        const int nRow = Index(n, 0), nPrev = Index(n - 1, 0);
        for (int m = 0; m < n; ++m) {
            const double dA = m_a[nRow + m];
            double dValue = dA * dCos * P[nPrev + m];
            double dSlope = dA * (dCos * dP[nPrev + m] - dSin * P[nPrev + m]);
            if (m < n - 1) {
                const int nPrev2 = Index(n - 2, m);
                dValue -= m_b[nRow + m] * P[nPrev2];
                dSlope -= m_b[nRow + m] * dP[nPrev2];
            }
            P[nRow + m] = dValue;
            dP[nRow + m] = dSlope;
        }
        const double dC = m_c[nRow + n];
        P[nRow + n] = dC * dSin * P[nPrev + n - 1];
        dP[nRow + n] = dC * (dSin * dP[nPrev + n - 1] + dCos * P[nPrev + n - 1]);
    }

    const double dLambda = dLongitudeDeg * kDegToRad;
    const double dCos1 = std::cos(dLambda), dSin1 = std::sin(dLambda);
    double cosMl[kMaxDegree + 1], sinMl[kMaxDegree + 1];
    cosMl[0] = 1.0;
    sinMl[0] = 0.0;
    for (int m = 1; m <= m_nMax; ++m) {
        cosMl[m] = cosMl[m - 1] * dCos1 - sinMl[m - 1] * dSin1;
        sinMl[m] = sinMl[m - 1] * dCos1 + cosMl[m - 1] * dSin1;
    }

    double dBr = 0.0, dBt = 0.0, dBp = 0.0, dRr = 0.0, dRt = 0.0, dRp = 0.0;
    const double dRatio = kReferenceRadius / geo.dRadius;
    double dAr = dRatio * dRatio;
    for (int n = 1; n <= m_nMax; ++n) {
        dAr *= dRatio;
        const int nRow = Index(n, 0);
        double sr = 0.0, st = 0.0, sp = 0.0, rr = 0.0, rt = 0.0, rp = 0.0;
        for (int m = 0; m <= n; ++m) {
            const double g = m_g[nRow + m], h = m_h[nRow + m];
            const double gr = m_gRate[nRow + m], hr = m_hRate[nRow + m];
            const double dTerm = g * cosMl[m] + h * sinMl[m];
            const double dTermRate = gr * cosMl[m] + hr * sinMl[m];
            sr += dTerm * P[nRow + m];
            st += dTerm * dP[nRow + m];
            sp += m * (g * sinMl[m] - h * cosMl[m]) * P[nRow + m];
            rr += dTermRate * P[nRow + m];
            rt += dTermRate * dP[nRow + m];
            rp += m * (gr * sinMl[m] - hr * cosMl[m]) * P[nRow + m];
        }
        dBr += (n + 1) * dAr * sr;
        dBt -= dAr * st;
        dBp += dAr * sp;
        dRr += (n + 1) * dAr * rr;
        dRt -= dAr * rt;
        dRp += dAr * rp;
    }
    const double dSinSafe = dSin < kSinThetaFloor ? kSinThetaFloor : dSin;
    *pField = ToGeodetic(-dBt, dBp / dSinSafe, -dBr, geo);
    *pRate = ToGeodetic(-dRt, dRp / dSinSafe, -dRr, geo);
}
