// The synthesis of the main-field models. The file is read once; a snapshot
// holds the coefficients at one date and everything that does not depend on
// the place.
#include "Igrf.h"

#include "Calendar.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegToRad = kPi / 180.0;
// Reference radius of the IGRF and WMM expansions, km.
constexpr double kReferenceRadius = 6371.2;
// WGS84 ellipsoid, km.
constexpr double kWgs84A = 6378.137;
constexpr double kWgs84F = 1.0 / 298.257223563;
constexpr double kWgs84E2 = kWgs84F * (2.0 - kWgs84F);
// The .COF layout gives the coefficients at its epoch and their rates; its
// models are valid for the five years from that epoch.
constexpr double kCofSpanYears = 5.0;
// Below this sin(colatitude) the east component's division is held finite.
constexpr double kSinThetaFloor = 1e-10;

[[noreturn]] void Fail(const std::string& strWhy) { throw std::runtime_error("coefficients: " + strWhy); }

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
    // .shc header: lowest degree, highest degree, number of epochs, spline
    // order, step, first and last epoch. .COF header: epoch, name, date.
    if (!NextDataLine(in, strLine)) Fail("no header line");
    int nMin = 0, nMax = 0, nTimes = 0, nOrder = 0, nStep = 0;
    double dT0 = 0.0, dT1 = 0.0;
    {
        std::istringstream h(strLine);
        std::string strFirst, strSecond;
        if (h >> strFirst >> strSecond && strSecond.find_first_not_of("0123456789.+-eE") != std::string::npos)
            return ParseCof(in, strLine);
    }
    {
        std::istringstream h(strLine);
        if (!(h >> nMin >> nMax >> nTimes >> nOrder >> nStep >> dT0 >> dT1)) Fail("malformed header line");
    }
    if (nMin != 1 || nMax < 1 || nMax > kIgrfMaxDegree) Fail("unsupported degree range");
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

CIgrfModel CIgrfModel::ParseCof(std::istream& in, const std::string& strHeader) {
    // NOAA's layout: "epoch name date", then "n m g h dg dh" rows (nT, nT per
    // year) for n = 1..N, m = 0..n, closed by a row of 9s. The model is the
    // epoch's coefficients moved linearly by their rates: two epochs here,
    // the second kCofSpanYears later.
    CIgrfModel model;
    double dEpoch = 0.0;
    {
        std::istringstream h(strHeader);
        if (!(h >> dEpoch >> model.m_strName)) Fail("malformed header line");
    }
    struct Row {
        int n, m;
        double g, h, dg, dh;
    };
    std::vector<Row> rows;
    std::string strLine;
    bool bClosed = false;
    while (NextDataLine(in, strLine)) {
        if (strLine.find_first_not_of(" \t\r9") == std::string::npos) {
            bClosed = true;
            break;
        }
        std::istringstream r(strLine);
        Row row{};
        if (!(r >> row.n >> row.m >> row.g >> row.h >> row.dg >> row.dh)) Fail("malformed coefficient line: " + strLine);
        if (row.n < 1 || row.n > kIgrfMaxDegree || row.m < 0 || row.m > row.n)
            Fail("degree or order out of range: " + strLine);
        rows.push_back(row);
        model.m_nMax = std::max(model.m_nMax, row.n);
    }
    if (!bClosed) Fail("no closing row of 9s");
    if (model.m_nMax < 1) Fail("no coefficients");
    const int nCount = CIgrfSnapshot::Index(model.m_nMax, model.m_nMax) + 1;
    model.m_epochs = {dEpoch, dEpoch + kCofSpanYears};
    model.m_g.assign(2, std::vector<double>(nCount, 0.0));
    model.m_h.assign(2, std::vector<double>(nCount, 0.0));
    std::vector<char> seen(nCount, 0);
    for (const Row& row : rows) {
        const int nIdx = CIgrfSnapshot::Index(row.n, row.m);
        if (seen[nIdx]) Fail("coefficient given twice: n " + std::to_string(row.n) + " m " + std::to_string(row.m));
        seen[nIdx] = 1;
        model.m_g[0][nIdx] = row.g;
        model.m_h[0][nIdx] = row.h;
        model.m_g[1][nIdx] = row.g + kCofSpanYears * row.dg;
        model.m_h[1][nIdx] = row.h + kCofSpanYears * row.dh;
    }
    // Every (n, m) for n = 1..N, m = 0..n.
    if (static_cast<int>(rows.size()) != nCount - 1) Fail("incomplete coefficient table");
    return model;
}

CIgrfSnapshot CIgrfModel::At(double dT) const {
    if (!(dT >= m_epochs.front() && dT <= m_epochs.back())) throw std::out_of_range("model: date outside its span");
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
    s.Prepare();
    return s;
}

void CIgrfSnapshot::Prepare() {
    const std::size_t uCount = m_g.size();
    m_a.assign(uCount, 0.0);
    m_b.assign(uCount, 0.0);
    m_c.assign(uCount, 0.0);
    for (int n = 1; n <= m_nMax; ++n) {
        m_c[Index(n, n)] = n == 1 ? 1.0 : std::sqrt((2.0 * n - 1.0) / (2.0 * n));
        for (int m = 0; m < n; ++m) {
            const double dRoot = std::sqrt(double(n * n - m * m));
            m_a[Index(n, m)] = (2.0 * n - 1.0) / dRoot;
            if (m < n - 1) m_b[Index(n, m)] = std::sqrt(double((n - 1) * (n - 1) - m * m)) / dRoot;
        }
    }
    m_nRateMax = 0;
    for (int n = 1; n <= m_nMax; ++n)
        for (int m = 0; m <= n; ++m)
            if (m_gRate[Index(n, m)] != 0.0 || m_hRate[Index(n, m)] != 0.0) m_nRateMax = n;
    // Order by order for the column sums; P(0, 0) = 1 heads order 0.
    m_fieldTerms.clear();
    m_rateTerms.clear();
    m_factors.clear();
    m_columnStart.assign(m_nMax + 2, 0);
    m_columnRateStart.assign(m_nMax + 2, 0);
    m_sectoral.assign(m_nMax + 1, 1.0);
    const auto terms = [&](const std::vector<double>& g, const std::vector<double>& h, int n, int m) {
        const int i = Index(n, m);
        Coefficients c{{g[i], h[i]}, {n * g[i], n * h[i]}, {0.0, 0.0}};
        if (n < m_nMax) {
            const int iNext = Index(n + 1, m);
            const double e = std::sqrt(double((n + 1) * (n + 1) - m * m));
            c.gehe = IgrfPair{e * g[iNext], e * h[iNext]};
        }
        return c;
    };
    for (int m = 0; m <= m_nMax; ++m) {
        if (m >= 1) m_sectoral[m] = m_sectoral[m - 1] * m_c[Index(m, m)];
        m_columnStart[m] = static_cast<int>(m_fieldTerms.size());
        m_columnRateStart[m] = static_cast<int>(m_rateTerms.size());
        for (int n = m; n <= m_nMax; ++n) {
            m_fieldTerms.push_back(terms(m_g, m_h, n, m));
            m_factors.push_back(n < m_nMax ? Factors{m_a[Index(n + 1, m)], m_b[Index(n + 1, m)]} : Factors{0.0, 0.0});
            if (n <= m_nRateMax) m_rateTerms.push_back(terms(m_gRate, m_hRate, n, m));
        }
    }
    m_columnStart[m_nMax + 1] = static_cast<int>(m_fieldTerms.size());
    m_columnRateStart[m_nMax + 1] = static_cast<int>(m_rateTerms.size());
}

IgrfVector CIgrfSnapshot::Field(double dLatitudeDeg, double dLongitudeDeg, double dHeightKm) const {
    const Geocentric geo = ToGeocentric(dLatitudeDeg, dHeightKm);
    const double cos_t = geo.dCosTheta, sin_t = geo.dSinTheta;
    // Bphi divides by sin(theta); keep the poles finite.
    const double sin_t_safe = sin_t < kSinThetaFloor ? kSinThetaFloor : sin_t;

    // Schmidt semi-normalised P(n, m)(cos theta) and dP/dtheta.
    const int nSize = m_nMax + 1;
    std::vector<std::vector<double>> P(nSize, std::vector<double>(nSize, 0.0)), dP = P;
    P[0][0] = 1.0;
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
    std::vector<double> cos_ml(nSize), sin_ml(nSize);
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


namespace {

// The sums of one order m over the degrees n = m..N, for the field or its
// rate, with q(n) = (a/r)^n P(n, m) / sin(theta)^m: s0 = sum g q, t0 = sum h q,
// s3 and t3 the same with n g and n h, s4 and t4 with e g and e h of degree
// n + 1 (e = sqrt((n + 1)^2 - m^2)); s2 and t2, order 0 only, with
// dq / dcos(theta) in place of q.
struct OrderSums {
    // (s0, t0), (s3, t3), (s4, t4) as lanes 0 and 1 of the coefficients' pairs.
    IgrfPair s0t0 = {0.0, 0.0}, s3t3 = {0.0, 0.0}, s4t4 = {0.0, 0.0};
    double s2 = 0.0;
    template <typename Terms>
    void Add(const Terms& c, double q) {
        s0t0 += c.gh * q;
        s3t3 += c.gnhn * q;
        s4t4 += c.gehe * q;
    }
};

// The orders' sums put into the three components by Horner's scheme in
// u = sin(theta), from the highest order down; all without the common
// factor (a/r)^2.
struct ComponentsByHorner {
    double dRadial = 0.0;  // sum u^m (cos m.l (s0 + s3) + sin m.l (t0 + t3))
    double dNorth = 0.0;   // sum over m >= 1 of u^(m-1) (cos(theta) C(s3, t3) - (a/r) C(s4, t4))
    double dEast = 0.0;    // sum over m >= 1 of u^(m-1) m (sin m.l s0 - cos m.l t0)
    double dNorth0 = 0.0;  // order 0's part of the north component
    void Add(int m, double dU, double dT, double dRho, double dCosMl, double dSinMl, const OrderSums& s) {
        const double s0 = s.s0t0[0], t0 = s.s0t0[1], s3 = s.s3t3[0], t3 = s.s3t3[1];
        const double s4 = s.s4t4[0], t4 = s.s4t4[1];
        dRadial = dRadial * dU + (dCosMl * (s0 + s3) + dSinMl * (t0 + t3));
        if (m >= 1) {
            // dP/dtheta = (n cos(theta) P(n, m) - sqrt(n^2 - m^2) P(n - 1, m)) / sin(theta).
            dNorth = dNorth * dU + (dT * (dCosMl * s3 + dSinMl * t3) - dRho * (dCosMl * s4 + dSinMl * t4));
            dEast = dEast * dU + m * (dSinMl * s0 - dCosMl * t0);
        } else {
            // Order 0 by dP/dtheta = -sin(theta) dP/dcos(theta): nothing divided near the poles.
            dNorth0 = -dU * s.s2;
        }
    }
    // Geocentric north (-B_theta), east (B_phi), down (-B_r).
    void Finish(double dRho2, double* pdNorth, double* pdEast, double* pdDown) const {
        *pdNorth = dRho2 * (dNorth + dNorth0);
        *pdEast = dRho2 * dEast;
        *pdDown = -dRho2 * dRadial;
    }
};

}  // namespace

void CIgrfSnapshot::FieldAndRate(double dLatitudeDeg, double dLongitudeDeg, double dHeightKm, IgrfVector* pField,
                                 IgrfVector* pRate) const {
    // Holmes, S. A. and Featherstone, W. E. (2002), "A unified approach to the
    // Clenshaw summation and the recursive computation of very high degree and
    // order normalised associated Legendre functions", Journal of Geodesy 76,
    // 279-299: the modified forward column method. The powers sin(theta)^m
    // are kept out of the column recurrences, which then run on
    // P(n, m) / sin(theta)^m (no underflow at any degree here), scaled by
    // (a/r)^n, and are put back by Horner's scheme over the orders. The
    // derivative in theta is their equation for dP/dtheta from P(n, m) and
    // P(n - 1, m) (order 0 by its own recurrence). The same sums as Field;
    // the east component's 1 / sin(theta) is absorbed by the powers.
    const Geocentric geo = ToGeocentric(dLatitudeDeg, dHeightKm);
    const double dT = geo.dCosTheta, dU = geo.dSinTheta;
    const double dRho = kReferenceRadius / geo.dRadius, dRhoT = dRho * dT, dRho2 = dRho * dRho;

    const double dLambda = dLongitudeDeg * kDegToRad;
    const double dCos1 = std::cos(dLambda), dSin1 = std::sin(dLambda);
    double cosMl[kIgrfMaxDegree + 1], sinMl[kIgrfMaxDegree + 1], rhoPow[kIgrfMaxDegree + 1];
    cosMl[0] = 1.0;
    sinMl[0] = 0.0;
    rhoPow[0] = 1.0;
    for (int m = 1; m <= m_nMax; ++m) {
        cosMl[m] = cosMl[m - 1] * dCos1 - sinMl[m - 1] * dSin1;
        sinMl[m] = sinMl[m - 1] * dCos1 + cosMl[m - 1] * dSin1;
        rhoPow[m] = rhoPow[m - 1] * dRho;
    }

    ComponentsByHorner field, rate;
    const OrderSums noRate;
    for (int m = m_nMax; m >= 0; --m) {
        if (m - 1 > m_nRateMax && m >= 2) {
            // Two orders without rates together, m and m - 1: their
            // recurrences do not depend on each other, so each waits less on
            // its own previous step. The same operations, in the same order,
            // as the loop below.
            const Coefficients* pFieldA = m_fieldTerms.data() + m_columnStart[m];
            const Coefficients* pFieldB = m_fieldTerms.data() + m_columnStart[m - 1];
            const Factors* pFactorsA = m_factors.data() + m_columnStart[m];
            const Factors* pFactorsB = m_factors.data() + m_columnStart[m - 1];
            const int nTerms = m_nMax - m + 1;  // order m - 1 has one more
            OrderSums sA, sB;
            double qA = rhoPow[m] * m_sectoral[m], qPreviousA = 0.0;
            double qB = rhoPow[m - 1] * m_sectoral[m - 1], qPreviousB = 0.0;
            for (int k = 0; k < nTerms; ++k) {
                sA.Add(pFieldA[k], qA);
                sB.Add(pFieldB[k], qB);
                const double qNextA = pFactorsA[k].a * dRhoT * qA - pFactorsA[k].b * dRho2 * qPreviousA;
                const double qNextB = pFactorsB[k].a * dRhoT * qB - pFactorsB[k].b * dRho2 * qPreviousB;
                qPreviousA = qA, qA = qNextA;
                qPreviousB = qB, qB = qNextB;
            }
            sB.Add(pFieldB[nTerms], qB);
            field.Add(m, dU, dT, dRho, cosMl[m], sinMl[m], sA);
            rate.Add(m, dU, dT, dRho, cosMl[m], sinMl[m], noRate);
            --m;
            field.Add(m, dU, dT, dRho, cosMl[m], sinMl[m], sB);
            rate.Add(m, dU, dT, dRho, cosMl[m], sinMl[m], noRate);
            continue;
        }
        const Coefficients* pField = m_fieldTerms.data() + m_columnStart[m];
        const Coefficients* pRate = m_rateTerms.data() + m_columnRateStart[m];
        const Factors* pFactors = m_factors.data() + m_columnStart[m];
        const int nTerms = m_nMax - m + 1, nRateTerms = std::min(nTerms, std::max(0, m_nRateMax - m + 1));
        OrderSums s, r;
        // q(m), then q(n + 1) = a (a/r) cos(theta) q(n) - b (a/r)^2 q(n - 1).
        double q = rhoPow[m] * m_sectoral[m], qPrevious = 0.0;
        if (m == 0) {
            // With the derivative dq: d(n + 1) = a (a/r) (q(n) + cos(theta) d(n)) - b (a/r)^2 d(n - 1).
            double dq = 0.0, dqPrevious = 0.0;
            for (int n = 0; n < nTerms; ++n) {
                s.Add(pField[n], q);
                s.s2 += pField[n].gh[0] * dq;
                if (n < nRateTerms) {
                    r.Add(pRate[n], q);
                    r.s2 += pRate[n].gh[0] * dq;
                }
                const double dA = pFactors[n].a * dRho, dB = pFactors[n].b * dRho2;
                const double dqNext = dA * (q + dT * dq) - dB * dqPrevious;
                const double qNext = dA * dT * q - dB * qPrevious;
                dqPrevious = dq, dq = dqNext;
                qPrevious = q, q = qNext;
            }
        } else {
            // The degrees with rates first, then the rest (most of WMMHR's).
            int k = 0;
            for (; k < nRateTerms; ++k) {
                s.Add(pField[k], q);
                r.Add(pRate[k], q);
                const double qNext = pFactors[k].a * dRhoT * q - pFactors[k].b * dRho2 * qPrevious;
                qPrevious = q, q = qNext;
            }
            for (; k < nTerms; ++k) {
                s.Add(pField[k], q);
                const double qNext = pFactors[k].a * dRhoT * q - pFactors[k].b * dRho2 * qPrevious;
                qPrevious = q, q = qNext;
            }
        }
        field.Add(m, dU, dT, dRho, cosMl[m], sinMl[m], s);
        rate.Add(m, dU, dT, dRho, cosMl[m], sinMl[m], r);
    }
    double dNorth, dEast, dDown;
    field.Finish(dRho2, &dNorth, &dEast, &dDown);
    *pField = ToGeodetic(dNorth, dEast, dDown, geo);
    rate.Finish(dRho2, &dNorth, &dEast, &dDown);
    *pRate = ToGeodetic(dNorth, dEast, dDown, geo);
}
