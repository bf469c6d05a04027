// The systems of the engine's catalogue as a user names them: by catalogue
// name (any case), by code or by "EPSG:NNNN". Every fact comes from the
// engine's own table (DescriptionSysCoord, CodeSysCoord); nothing is kept here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "geokern2.h"

namespace geokern_conv {

struct Systeme {
    Liste_SysCoord code;
    const char* nom;          // the catalogue name, as in geokern2.h
    const char* description;  // French, UTF-8
    bool geographique;        // angles (longitude, latitude) rather than metres (easting, northing)
    int datum;                // 0 NTF, 1 WGS84, 2 RGF93, as in the engine's records
    int epsg;                 // the EPSG code of the same system
    const char* unites;       // French, UTF-8: "degrés", "grades", "mètres"
    double degresParUnite;    // a geographic system's unit in degrees (0.9 for grads), 1 otherwise
};

// The catalogue in code order, codes 1 to SYSTEMES.size().
extern const std::vector<Systeme>& SYSTEMES;

// A system named by its catalogue name (any case), its code or "EPSG:NNNN";
// nullptr for anything else.
const Systeme* TrouveSysteme(std::string_view nom);

// The systems' own record; nullptr outside the catalogue.
const Systeme* SystemeDeCode(int code);

// What a system may be named by, for messages: "un nom du catalogue, un code
// de 1 à N ou EPSG:NNNN", UTF-8.
std::string FormesDuNom();

// The name of an engine's datum: "NTF", "WGS84", "RGF93"; "" for another value.
const char* NomDuDatum(int datum);

// The route goes through the datum-shift grid GR3DF97A: NTF <-> RGF93. The
// engine fails outside the grid on these routes only.
bool RouteParLaGrille(const Systeme& source, const Systeme& cible);

}  // namespace geokern_conv
