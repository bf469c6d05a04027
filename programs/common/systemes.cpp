#include "systemes.h"

#include <cstddef>

namespace geokern_conv {

// EPSG codes: the NTF projections are the "NTF (Paris) / Lambert ..." systems
// (27561-27564 the zones, 27571-27574 the carto variants, 27572 zone II being
// Lambert II etendu); NTF geographic is EPSG:4275 (degrees from Greenwich, as
// at the engine's boundary, not 4807 in grads from Paris).
const Systeme SYSTEMES[12] = {
    {NTFL1C, "NTFL1C", "NTF Lambert I carto", false, Datum::NTF, 27571},
    {NTFL1, "NTFL1", "NTF Lambert I", false, Datum::NTF, 27561},
    {NTFL2, "NTFL2", "NTF Lambert II", false, Datum::NTF, 27562},
    {NTFL3C, "NTFL3C", "NTF Lambert III carto", false, Datum::NTF, 27573},
    {NTFL3, "NTFL3", "NTF Lambert III", false, Datum::NTF, 27563},
    {NTFL4C, "NTFL4C", "NTF Lambert IV carto", false, Datum::NTF, 27574},
    {NTFL4, "NTFL4", "NTF Lambert IV", false, Datum::NTF, 27564},
    {NTFL2E, "NTFL2E", "NTF Lambert II étendu", false, Datum::NTF, 27572},
    {NTFGG, "NTFGG", "NTF géographique", true, Datum::NTF, 4275},
    {RGF93L93, "RGF93L93", "RGF93 Lambert 93", false, Datum::RGF93, 2154},
    {WGS84GG, "WGS84GG", "WGS84 géographique", true, Datum::WGS84, 4326},
    {RGF93GG, "RGF93GG", "RGF93 géographique", true, Datum::RGF93, 4171},
};

namespace {

char Majuscule(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool MemeNom(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Majuscule(a[i]) != Majuscule(b[i])) return false;
    return true;
}

}  // namespace

const Systeme* SystemeDeCode(int code) {
    return code >= 1 && code <= 12 ? &SYSTEMES[code - 1] : nullptr;
}

const Systeme* TrouveSysteme(std::string_view nom) {
    for (const Systeme& s : SYSTEMES)
        if (MemeNom(nom, s.nom)) return &s;
    // A code: one or two digits, no sign, no leading zero beyond "0N".
    if (nom.empty() || nom.size() > 2) return nullptr;
    int code = 0;
    for (char c : nom) {
        if (c < '0' || c > '9') return nullptr;
        code = code * 10 + (c - '0');
    }
    return SystemeDeCode(code);
}

bool RouteParLaGrille(const Systeme& source, const Systeme& cible) {
    return (source.datum == Datum::NTF && cible.datum == Datum::RGF93) ||
           (source.datum == Datum::RGF93 && cible.datum == Datum::NTF);
}

}  // namespace geokern_conv
