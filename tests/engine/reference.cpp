#include "reference.h"

#include <cmath>
#include <limits>

#include "elementaires.h"  // the engine's elementary functions: one maths layer

using elementaires::ArcTangente;

namespace reference {

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double ECHEC = -9999.0;
// A pass limit no convergent iteration comes near (they stop after two to four
// passes): beyond it the reference gives NaN rather than hang a test.
const int PASSES_SANS_FIN = 10000;

}  // namespace

namespace {

// ALG0054: the constants n, C, Xs, Ys of a secant Lambert projection from its
// latitude of origin, standard parallels and false origin (degrees, metres).
void ConstantesLambertSecante(PARAMETRES_SYSTEME_COORDONNNEES* z, double phi0, double phi1, double phi2, double X0,
                              double Y0) {
    const double e = z->ellipsoide_Excentricite, a = z->ellipsoide_DemiGrdAxe;
    auto L = [e](double phi) {
        const double s = elementaires::Sin(phi);
        return 0.5 * elementaires::Log((1.0 + s) / (1.0 - s)) - (e / 2.0) * elementaires::Log((1.0 + e * s) / (1.0 - e * s));
    };
    auto N = [e, a](double phi) { return a / std::sqrt(1.0 - e * e * elementaires::Sin(phi) * elementaires::Sin(phi)); };
    phi0 = degre2radian(phi0); phi1 = degre2radian(phi1); phi2 = degre2radian(phi2);
    z->n = elementaires::Log((N(phi2) * elementaires::Cos(phi2)) / (N(phi1) * elementaires::Cos(phi1))) / (L(phi1) - L(phi2));
    z->C = N(phi1) * elementaires::Cos(phi1) / z->n * elementaires::Exp(z->n * L(phi1));
    z->Xs = X0;
    z->Ys = Y0 + z->C * elementaires::Exp(-z->n * L(phi0));
}

}  // namespace

PARAMETRES_SYSTEME_COORDONNNEES ChargeConstantes_SysCoord(int sysCoord) {
    PARAMETRES_SYSTEME_COORDONNNEES z = {};
    // 1. Datum and ellipsoid.
    if ((sysCoord >= 1 && sysCoord <= 9) || sysCoord == 28) {
        z.Datum = 0;  // NTF, Clarke 1880 IGN
        z.ellipsoide_DemiGrdAxe = 6378249.2;
        z.ellipsoide_DemiPetitAxe = 6356515.0;
        z.ellipsoide_Aplatissement = 0.00340754952001565;
        z.ellipsoide_Excentricite = 0.0824832567634177;
    } else if (sysCoord == 10 || sysCoord == 12 || (sysCoord >= 13 && sysCoord <= 24)) {
        z.Datum = 2;  // RGF93, GRS 1980
        z.ellipsoide_DemiGrdAxe = 6378137.0;
        z.ellipsoide_DemiPetitAxe = 6356752.314;
        z.ellipsoide_Aplatissement = 0.003352810681182;
        z.ellipsoide_Excentricite = 0.081819191042816;
    } else if (sysCoord == 11 || (sysCoord >= 25 && sysCoord <= 27)) {
        z.Datum = 1;  // WGS84
        z.ellipsoide_DemiGrdAxe = 6378137.0;
        z.ellipsoide_DemiPetitAxe = 6356752.31424518;
        z.ellipsoide_Aplatissement = 0.00335281066474748;
        z.ellipsoide_Excentricite = 0.0818191908426215;
    } else {
        z.Datum = -9999;
        return z;
    }
    // 2. Projection.
    const double paris = 0.0407923443319766;
    z.IsProjection = 1;
    switch (sysCoord) {
    case 1: case 2: z.n = 0.7604059656; z.C = 11603796.98; z.Xs = 600000.0; z.Ys = 5657616.674; z.LAMBDA_ZERO = paris; break;
    case 3: z.n = 0.7289686274; z.C = 11745793.39; z.Xs = 600000.0; z.Ys = 6199695.768; z.LAMBDA_ZERO = paris; break;
    case 4: case 5: z.n = 0.6959127966; z.C = 11947992.52; z.Xs = 600000.0; z.Ys = 6791905.085; z.LAMBDA_ZERO = paris; break;
    case 6: case 7: z.n = 0.6712679322; z.C = 12136281.99; z.Xs = 234.358; z.Ys = 7239161.542; z.LAMBDA_ZERO = paris; break;
    case 8: z.n = 0.728968627421412; z.C = 11745793.3934; z.Xs = 600000.0; z.Ys = 8199695.768; z.LAMBDA_ZERO = paris; break;
    case 10: z.n = 0.725607765053267; z.C = 11754255.4261; z.Xs = 700000.0; z.Ys = 12655612.0499;
        z.LAMBDA_ZERO = degre2radian(3.0); break;
    case 13: case 14: case 15: case 16: case 17: case 18: case 19: case 20: case 21: {  // CC42 ... CC50
        const double k = 42.0 + (sysCoord - 13);
        ConstantesLambertSecante(&z, k, k - 0.75, k + 0.75, 1700000.0, (k - 41.0) * 1000000.0 + 200000.0);
        z.LAMBDA_ZERO = degre2radian(3.0);
        break;
    }
    case 22: case 23: case 24: case 25: case 26: case 27:  // UTM 30N, 31N, 32N
        z.IsProjection = 2; z.C = 0.9996; z.Xs = 500000.0;
        z.LAMBDA_ZERO = degre2radian(-3.0 + 6.0 * ((sysCoord - 22) % 3));
        break;
    case 28: z.IsProjection = 0; z.LAMBDA_ZERO = 2.5969213 * 0.015707963267948967; break;  // grads from Paris
    default: z.IsProjection = 0; break;  // 9, 11, 12: geographic, everything else 0.0
    }
    // 3. Carto offset.
    z.Translation_Y = sysCoord == 1 ? 1.0 : sysCoord == 4 ? 3.0 : sysCoord == 6 ? 4.0 : 0.0;
    return z;
}

double degre2radian(double AngleDeg) { return AngleDeg * 0.017453292519943295; }
double radian2degre(double AngleRad) { return AngleRad * 57.29577951308232; }
double TronqueReel(double reel) { return reel >= 0.0 ? std::floor(reel) : std::ceil(reel); }
double ArrondiReel(double reel) { return reel > 0.0 ? std::floor(reel + 0.5) : std::ceil(reel - 0.5); }

// ALG0009: ellipsoidal height zero.
COORDONNEES_CARTESIENNES Geographique2Cartesienne(COORDONNEES_GEOGRAPHIQUES entree, double a, double b) {
    const double h = 0.0;
    const double e2 = (a * a - b * b) / (a * a);
    const double N = a / std::sqrt(1.0 - e2 * elementaires::Sin(entree.phi) * elementaires::Sin(entree.phi));
    COORDONNEES_CARTESIENNES sortie;
    sortie.x = (N + h) * elementaires::Cos(entree.phi) * elementaires::Cos(entree.lambda);
    sortie.y = (N + h) * elementaires::Cos(entree.phi) * elementaires::Sin(entree.lambda);
    sortie.z = ((1.0 - e2) * N + h) * elementaires::Sin(entree.phi);
    return sortie;
}

// ALG0012, iterating on the latitude.
COORDONNEES_GEOGRAPHIQUES Cartesienne2Geographique(COORDONNEES_CARTESIENNES entree, double a, double b) {
    const double e2 = (a * a - b * b) / (a * a);
    const double x = entree.x, y = entree.y, z = entree.z;
    COORDONNEES_GEOGRAPHIQUES sortie;
    sortie.lambda = 2.0 * ArcTangente(y / (x + std::sqrt(x * x + y * y)));
    const double p = std::sqrt(x * x + y * y);
    double phi0 = ArcTangente((z / p) / (1.0 - e2));
    for (int passe = 0;; ++passe) {
        const double phi1 =
            ArcTangente(z / (p - a * e2 * elementaires::Cos(phi0) / std::sqrt(1.0 - e2 * elementaires::Sin(phi0) * elementaires::Sin(phi0))));
        if (!(std::fabs(phi0 - phi1) >= 1e-9)) {
            sortie.phi = phi1;
            return sortie;
        }
        if (passe == PASSES_SANS_FIN) {
            sortie.phi = NaN;
            return sortie;
        }
        phi0 = phi1;
    }
}

// ALG0002.
double LatitudeIsoInverse(double latitudeiso, double e) {
    const double expo = elementaires::Exp(latitudeiso);
    double phi0 = 2.0 * ArcTangente(expo) - 1.5707963267948966;
    for (int passe = 0;; ++passe) {
        const double phi1 =
            2.0 * ArcTangente(elementaires::Puissance((1.0 + e * elementaires::Sin(phi0)) / (1.0 - e * elementaires::Sin(phi0)), e / 2.0) * expo) -
            1.5707963267948966;
        if (!(std::fabs(phi0 - phi1) >= 1e-9)) return phi1;
        if (passe == PASSES_SANS_FIN) return NaN;
        phi0 = phi1;
    }
}

// ALG0003.
COORDONNEES_PLANES SysGeo2SysProj(COORDONNEES_GEOGRAPHIQUES entree, const PARAMETRES_SYSTEME_COORDONNNEES& zone) {
    const double e = zone.ellipsoide_Excentricite;
    const double s = elementaires::Sin(entree.phi);
    const double L = 0.5 * elementaires::Log((1.0 + s) / (1.0 - s)) - (e / 2.0) * elementaires::Log((1.0 + e * s) / (1.0 - e * s));
    const double R = zone.C * elementaires::Exp(-zone.n * L);
    const double gamma = zone.n * (entree.lambda - zone.LAMBDA_ZERO);
    COORDONNEES_PLANES sortie;
    sortie.x = zone.Xs + R * elementaires::Sin(gamma);
    sortie.y = zone.Ys - R * elementaires::Cos(gamma);
    return sortie;
}

// ALG0004.
COORDONNEES_GEOGRAPHIQUES SysProj2SysGeo(COORDONNEES_PLANES entree, const PARAMETRES_SYSTEME_COORDONNNEES& zone) {
    const double R = std::sqrt(std::pow(entree.x - zone.Xs, 2.0) + std::pow(entree.y - zone.Ys, 2.0));
    const double gamma = ArcTangente((entree.x - zone.Xs) / (zone.Ys - entree.y));
    COORDONNEES_GEOGRAPHIQUES sortie;
    sortie.lambda = zone.LAMBDA_ZERO + gamma / zone.n;
    const double latitudeIso = (-1.0 / zone.n) * elementaires::Log(std::fabs(R / zone.C));
    sortie.phi = LatitudeIsoInverse(latitudeIso, zone.ellipsoide_Excentricite);
    return sortie;
}

COORDONNEES_PLANES Lambert2Lambert(COORDONNEES_PLANES pointIn, const PARAMETRES_SYSTEME_COORDONNNEES& zoneIn,
                                   const PARAMETRES_SYSTEME_COORDONNNEES& zoneOut) {
    const double x = pointIn.x, y = pointIn.y;
    const double gamma = ArcTangente((zoneIn.Xs - x) / (y - zoneIn.Ys)) * (zoneOut.n / zoneIn.n);
    const double R1 = std::sqrt(std::pow(y - zoneIn.Ys, 2.0) + std::pow(x - zoneIn.Xs, 2.0));
    const double L = (1.0 / zoneIn.n) * elementaires::Log(zoneIn.C / R1);
    const double R = zoneOut.C * elementaires::Exp(-zoneOut.n * L);
    COORDONNEES_PLANES sortie;
    sortie.x = zoneOut.Xs + R * elementaires::Sin(gamma);
    sortie.y = zoneOut.Ys - R * elementaires::Cos(gamma);
    return sortie;
}

namespace {

// Record k = 111 i + j of the grid, through the export: it returns the node
// north of the south-west corner of the cell holding a position, so ask for
// the middle of the cell south of the node.
LIGNE_GRILLE_GR3DF97A Noeud(int k) {
    const int i = k / 111, j = k % 111;
    if (j == 0 || i > 154) return LIGNE_GRILLE_GR3DF97A{NaN, NaN, NaN, -9999};
    return LectureGrille_GR3DF97A(-5.5 + 0.1 * i + 0.05, 41.0 + 0.1 * (j - 1) + 0.05);
}

}  // namespace

COORDONNEES_GEOGRAPHIQUES ChangementDatum(COORDONNEES_GEOGRAPHIQUES CoordGeo_entree,
                                          const PARAMETRES_SYSTEME_COORDONNNEES& zoneIn,
                                          const PARAMETRES_SYSTEME_COORDONNNEES& zoneOut) {
    const COORDONNEES_GEOGRAPHIQUES echec = {ECHEC, ECHEC};
    // 1.
    const COORDONNEES_CARTESIENNES CoordCart_entree = Geographique2Cartesienne(
        CoordGeo_entree, zoneIn.ellipsoide_DemiGrdAxe, zoneIn.ellipsoide_DemiPetitAxe);
    // 2. The method.
    double Tx, Ty, Tz;
    bool grille;
    if (zoneIn.Datum == 0 && zoneOut.Datum == 1) {
        Tx = -168.0; Ty = -60.0; Tz = 320.0; grille = false;
    } else if (zoneIn.Datum == 0 && zoneOut.Datum == 2) {
        Tx = -168.0; Ty = -60.0; Tz = 320.0; grille = true;
    } else if (zoneIn.Datum == 1 && zoneOut.Datum == 0) {
        Tx = 168.0; Ty = 60.0; Tz = -320.0; grille = false;
    } else if (zoneIn.Datum == 2 && zoneOut.Datum == 0) {
        Tx = 168.0; Ty = 60.0; Tz = -320.0; grille = true;
    } else if (zoneIn.Datum == 0 || zoneIn.Datum == 1 || zoneIn.Datum == 2) {
        return CoordGeo_entree;
    } else {
        return echec;
    }
    COORDONNEES_CARTESIENNES CoordCart_sortie;
    if (!grille) {
        // 3.
        CoordCart_sortie = {CoordCart_entree.x + Tx, CoordCart_entree.y + Ty, CoordCart_entree.z + Tz};
    } else {
        // 4. to 7.
        const COORDONNEES_CARTESIENNES CoordCart_sortie_approx = {CoordCart_entree.x + Tx, CoordCart_entree.y + Ty,
                                                                  CoordCart_entree.z + Tz};
        const COORDONNEES_GEOGRAPHIQUES CoordGeo_sortie_approx = Cartesienne2Geographique(
            CoordCart_sortie_approx, zoneOut.ellipsoide_DemiGrdAxe, zoneOut.ellipsoide_DemiPetitAxe);
        const double phi_approx = radian2degre(CoordGeo_sortie_approx.phi);
        const double lambda_approx = radian2degre(CoordGeo_sortie_approx.lambda);
        if (lambda_approx < -5.5 || lambda_approx >= 10.0 || phi_approx < 41.0 || phi_approx >= 52.0 ||
            std::isnan(lambda_approx) || std::isnan(phi_approx))
            return echec;
        // 8.
        const int n_colonne = static_cast<int>(TronqueReel((lambda_approx - (-5.5)) / 0.1));
        const int n_ligne = static_cast<int>(TronqueReel((phi_approx - 41.0) / 0.1));
        const int indice = n_colonne * 111 + n_ligne;
        const double x = (lambda_approx - (n_colonne * 0.1 + (-5.5))) / 0.1;
        const double y = (phi_approx - (n_ligne * 0.1 + 41.0)) / 0.1;
        // 9.
        const LIGNE_GRILLE_GR3DF97A so = Noeud(indice), no = Noeud(indice + 1), se = Noeud(indice + 111),
                                    ne = Noeud(indice + 112);
        const double Tx_grille = (1 - x) * (1 - y) * so.Tx + (1 - x) * y * no.Tx + (1 - y) * x * se.Tx + x * y * ne.Tx;
        const double Ty_grille = (1 - x) * (1 - y) * so.Ty + (1 - x) * y * no.Ty + (1 - y) * x * se.Ty + x * y * ne.Ty;
        const double Tz_grille = (1 - x) * (1 - y) * so.Tz + (1 - x) * y * no.Tz + (1 - y) * x * se.Tz + x * y * ne.Tz;
        if (zoneIn.Datum == 0)
            CoordCart_sortie = {CoordCart_entree.x + Tx_grille, CoordCart_entree.y + Ty_grille,
                                CoordCart_entree.z + Tz_grille};
        else
            CoordCart_sortie = {CoordCart_entree.x - Tx_grille, CoordCart_entree.y - Ty_grille,
                                CoordCart_entree.z - Tz_grille};
    }
    // 10.
    return Cartesienne2Geographique(CoordCart_sortie, zoneOut.ellipsoide_DemiGrdAxe, zoneOut.ellipsoide_DemiPetitAxe);
}

RESULTAT SysCoord2SysCoord(COORDONNEES_TYPE_NC pointInPrm, int sysCoordIn, int sysCoordOut) {
    RESULTAT r = {pointInPrm, pointInPrm, 0.0};
    // 1.
    if (sysCoordIn == sysCoordOut) return r;
    // 2. and 3.
    const PARAMETRES_SYSTEME_COORDONNNEES Const_sysCoordIn = ChargeConstantes_SysCoord(sysCoordIn);
    const PARAMETRES_SYSTEME_COORDONNNEES Const_sysCoordOut = ChargeConstantes_SysCoord(sysCoordOut);
    r.point = r.brut = {ECHEC, ECHEC};
    if (Const_sysCoordIn.Datum == -9999 || Const_sysCoordOut.Datum == -9999) return r;
    // 4.
    COORDONNEES_GEOGRAPHIQUES pointIn_Geo;
    if (Const_sysCoordIn.IsProjection == 0) {
        pointIn_Geo.lambda = degre2radian(pointInPrm.x_lambda);
        pointIn_Geo.phi = degre2radian(pointInPrm.y_phi);
    } else {
        COORDONNEES_PLANES pointIn_Plan = {pointInPrm.x_lambda, pointInPrm.y_phi};
        if (Const_sysCoordIn.Translation_Y != 0.0) pointIn_Plan.y -= 1000000.0 * Const_sysCoordIn.Translation_Y;
        if (Const_sysCoordIn.Datum == 0 && Const_sysCoordOut.Datum == 0 && Const_sysCoordOut.IsProjection != 0) {
            COORDONNEES_PLANES pointOut_Plan = reference::Lambert2Lambert(pointIn_Plan, Const_sysCoordIn, Const_sysCoordOut);
            if (Const_sysCoordOut.Translation_Y != 0.0)
                pointOut_Plan.y += 1000000.0 * Const_sysCoordOut.Translation_Y;
            r.point = r.brut = {pointOut_Plan.x, pointOut_Plan.y};
            return r;
        }
        pointIn_Geo = reference::SysProj2SysGeo(pointIn_Plan, Const_sysCoordIn);
    }
    // 5.
    COORDONNEES_GEOGRAPHIQUES pointOut_Geo = pointIn_Geo;
    if (Const_sysCoordIn.Datum != Const_sysCoordOut.Datum) {
        pointOut_Geo = reference::ChangementDatum(pointIn_Geo, Const_sysCoordIn, Const_sysCoordOut);
        if (pointOut_Geo.phi == ECHEC || pointOut_Geo.lambda == ECHEC) return r;
    }
    // 6.
    if (Const_sysCoordOut.IsProjection != 0) {
        COORDONNEES_PLANES pointOut_Plan = reference::SysGeo2SysProj(pointOut_Geo, Const_sysCoordOut);
        if (Const_sysCoordOut.Translation_Y != 0.0) pointOut_Plan.y += 1000000.0 * Const_sysCoordOut.Translation_Y;
        r.brut = {pointOut_Plan.x, pointOut_Plan.y};
        r.echelle = std::pow(10.0, 3);
    } else {
        r.brut = {radian2degre(pointOut_Geo.lambda), radian2degre(pointOut_Geo.phi)};
        r.echelle = std::pow(10.0, 8);
    }
    const double x = r.brut.x_lambda * r.echelle, y = r.brut.y_phi * r.echelle;
    r.point = {ArrondiReel(x) / r.echelle, ArrondiReel(y) / r.echelle};
    // 7.
    return r;
}

}  // namespace reference
