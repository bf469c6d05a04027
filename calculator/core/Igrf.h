// The International Geomagnetic Reference Field, evaluated from its published
// coefficient file (.shc): spherical harmonic synthesis with Schmidt
// semi-normalised associated Legendre functions, positions geodetic on the
// WGS84 ellipsoid, field components in the local geodetic frame. This unit owns
// the model: its file, its time convention and the declination it gives. The
// calculator's second source, the grid generator and the tests all use it.
#ifndef NORVANE_IGRF_H
#define NORVANE_IGRF_H

#include <istream>
#include <string>
#include <vector>

// The coefficient file looked for beside the grids: IGRF, 14th generation.
constexpr char kszModelFile[] = "IGRF14.shc";

// The span of dates the model answers for, both included: its first and last
// epochs (after 2025 the file's last column is a prediction).
constexpr int kModelFirstYear = 1900, kModelFirstMonth = 1, kModelFirstDay = 1;
constexpr int kModelLastYear = 2030, kModelLastMonth = 1, kModelLastDay = 1;

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

// The model's time for a calendar date: year + (day of year - 1) / days in that
// year (January 1st is the year itself). Throws std::out_of_range for a day
// that does not exist.
double IgrfDecimalYear(int nYear, int nMonth, int nDay);

// The Gauss coefficients at one instant and their rate there, with everything
// the synthesis needs that does not depend on the place: the recurrence
// factors of the Legendre functions. Build one per date, then ask it for as
// many places as needed.
class CIgrfSnapshot {
public:
    // Field at a geodetic position (degrees; height in km above the
    // ellipsoid), by the plain formulas.
    IgrfVector Field(double dLatitudeDeg, double dLongitudeDeg, double dHeightKm) const;
    // The field and its rate at once, with the factors computed for the date
    // and the longitude's multiples by recurrence: the same numbers as Field
    // to rounding, several times faster.
    void FieldAndRate(double dLatitudeDeg, double dLongitudeDeg, double dHeightKm, IgrfVector* pField,
                      IgrfVector* pRate) const;
    int MaxDegree() const { return m_nMax; }
    // g(n, m) and h(n, m) in nT, and their rates in nT per year; h(n, 0) is 0.
    double G(int n, int m) const { return m_g[Index(n, m)]; }
    double H(int n, int m) const { return m_h[Index(n, m)]; }
    double GRate(int n, int m) const { return m_gRate[Index(n, m)]; }
    double HRate(int n, int m) const { return m_hRate[Index(n, m)]; }

    static int Index(int n, int m) { return n * (n + 1) / 2 + m; }

private:
    friend class CIgrfModel;
    int m_nMax = 0;
    std::vector<double> m_g, m_h, m_gRate, m_hRate;
    // Recurrence factors, by Index(n, m): P(n, m) = a cos(theta) P(n-1, m) -
    // b P(n-2, m) for m < n, and P(n, n) = c sin(theta) P(n-1, n-1).
    std::vector<double> m_a, m_b, m_c;
};

// A whole coefficient file: the coefficients at each epoch, linear in time
// between epochs.
class CIgrfModel {
public:
    // Throws std::runtime_error with the reason when the file cannot be read or
    // is not a well-formed piecewise-linear .shc file.
    static CIgrfModel Load(const std::string& strPath);
    static CIgrfModel Parse(std::istream& in);

    double FirstEpoch() const { return m_epochs.front(); }
    double LastEpoch() const { return m_epochs.back(); }
    const std::vector<double>& Epochs() const { return m_epochs; }
    int MaxDegree() const { return m_nMax; }

    // Coefficients at a decimal year, with the rate of the segment the instant
    // belongs to; an epoch starts its segment (the last epoch ends the last
    // one). Throws std::out_of_range outside the model's span (no
    // extrapolation).
    CIgrfSnapshot At(double dDecimalYear) const;
    IgrfVector Field(double dLatitudeDeg, double dLongitudeDeg, double dHeightKm, double dDecimalYear) const {
        return At(dDecimalYear).Field(dLatitudeDeg, dLongitudeDeg, dHeightKm);
    }

private:
    int m_nMax = 0;
    std::vector<double> m_epochs;
    // Per epoch, g and h in CIgrfSnapshot::Index order.
    std::vector<std::vector<double>> m_g, m_h;
};

#endif
