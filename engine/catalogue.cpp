// The catalogue: one row per system, the only place where a system's facts are
// written (its code, name, label, EPSG code, kind, units, datum, ellipsoid and
// projection constants). Every value is a stored literal as published for the
// system, not derived from the others: the stored eccentricities do not agree
// with the axes in the last digits, and the computations rely on exactly these
// values.
#include "constantes.h"
#include "interne.h"
#include "lambert.h"

using namespace constantes;

namespace {

struct ELLIPSOIDE {
    int Datum;
    double DemiGrdAxe, DemiPetitAxe, Aplatissement, Excentricite;
};

constexpr ELLIPSOIDE CLARKE_1880_IGN = {0, 6378249.2, 6356515.0, 0.00340754952001565, 0.0824832567634177};
constexpr ELLIPSOIDE GRS_1980 = {2, 6378137.0, 6356752.314, 0.003352810681182, 0.081819191042816};
constexpr ELLIPSOIDE WGS_84 = {1, 6378137.0, 6356752.31424518, 0.00335281066474748, 0.0818191908426215};

// Paris meridian, 2.33722917 degrees east of Greenwich, as the NTF Lambert
// zones are defined with it.
constexpr double MERIDIEN_PARIS = 0.0407923443319766;
// The same meridian as the IGN publishes it for NTF geographic in grads
// (EPSG:4807): 2.5969213 grads, 0.37 mm east of the other.
constexpr double MERIDIEN_PARIS_GRADES = 2.5969213;

// Scale factor on the central meridian and false easting of every UTM zone.
constexpr double UTM_K0 = 0.9996;
constexpr double UTM_X0 = 500000.0;

constexpr PARAMETRES_SYSTEME_COORDONNNEES Zone(const ELLIPSOIDE& ellipsoide, int IsProjection, double n, double C,
                                                double Xs, double Ys, double Translation_Y, double LAMBDA_ZERO) {
    return {n, C, Xs, Ys, Translation_Y, IsProjection, ellipsoide.Datum, ellipsoide.DemiGrdAxe,
            ellipsoide.DemiPetitAxe, ellipsoide.Aplatissement, ellipsoide.Excentricite, LAMBDA_ZERO};
}

constexpr PARAMETRES_SYSTEME_COORDONNNEES Lambert(const ELLIPSOIDE& ellipsoide, double n, double C, double Xs,
                                                   double Ys, double LAMBDA_ZERO, double Translation_Y = 0.0) {
    return Zone(ellipsoide, 1, n, C, Xs, Ys, Translation_Y, LAMBDA_ZERO);
}

constexpr PARAMETRES_SYSTEME_COORDONNNEES Mercator(const ELLIPSOIDE& ellipsoide, double meridienDeg) {
    return Zone(ellipsoide, 2, 0.0, UTM_K0, UTM_X0, 0.0, 0.0, degre2radian(meridienDeg));
}

constexpr PARAMETRES_SYSTEME_COORDONNNEES Geographique(const ELLIPSOIDE& ellipsoide, double meridien = 0.0) {
    return Zone(ellipsoide, 0, 0.0, 0.0, 0.0, 0.0, 0.0, meridien);
}

// A text into its array, cut to keep the final zero (the arrays hold every text here).
template <int TAILLE>
constexpr void Copie(char (&tableau)[TAILLE], const char* texte) {
    for (int k = 0; k < TAILLE - 1 && texte[k] != '\0'; ++k) tableau[k] = texte[k];
}

constexpr SYSTEME Ligne(int code, const char* nom, const char* libelle, int epsg,
                        const PARAMETRES_SYSTEME_COORDONNNEES& zone, bool grades = false) {
    SYSTEME ligne = {};
    ligne.description.Code = code;
    ligne.description.Epsg = epsg;
    ligne.description.IsProjection = zone.IsProjection;
    ligne.description.Datum = zone.Datum;
    Copie(ligne.description.Nom, nom);
    Copie(ligne.description.Libelle, libelle);
    Copie(ligne.description.Unites, zone.IsProjection != 0 ? "m\xC3\xA8tres" : grades ? "grades" : "degr\xC3\xA9s");
    ligne.zone = zone;
    ligne.radiansParUnite = grades ? GRADE_EN_RADIAN : DEGRE_EN_RADIAN;
    ligne.unitesParRadian = grades ? RADIAN_EN_GRADE : RADIAN_EN_DEGRE;
    ligne.rayon = lambert::IndiceRayon(zone);
    return ligne;
}

constexpr SYSTEME AucunSysteme() {
    SYSTEME ligne = {};
    ligne.rayon = -1;
    ligne.description.Datum = MARQUEUR_ABSENT;
    ligne.zone.Datum = MARQUEUR_ABSENT;
    return ligne;
}

// The conic conformal zones CC42 ... CC50: latitude of origin k degrees,
// standard parallels k - 0.75 and k + 0.75, central meridian 3 degrees east,
// false easting 1,700,000 m, false northing (k - 41) x 1,000,000 + 200,000 m.
// n, C and Ys are those of the IGN's ALG0054 for these parameters on GRS 80,
// to the digits a double holds.
constexpr double CC_XS = 1700000.0;

// Row k holds code k; row 0 is the no-system record (Datum -9999).
constexpr SYSTEME SYSTEMES[] = {
    AucunSysteme(),
    Ligne(NTFL1C, "NTFL1C", "NTF Lambert I carto", 27571,
          Lambert(CLARKE_1880_IGN, 0.7604059656, 11603796.98, 600000.0, 5657616.674, MERIDIEN_PARIS, 1.0)),
    Ligne(NTFL1, "NTFL1", "NTF Lambert I", 27561,
          Lambert(CLARKE_1880_IGN, 0.7604059656, 11603796.98, 600000.0, 5657616.674, MERIDIEN_PARIS)),
    Ligne(NTFL2, "NTFL2", "NTF Lambert II", 27562,
          Lambert(CLARKE_1880_IGN, 0.7289686274, 11745793.39, 600000.0, 6199695.768, MERIDIEN_PARIS)),
    Ligne(NTFL3C, "NTFL3C", "NTF Lambert III carto", 27573,
          Lambert(CLARKE_1880_IGN, 0.6959127966, 11947992.52, 600000.0, 6791905.085, MERIDIEN_PARIS, 3.0)),
    Ligne(NTFL3, "NTFL3", "NTF Lambert III", 27563,
          Lambert(CLARKE_1880_IGN, 0.6959127966, 11947992.52, 600000.0, 6791905.085, MERIDIEN_PARIS)),
    Ligne(NTFL4C, "NTFL4C", "NTF Lambert IV carto", 27574,
          Lambert(CLARKE_1880_IGN, 0.6712679322, 12136281.99, 234.358, 7239161.542, MERIDIEN_PARIS, 4.0)),
    Ligne(NTFL4, "NTFL4", "NTF Lambert IV", 27564,
          Lambert(CLARKE_1880_IGN, 0.6712679322, 12136281.99, 234.358, 7239161.542, MERIDIEN_PARIS)),
    // EPSG:27572 is zone II, whose carto variant is Lambert II etendu.
    Ligne(NTFL2E, "NTFL2E", "NTF Lambert II \xC3\xA9tendu", 27572,
          Lambert(CLARKE_1880_IGN, 0.728968627421412, 11745793.3934, 600000.0, 8199695.768, MERIDIEN_PARIS)),
    // Degrees from Greenwich (EPSG:4275); NTFPARIS is the grads from Paris.
    Ligne(NTFGG, "NTFGG", "NTF g\xC3\xA9ographique", 4275, Geographique(CLARKE_1880_IGN)),
    Ligne(RGF93L93, "RGF93L93", "RGF93 Lambert 93", 2154,
          Lambert(GRS_1980, 0.725607765053267, 11754255.4261, 700000.0, 12655612.0499, degre2radian(3.0))),
    Ligne(WGS84GG, "WGS84GG", "WGS84 g\xC3\xA9ographique", 4326, Geographique(WGS_84)),
    Ligne(RGF93GG, "RGF93GG", "RGF93 g\xC3\xA9ographique", 4171, Geographique(GRS_1980)),
    Ligne(RGF93CC42, "RGF93CC42", "RGF93 CC42", 3942,
          Lambert(GRS_1980, 0.6691500006885209, 12153633.05811244, CC_XS, 8293467.503419407, degre2radian(3.0))),
    Ligne(RGF93CC43, "RGF93CC43", "RGF93 CC43", 3943,
          Lambert(GRS_1980, 0.6820181183464213, 12050261.11925888, CC_XS, 9049604.665087455, degre2radian(3.0))),
    Ligne(RGF93CC44, "RGF93CC44", "RGF93 CC44", 3944,
          Lambert(GRS_1980, 0.6946784863203913, 11957169.26888239, CC_XS, 9814691.693441264, degre2radian(3.0))),
    Ligne(RGF93CC45, "RGF93CC45", "RGF93 CC45", 3945,
          Lambert(GRS_1980, 0.7071272481559054, 11873753.39255472, CC_XS, 10588107.87176703, degre2radian(3.0))),
    Ligne(RGF93CC46, "RGF93CC46", "RGF93 CC46", 3946,
          Lambert(GRS_1980, 0.7193606118567355, 11799460.69806064, CC_XS, 11369285.63754903, degre2radian(3.0))),
    Ligne(RGF93CC47, "RGF93CC47", "RGF93 CC47", 3947,
          Lambert(GRS_1980, 0.7313748510399930, 11733783.88206391, CC_XS, 12157704.90336187, degre2radian(3.0))),
    Ligne(RGF93CC48, "RGF93CC48", "RGF93 CC48", 3948,
          Lambert(GRS_1980, 0.7431663060711821, 11676255.99485464, CC_XS, 12952888.08638575, degre2radian(3.0))),
    Ligne(RGF93CC49, "RGF93CC49", "RGF93 CC49", 3949,
          Lambert(GRS_1980, 0.7547313851789216, 11626445.90122532, CC_XS, 13754395.74524761, degre2radian(3.0))),
    Ligne(RGF93CC50, "RGF93CC50", "RGF93 CC50", 3950,
          Lambert(GRS_1980, 0.7660665655489927, 11583954.25167348, CC_XS, 14561822.73909487, degre2radian(3.0))),
    Ligne(RGF93UTM30N, "RGF93UTM30N", "RGF93 UTM 30N", 25830, Mercator(GRS_1980, -3.0)),
    Ligne(RGF93UTM31N, "RGF93UTM31N", "RGF93 UTM 31N", 25831, Mercator(GRS_1980, 3.0)),
    Ligne(RGF93UTM32N, "RGF93UTM32N", "RGF93 UTM 32N", 25832, Mercator(GRS_1980, 9.0)),
    Ligne(WGS84UTM30N, "WGS84UTM30N", "WGS84 UTM 30N", 32630, Mercator(WGS_84, -3.0)),
    Ligne(WGS84UTM31N, "WGS84UTM31N", "WGS84 UTM 31N", 32631, Mercator(WGS_84, 3.0)),
    Ligne(WGS84UTM32N, "WGS84UTM32N", "WGS84 UTM 32N", 32632, Mercator(WGS_84, 9.0)),
    Ligne(NTFPARIS, "NTFPARIS", "NTF (Paris) g\xC3\xA9ographique", 4807,
          Geographique(CLARKE_1880_IGN, MERIDIEN_PARIS_GRADES * GRADE_EN_RADIAN), true),
};

constexpr int NOMBRE = static_cast<int>(sizeof SYSTEMES / sizeof SYSTEMES[0]) - 1;

constexpr bool CodesALeurPlace() {
    for (int k = 0; k <= NOMBRE; ++k)
        if (SYSTEMES[k].description.Code != k) return false;
    return true;
}
static_assert(CodesALeurPlace(), "row k of the catalogue holds code k");

char Majuscule(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool MemeNom(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b)
        if (Majuscule(*a) != Majuscule(*b)) return false;
    return *a == '\0' && *b == '\0';
}

// The text begins with the prefix, in capitals, in any case.
bool CommencePar(const char* texte, const char* prefixe) {
    for (; *prefixe != '\0'; ++texte, ++prefixe)
        if (Majuscule(*texte) != *prefixe) return false;
    return true;
}

// A decimal number of one to nine digits, nothing else; -1 otherwise.
int Entier(const char* texte) {
    int valeur = 0, chiffres = 0;
    for (; *texte != '\0'; ++texte, ++chiffres) {
        if (*texte < '0' || *texte > '9' || chiffres == 9) return -1;
        valeur = valeur * 10 + (*texte - '0');
    }
    return chiffres == 0 ? -1 : valeur;
}

}  // namespace

int NombreSysCoord() { return NOMBRE; }

const SYSTEME& SystemeCatalogue(Liste_SysCoord sysCoord) {
    const int code = static_cast<int>(sysCoord);
    return SYSTEMES[code >= 1 && code <= NOMBRE ? code : 0];
}

PARAMETRES_SYSTEME_COORDONNNEES ChargeConstantes_SysCoord(Liste_SysCoord sysCoord) {
    return SystemeCatalogue(sysCoord).zone;
}

const PARAMETRES_SYSTEME_COORDONNNEES* ConstantesSysCoord(Liste_SysCoord sysCoord) {
    return &SystemeCatalogue(sysCoord).zone;
}

const DESCRIPTION_SYSCOORD* GEOKERN_APPEL DescriptionSysCoord(Liste_SysCoord sysCoord) {
    const SYSTEME& systeme = SystemeCatalogue(sysCoord);
    return systeme.description.Code == 0 ? nullptr : &systeme.description;
}

int GEOKERN_APPEL CodeSysCoord(const char* nom) {
    if (nom == nullptr) return 0;
    const int epsg = CommencePar(nom, "EPSG:") ? Entier(nom + 5) : -1;
    const int code = Entier(nom);
    for (int k = 1; k <= NOMBRE; ++k) {
        const DESCRIPTION_SYSCOORD& d = SYSTEMES[k].description;
        if (k == code || d.Epsg == epsg || MemeNom(nom, d.Nom)) return k;
    }
    return 0;
}
