// Points for the conversion tests: a lattice over mainland France and Corsica,
// written as text in each system of the catalogue, as a user's file holds them.
#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "geokern2.h"
#include "systemes.h"

// The lattice's points (WGS84 longitude, latitude), with a few outside the
// datum-shift grid (east of 10 degrees E) among them.
inline std::vector<COORDONNEES_TYPE_NC> PointsFrance() {
    std::vector<COORDONNEES_TYPE_NC> points;
    for (double lon = -4.75; lon < 9.6; lon += 1.45)
        for (double lat = 41.4; lat < 51.1; lat += 1.35) points.push_back({lon, lat});
    points.push_back({9.45, 42.55});  // Corsica
    points.push_back({12.0, 45.0});   // outside the grid
    points.push_back({20.0, 46.0});   // outside the grid
    return points;
}

// The point's two numbers as text in the system (from WGS84 through the
// engine, which needs no grid for that): 9 decimals for degrees, 4 for metres.
inline std::pair<std::string, std::string> TexteDans(const geokern_conv::Systeme& s, COORDONNEES_TYPE_NC wgs84) {
    const COORDONNEES_TYPE_NC p = SysCoord2SysCoord(wgs84, WGS84GG, s.code);
    char x[64], y[64];
    std::snprintf(x, sizeof x, s.geographique ? "%.9f" : "%.4f", p.x_lambda);
    std::snprintf(y, sizeof y, s.geographique ? "%.9f" : "%.4f", p.y_phi);
    return {x, y};
}

// The engine's text interface on "x@y": the two result numbers, or two empty
// texts when it fails.
inline std::pair<std::string, std::string> TexteMoteur(const std::string& x, const std::string& y, Liste_SysCoord de,
                                                       Liste_SysCoord vers) {
    const std::string resultat = CSysCoord2SysCoord((x + "@" + y).c_str(), de, vers);
    const std::size_t arobase = resultat.find('@');
    if (arobase == std::string::npos) return {"", ""};
    return {resultat.substr(0, arobase), resultat.substr(arobase + 1)};
}
