// Which points the programs, the Python package and the page hand to the
// engine: one rule for all of them. The engine itself answers for any pair of
// numbers (a latitude of 91 degrees folds over the pole, a projected point of
// 1e308 m lands somewhere); a user's 91 or 1e308 is a mistake to be told.
#ifndef PROGRAMS_POINTDOMAIN_H
#define PROGRAMS_POINTDOMAIN_H

namespace programs {

// Geographic points: longitude and latitude in degrees, within these bounds
// (inclusive). Projected points: easting and northing in metres, within this
// distance of the origin of the system's coordinates (0 m, 0 m), which every
// point of metropolitan France is, whatever the system (8,300 km at most,
// Lambert 93 in the far north).
constexpr double kMaxLatitudeDegrees = 90.0;
constexpr double kMaxLongitudeDegrees = 180.0;
constexpr double kMaxProjectedMetres = 1.0e7;

enum class PointVerdict { kAccepted, kLatitudeBeyond90, kLongitudeBeyond180, kFarFromOrigin, kNotFinite };

// The verdict on a point (x, y) in the units of a system: geographic
// (longitude, latitude in degrees) or projected (easting, northing in metres).
PointVerdict CheckPoint(bool bGeographic, double x, double y);

// Why a point is refused, in French (UTF-8); nullptr for kAccepted.
const char* PointVerdictText(PointVerdict eVerdict);

}  // namespace programs

#endif
