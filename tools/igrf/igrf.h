// IGRF: the International Geomagnetic Reference Field, evaluated from its
// published coefficient file (.shc). Spherical harmonic synthesis with Schmidt
// semi-normalised associated Legendre functions; positions are geodetic on the
// WGS84 ellipsoid, field components in the local geodetic frame.
#pragma once

#include <istream>
#include <string>
#include <vector>

namespace igrf {

// Field vector in nanotesla: x north, y east, z down (geodetic frame).
struct FieldVector {
    double x;
    double y;
    double z;
};

// Declination in degrees, east positive: the angle from true north to the
// horizontal field.
double declination_deg(const FieldVector& b);

// The model's time argument for a calendar date: year + (day of year - 1) /
// days in that year (January 1st is the year itself).
double decimal_year(int year, int month, int day);

// The Gauss coefficients at one instant, ready for synthesis.
class Snapshot {
public:
    // Field at a geodetic position (degrees; height in km above the ellipsoid).
    FieldVector field(double latitude_deg, double longitude_deg, double height_km) const;
    int max_degree() const { return nmax_; }
    // g(n, m) and h(n, m) in nT; h(n, 0) is 0.
    double g(int n, int m) const { return g_[index(n, m)]; }
    double h(int n, int m) const { return h_[index(n, m)]; }

private:
    friend class Model;
    static int index(int n, int m) { return n * (n + 1) / 2 + m; }
    int nmax_ = 0;
    std::vector<double> g_;
    std::vector<double> h_;
};

// A whole coefficient file: the coefficients at each epoch, linear in time
// between epochs (the file's last column is the predicted field at the end of
// the span it covers).
class Model {
public:
    // Throws std::runtime_error with the reason when the file cannot be read or
    // is not a well-formed piecewise-linear .shc file.
    static Model load(const std::string& path);
    static Model parse(std::istream& in);

    double first_epoch() const { return epochs_.front(); }
    double last_epoch() const { return epochs_.back(); }
    const std::vector<double>& epochs() const { return epochs_; }
    int max_degree() const { return nmax_; }

    // Coefficients at a decimal year; throws std::out_of_range outside the
    // model's span (the model is not extrapolated).
    Snapshot at(double decimal_year) const;
    FieldVector field(double latitude_deg, double longitude_deg, double height_km,
                      double decimal_year) const {
        return at(decimal_year).field(latitude_deg, longitude_deg, height_km);
    }

private:
    int nmax_ = 0;
    std::vector<double> epochs_;
    // Per epoch, g and h in Snapshot index order.
    std::vector<std::vector<double>> g_;
    std::vector<std::vector<double>> h_;
};

}  // namespace igrf
