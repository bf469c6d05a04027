// The twelve systems of the engine's catalogue as users name them on a
// command line: the enumeration's own names, case-insensitive, or the codes.
#ifndef PROGRAMS_SYSTEMNAMES_H
#define PROGRAMS_SYSTEMNAMES_H

#include <string_view>

#include "geokern2.h"

struct SystemName {
    Liste_SysCoord eCode;
    const char* pszName;   // the enumerator's name, e.g. "RGF93L93"
    const char* pszLabel;  // French, Windows-1252
    bool bGeographic;      // degrees (longitude, latitude); otherwise metres (easting, northing)
    int nEpsg;             // the EPSG code of the same system, for reference
};

constexpr int kSystemCount = 12;
extern const SystemName kSystemNames[kSystemCount];

// The system named by its enumerator name (any case) or its code "1" to "12";
// nullptr for anything else.
const SystemName* FindSystem(std::string_view text);

// The entry of a catalogue code.
const SystemName& SystemOf(Liste_SysCoord eCode);

#endif
