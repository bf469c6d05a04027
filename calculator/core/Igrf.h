// The main-field models, evaluated from their published coefficient files:
// IAGA's .shc layout (the International Geomagnetic Reference Field) and
// NOAA's .COF layout (the World Magnetic Models, WMM and WMMHR). Spherical
// harmonic synthesis of any degree with Schmidt semi-normalised associated
// Legendre functions, positions geodetic on the WGS84 ellipsoid, field
// components in the local geodetic frame. This unit owns the evaluator and the
// time convention; the table of models (names, files, spans) is ModelTable.h.
#ifndef NORVANE_IGRF_H
#define NORVANE_IGRF_H

#include <istream>
#include <string>
#include <vector>

struct ModelDescription;

// Field vector in nanotesla (or nanotesla per year for its rate): x north,
// y east, z down, in the geodetic frame.
struct IgrfVector {
    double x;
    double y;
    double z;
};

// Declination in degrees, east positive: the angle from true north to the
// horizontal field.
double IgrfDeclination(const IgrfVector& field);
// Its rate in degrees per year from the field and the field's rate:
// dD/dt = (x dy/dt - y dx/dt) / (x^2 + y^2).
double IgrfDeclinationRate(const IgrfVector& field, const IgrfVector& rate);

// The models' time for a calendar date: year + (day of year - 1) / days in
// that year (January 1st is the year itself). Throws std::out_of_range for a
// day that does not exist.
double IgrfDecimalYear(int nYear, int nMonth, int nDay);

// The largest degree a coefficient file may have.
constexpr int kIgrfMaxDegree = 200;

// Two doubles side by side (a coefficient g beside its h, and their sums):
// each lane's products and sums are the scalar ones, bit for bit, and the
// compiler puts both lanes in one SSE2 (or WebAssembly SIMD) instruction where
// it has one. Aligned as a double only: the 32-bit Windows stack keeps no
// 16-byte alignment, and the pairs are read with unaligned loads.
typedef double IgrfPair __attribute__((vector_size(16), aligned(8)));

// The Gauss coefficients at one instant and their rate there, with everything
// the synthesis needs that does not depend on the place: the recurrence
// factors of the Legendre functions. Build one per date, then ask it for as
// many places as needed.
class CIgrfSnapshot {
public:
    // Field at a geodetic position (degrees; height in km above the
    // ellipsoid), by the plain formulas: every P(n, m) by the standard
    // recurrences, then the double sum.
    IgrfVector Field(double dLatitudeDeg, double dLongitudeDeg, double dHeightKm) const;
    // The field and its rate at once, by the column sums of Holmes and
    // Featherstone (see Igrf.cpp), which stay accurate at high degree: the
    // same numbers as Field to rounding, many times faster.
    void FieldAndRate(double dLatitudeDeg, double dLongitudeDeg, double dHeightKm, IgrfVector* pField,
                      IgrfVector* pRate) const;
    int MaxDegree() const { return m_nMax; }
    // The highest degree with a non-zero rate (WMMHR: 15).
    int MaxRateDegree() const { return m_nRateMax; }
    // g(n, m) and h(n, m) in nT, and their rates in nT per year; h(n, 0) is 0.
    double G(int n, int m) const { return m_g[Index(n, m)]; }
    double H(int n, int m) const { return m_h[Index(n, m)]; }
    double GRate(int n, int m) const { return m_gRate[Index(n, m)]; }
    double HRate(int n, int m) const { return m_hRate[Index(n, m)]; }

    static int Index(int n, int m) { return n * (n + 1) / 2 + m; }

private:
    friend class CIgrfModel;
    void Prepare();
    int m_nMax = 0;
    int m_nRateMax = 0;
    std::vector<double> m_g, m_h, m_gRate, m_hRate;
    // Recurrence factors, by Index(n, m): P(n, m) = a cos(theta) P(n-1, m) -
    // b P(n-2, m) for m < n, and P(n, n) = c sin(theta) P(n-1, n-1).
    std::vector<double> m_a, m_b, m_c;
    // The same, order by order (m = 0..N, then n = m..N within an order), for
    // the column sums: for each term g, h, n g, n h, and e g, e h of the next
    // degree (e = sqrt((n + 1)^2 - m^2)); the rates' likewise for n up to
    // m_nRateMax; the factors a and b that lead to the next degree; and
    // m_sectoral[m] = P(m, m) / sin(theta)^m.
    struct Coefficients {
        IgrfPair gh, gnhn, gehe;  // (g, h), (n g, n h), (e g, e h)
    };
    struct Factors {
        double a, b;
    };
    std::vector<Coefficients> m_fieldTerms, m_rateTerms;
    std::vector<Factors> m_factors;
    std::vector<int> m_columnStart, m_columnRateStart;
    std::vector<double> m_sectoral;
};

// A whole coefficient file: the coefficients at each epoch, linear in time
// between epochs.
class CIgrfModel {
public:
    // Throws std::runtime_error with the reason when the file cannot be read or
    // is neither a well-formed piecewise-linear .shc file nor a .COF file.
    static CIgrfModel Load(const std::string& strPath);
    static CIgrfModel Parse(std::istream& in);
    // The file of a row of ModelTable.h, which the model then carries.
    static CIgrfModel Load(const std::string& strPath, const ModelDescription& description) {
        CIgrfModel model = Load(strPath);
        model.m_pDescription = &description;
        return model;
    }
    // Its row of ModelTable.h, or nullptr for a file loaded without one.
    const ModelDescription* Description() const { return m_pDescription; }

    double FirstEpoch() const { return m_epochs.front(); }
    double LastEpoch() const { return m_epochs.back(); }
    const std::vector<double>& Epochs() const { return m_epochs; }
    int MaxDegree() const { return m_nMax; }
    // The name in the file's header (a .COF file's second field), or "".
    const std::string& Name() const { return m_strName; }

    // Coefficients at a decimal year, with the rate of the segment the instant
    // belongs to; an epoch starts its segment (the last epoch ends the last
    // one). Throws std::out_of_range outside the model's span (no
    // extrapolation).
    CIgrfSnapshot At(double dDecimalYear) const;
    IgrfVector Field(double dLatitudeDeg, double dLongitudeDeg, double dHeightKm, double dDecimalYear) const {
        return At(dDecimalYear).Field(dLatitudeDeg, dLongitudeDeg, dHeightKm);
    }

private:
    static CIgrfModel ParseCof(std::istream& in, const std::string& strHeader);
    int m_nMax = 0;
    const ModelDescription* m_pDescription = nullptr;
    std::string m_strName;
    std::vector<double> m_epochs;
    // Per epoch, g and h in CIgrfSnapshot::Index order.
    std::vector<std::vector<double>> m_g, m_h;
};

#endif
