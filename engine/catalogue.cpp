// The catalogue of the twelve systems. Every value is a stored literal as
// published for the system, not derived from the others: the stored
// eccentricities do not agree with the axes in the last digits, and the
// computations rely on exactly these values.
#include "constantes.h"
#include "interne.h"

namespace {

struct ELLIPSOIDE {
    int Datum;
    double DemiGrdAxe, DemiPetitAxe, Aplatissement, Excentricite;
};

constexpr ELLIPSOIDE CLARKE_1880_IGN = {0, 6378249.2, 6356515.0, 0.00340754952001565, 0.0824832567634177};
constexpr ELLIPSOIDE GRS_1980 = {2, 6378137.0, 6356752.314, 0.003352810681182, 0.081819191042816};
constexpr ELLIPSOIDE WGS_84 = {1, 6378137.0, 6356752.31424518, 0.00335281066474748, 0.0818191908426215};

// Paris meridian, 2.33722917 degrees east of Greenwich.
constexpr double MERIDIEN_PARIS = 0.0407923443319766;

constexpr PARAMETRES_SYSTEME_COORDONNNEES Catalogue(int code) {
    PARAMETRES_SYSTEME_COORDONNNEES zone = {};

    // Datum and ellipsoid.
    const ELLIPSOIDE* ellipsoide = nullptr;
    if (code >= 1 && code <= 9)
        ellipsoide = &CLARKE_1880_IGN;
    else if (code == RGF93L93 || code == RGF93GG)
        ellipsoide = &GRS_1980;
    else if (code == WGS84GG)
        ellipsoide = &WGS_84;
    else {
        zone.Datum = constantes::MARQUEUR_ABSENT;
        return zone;
    }
    zone.Datum = ellipsoide->Datum;
    zone.ellipsoide_DemiGrdAxe = ellipsoide->DemiGrdAxe;
    zone.ellipsoide_DemiPetitAxe = ellipsoide->DemiPetitAxe;
    zone.ellipsoide_Aplatissement = ellipsoide->Aplatissement;
    zone.ellipsoide_Excentricite = ellipsoide->Excentricite;

    // Projection constants.
    zone.IsProjection = 1;
    switch (code) {
    case NTFL1C:
    case NTFL1:
        zone.n = 0.7604059656; zone.C = 11603796.98; zone.Xs = 600000.0; zone.Ys = 5657616.674;
        zone.LAMBDA_ZERO = MERIDIEN_PARIS;
        break;
    case NTFL2:
        zone.n = 0.7289686274; zone.C = 11745793.39; zone.Xs = 600000.0; zone.Ys = 6199695.768;
        zone.LAMBDA_ZERO = MERIDIEN_PARIS;
        break;
    case NTFL3C:
    case NTFL3:
        zone.n = 0.6959127966; zone.C = 11947992.52; zone.Xs = 600000.0; zone.Ys = 6791905.085;
        zone.LAMBDA_ZERO = MERIDIEN_PARIS;
        break;
    case NTFL4C:
    case NTFL4:
        zone.n = 0.6712679322; zone.C = 12136281.99; zone.Xs = 234.358; zone.Ys = 7239161.542;
        zone.LAMBDA_ZERO = MERIDIEN_PARIS;
        break;
    case NTFL2E:
        zone.n = 0.728968627421412; zone.C = 11745793.3934; zone.Xs = 600000.0; zone.Ys = 8199695.768;
        zone.LAMBDA_ZERO = MERIDIEN_PARIS;
        break;
    case RGF93L93:
        zone.n = 0.725607765053267; zone.C = 11754255.4261; zone.Xs = 700000.0; zone.Ys = 12655612.0499;
        zone.LAMBDA_ZERO = degre2radian(3.0);
        break;
    default:  // NTFGG, WGS84GG, RGF93GG
        zone.IsProjection = 0;
        break;
    }

    // Carto offset, millions of metres on the northing.
    switch (code) {
    case NTFL1C: zone.Translation_Y = 1.0; break;
    case NTFL3C: zone.Translation_Y = 3.0; break;
    case NTFL4C: zone.Translation_Y = 4.0; break;
    default: zone.Translation_Y = 0.0; break;
    }
    return zone;
}

// The twelve records, and the no-system record at index 0, built by the
// compiler: the dispatcher reads two of them per point in place instead of
// building and copying them.
struct TABLE_CATALOGUE {
    PARAMETRES_SYSTEME_COORDONNNEES zones[13];
};

constexpr TABLE_CATALOGUE TableCatalogue() {
    TABLE_CATALOGUE table = {};
    for (int code = 0; code <= 12; ++code) table.zones[code] = Catalogue(code);
    return table;
}

constexpr TABLE_CATALOGUE TABLE = TableCatalogue();

}  // namespace

PARAMETRES_SYSTEME_COORDONNNEES ChargeConstantes_SysCoord(Liste_SysCoord sysCoord) {
    return Catalogue(static_cast<int>(sysCoord));
}

const PARAMETRES_SYSTEME_COORDONNNEES* ConstantesSysCoord(Liste_SysCoord sysCoord) {
    const int code = static_cast<int>(sysCoord);
    return &TABLE.zones[code >= 1 && code <= 12 ? code : 0];
}
