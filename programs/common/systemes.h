// The twelve systems of the catalogue as a user names them on the command
// line: catalogue name, code, description, unit and the EPSG code of the same
// system, given for reference.
#pragma once

#include <string_view>

#include "geokern2.h"

namespace geokern_conv {

enum class Datum { NTF, WGS84, RGF93 };

struct Systeme {
    Liste_SysCoord code;
    const char* nom;          // the catalogue name, as in geokern2.h
    const char* description;  // French, UTF-8
    bool geographique;        // degrees (longitude, latitude) rather than metres (easting, northing)
    Datum datum;
    int epsg;                 // the EPSG code of the same system, for reference
};

// The catalogue in code order, codes 1 to 12.
extern const Systeme SYSTEMES[12];

// A system named by its catalogue name (any case) or its code 1 to 12;
// nullptr for anything else.
const Systeme* TrouveSysteme(std::string_view nom);

// The systems' own record; nullptr outside the catalogue.
const Systeme* SystemeDeCode(int code);

// The route goes through the datum-shift grid GR3DF97A: NTF <-> RGF93. The
// engine fails outside the grid on these routes only.
bool RouteParLaGrille(const Systeme& source, const Systeme& cible);

}  // namespace geokern_conv
