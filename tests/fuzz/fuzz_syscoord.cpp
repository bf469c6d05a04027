// SysCoord2SysCoord and the lower-level exports on arbitrary doubles and system
// codes. Input: code in, code out (one signed byte each), then up to four
// doubles; missing bytes read as zero. A longer input also supplies two whole
// system records of its own for the lower-level exports, which take any record
// an outside caller fills. Every call must return, and the results must keep
// the engine's conventions.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "interne.h"

namespace {

void Verifie(bool condition) {
    if (!condition) std::abort();
}

bool MemesOctets(const COORDONNEES_TYPE_NC& a, const COORDONNEES_TYPE_NC& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    unsigned char octets[2 + 4 * sizeof(double)] = {};
    std::memcpy(octets, data, size < sizeof octets ? size : sizeof octets);
    const int codeIn = static_cast<signed char>(octets[0]);
    const int codeOut = static_cast<signed char>(octets[1]);
    double v[4];
    std::memcpy(v, octets + 2, sizeof v);
    const Liste_SysCoord in = static_cast<Liste_SysCoord>(codeIn);
    const Liste_SysCoord out = static_cast<Liste_SysCoord>(codeOut);
    const bool inValide = DescriptionSysCoord(in) != nullptr, outValide = DescriptionSysCoord(out) != nullptr;

    const COORDONNEES_TYPE_NC point = {v[0], v[1]};
    const COORDONNEES_TYPE_NC resultat = SysCoord2SysCoord(point, in, out);
    if (codeIn == codeOut)
        Verifie(MemesOctets(resultat, point));  // returned untouched, whatever the code
    else if (!inValide || !outValide)
        Verifie(resultat.x_lambda == -9999.0 && resultat.y_phi == -9999.0);

    // The exports that take records, with the catalogue's records of the two codes.
    const PARAMETRES_SYSTEME_COORDONNNEES zoneIn = ChargeConstantes_SysCoord(in);
    const PARAMETRES_SYSTEME_COORDONNNEES zoneOut = ChargeConstantes_SysCoord(out);
    const COORDONNEES_GEOGRAPHIQUES geo = {v[2], v[3]};
    const COORDONNEES_GEOGRAPHIQUES change = ChangementDatum(geo, zoneIn, zoneOut);
    if (!inValide) Verifie(change.lambda == -9999.0 && change.phi == -9999.0);
    if (inValide && outValide && zoneIn.Datum != 0 && zoneOut.Datum != 0)
        Verifie(std::memcmp(&change, &geo, sizeof geo) == 0);  // WGS84 and RGF93: one datum
    if (inValide && zoneIn.IsProjection) {
        const COORDONNEES_PLANES plan = {v[2], v[3]};
        (void)SysProj2SysGeo(plan, zoneIn);
        (void)SysGeo2SysProj(geo, zoneIn);
        if (outValide && zoneOut.IsProjection) (void)Lambert2Lambert(plan, zoneIn, zoneOut);
    }

    // Records straight from the input: nothing is validated, nothing may trap.
    const std::size_t entete = sizeof octets, taille_zone = sizeof(PARAMETRES_SYSTEME_COORDONNNEES);
    if (size >= entete + 2 * taille_zone) {
        PARAMETRES_SYSTEME_COORDONNNEES libreIn, libreOut;
        std::memcpy(&libreIn, data + entete, taille_zone);
        std::memcpy(&libreOut, data + entete + taille_zone, taille_zone);
        const COORDONNEES_PLANES plan = {v[0], v[1]};
        (void)ChangementDatum(geo, libreIn, libreOut);
        (void)SysGeo2SysProj(geo, libreOut);
        (void)SysProj2SysGeo(plan, libreIn);
        (void)Lambert2Lambert(plan, libreIn, libreOut);
    }

    // The grid lookup: a node of the grid, or the outside record.
    const LIGNE_GRILLE_GR3DF97A noeud = LectureGrille_GR3DF97A(v[0], v[1]);
    const bool dedans = v[0] >= -5.5 && v[0] < 10.0 && v[1] >= 41.0 && v[1] < 52.0;
    Verifie(dedans ? noeud.Code_precision >= 1 && noeud.Code_precision <= 99 : noeud.Code_precision == -9999);
    return 0;
}
