/*
 * geokern2.h - public interface of geokern, the coordinate transformation engine
 * for the French national systems (NTF, RGF93, WGS84).
 *
 * Usable from C and C++. Records travel by value across the library boundary,
 * so a caller lays them out exactly as declared here: IEEE doubles and 32-bit
 * integers, in this order.
 *
 * Units at the boundary of SysCoord2SysCoord and CSysCoord2SysCoord: a
 * geographic point is (longitude, latitude) in decimal degrees east of
 * Greenwich and north, except NTFPARIS: grads, longitude east of the Paris
 * meridian; a projected point is (easting, northing) in metres, carto offset
 * included. The lower-level exports work in radians east of Greenwich and in
 * metres without the carto offset.
 *
 * Failure is reported in band: -9999 in the record's marker field, or the
 * failure pair (-9999.0, -9999.0): GEOKERN_ECHEC, tested by GeokernEchec.
 *
 * Threads: every export is re-entrant except CSysCoord2SysCoord, which writes
 * its result into one static 40-character buffer shared by the whole process.
 * Callers serialise their calls of it and copy the text before the next call.
 * The engine's other process-wide state is the embedded datum-shift grid,
 * read-only, and, on Windows only, the three handles of its resource, which
 * the library's entry point writes when the library is loaded (and writes
 * again, with the same values, at each thread's attach and detach).
 */
#ifndef GEOKERN2_H
#define GEOKERN2_H

/* Calling convention of the exports: stdcall on 32-bit x86, the platform's C
 * convention elsewhere (where stdcall does not exist). */
#if defined(_WIN32) && (defined(_M_IX86) || defined(__i386__))
#define GEOKERN_APPEL __stdcall
#elif defined(__i386__) && defined(__GNUC__)
#define GEOKERN_APPEL __attribute__((stdcall))
#else
#define GEOKERN_APPEL
#endif

/* Export from the library, import in clients (define GEOKERN_STATIQUE to link
 * the engine's sources straight into a program). */
#if defined(GEOKERN_STATIQUE)
#define GEOKERN_API
#elif defined(_WIN32)
#if defined(GEOKERN_CONSTRUCTION)
#define GEOKERN_API /* exported by name and ordinal from geokern.def */
#else
#define GEOKERN_API __declspec(dllimport)
#endif
#elif defined(__GNUC__)
#define GEOKERN_API __attribute__((visibility("default")))
#else
#define GEOKERN_API
#endif

#ifdef __cplusplus
#define GEOKERN_VERIFIE(condition, message) static_assert(condition, message)
extern "C" {
#else
#define GEOKERN_VERIFIE(condition, message) _Static_assert(condition, message)
#endif

/* The codes of the catalogue's systems. The catalogue itself, with each
 * system's name, label, EPSG code, kind, units and constants, is a table
 * inside the engine; DescriptionSysCoord reads it, CodeSysCoord looks a name
 * up in it. Any integer may be passed where a system is expected: 0, negative
 * codes and codes past the catalogue give the failure markers. In C++ the type
 * is based on int, so that every such integer is a value of the type (without
 * a fixed base, a code such as -1 or 100 is outside the range of the
 * enumeration, and converting it is undefined). The size and the values are
 * the same in C and C++. */
#ifdef __cplusplus
#define GEOKERN_BASE_ENUM : int
#else
#define GEOKERN_BASE_ENUM
#endif
typedef enum Liste_SysCoord GEOKERN_BASE_ENUM {
    NTFL1C = 1,    /* NTF Lambert I carto (northing + 1,000,000 m) */
    NTFL1 = 2,     /* NTF Lambert I */
    NTFL2 = 3,     /* NTF Lambert II */
    NTFL3C = 4,    /* NTF Lambert III carto (northing + 3,000,000 m) */
    NTFL3 = 5,     /* NTF Lambert III */
    NTFL4C = 6,    /* NTF Lambert IV carto (northing + 4,000,000 m) */
    NTFL4 = 7,     /* NTF Lambert IV */
    NTFL2E = 8,    /* NTF Lambert II etendu */
    NTFGG = 9,     /* NTF geographic */
    RGF93L93 = 10, /* RGF93 Lambert 93 */
    WGS84GG = 11,  /* WGS84 geographic */
    RGF93GG = 12,  /* RGF93 geographic */
    RGF93CC42 = 13, /* RGF93 conic conformal zones CC42 ... CC50 */
    RGF93CC43 = 14,
    RGF93CC44 = 15,
    RGF93CC45 = 16,
    RGF93CC46 = 17,
    RGF93CC47 = 18,
    RGF93CC48 = 19,
    RGF93CC49 = 20,
    RGF93CC50 = 21,
    RGF93UTM30N = 22, /* RGF93 UTM zones 30, 31, 32 north */
    RGF93UTM31N = 23,
    RGF93UTM32N = 24,
    WGS84UTM30N = 25, /* WGS84 UTM zones 30, 31, 32 north */
    WGS84UTM31N = 26,
    WGS84UTM32N = 27,
    NTFPARIS = 28     /* NTF geographic in grads, longitude from the Paris meridian */
} Liste_SysCoord;

/* A point at the system-to-system interface: degrees for a geographic system,
 * metres (carto offset included) for a projected one. */
typedef struct COORDONNEES_TYPE_NC {
    double x_lambda;
    double y_phi;
} COORDONNEES_TYPE_NC;

/* Geographic coordinates in radians, longitude east of Greenwich. */
typedef struct COORDONNEES_GEOGRAPHIQUES {
    double lambda;
    double phi;
} COORDONNEES_GEOGRAPHIQUES;

/* Lambert plane coordinates in metres, without the carto offset. */
typedef struct COORDONNEES_PLANES {
    double x;
    double y;
} COORDONNEES_PLANES;

/* Geocentric cartesian coordinates in metres. */
typedef struct COORDONNEES_CARTESIENNES {
    double x;
    double y;
    double z;
} COORDONNEES_CARTESIENNES;

/* The constants of one system. Datum: 0 NTF, 1 WGS84, 2 RGF93, -9999 none.
 * IsProjection: 0 geographic, 1 Lambert conformal conic (n, C, Xs, Ys the
 * projection's constants), 2 transverse Mercator (C the scale factor on the
 * central meridian, Xs the false easting, Ys the false northing, n unused).
 * LAMBDA_ZERO of a geographic system is its prime meridian. */
typedef struct PARAMETRES_SYSTEME_COORDONNNEES {
    double n;
    double C;
    double Xs;
    double Ys;
    double Translation_Y; /* carto offset in millions of metres */
    int IsProjection; /* 0 geographic, 1 Lambert, 2 transverse Mercator */
    int Datum;
    double ellipsoide_DemiGrdAxe;
    double ellipsoide_DemiPetitAxe;
    double ellipsoide_Aplatissement;
    double ellipsoide_Excentricite;
    double LAMBDA_ZERO; /* central meridian, radians east of Greenwich */
} PARAMETRES_SYSTEME_COORDONNNEES;

/* One node of the NTF->RGF93 datum-shift grid: translations in metres and a
 * precision code (-9999 outside the grid). Packed: this is also the 28-byte
 * record of the embedded grid. */
#pragma pack(push, 4)
typedef struct LIGNE_GRILLE_GR3DF97A {
    double Tx;
    double Ty;
    double Tz;
    int Code_precision;
} LIGNE_GRILLE_GR3DF97A;
#pragma pack(pop)

/* One system of the catalogue as DescriptionSysCoord gives it, owned by the
 * engine and constant for the life of the process. Texts in UTF-8, each ended
 * by a zero within its array. */
typedef struct DESCRIPTION_SYSCOORD {
    int Code;           /* its code in Liste_SysCoord */
    int Epsg;           /* the EPSG code of the same system */
    int IsProjection;   /* as in PARAMETRES_SYSTEME_COORDONNNEES */
    int Datum;          /* as in PARAMETRES_SYSTEME_COORDONNNEES */
    char Nom[16];       /* catalogue name, as in Liste_SysCoord ("RGF93L93") */
    char Libelle[48];   /* French label ("RGF93 Lambert 93") */
    char Unites[16];    /* unit at the boundary, French: "degrés", "grades", "mètres" */
} DESCRIPTION_SYSCOORD;

/* The failure value: both members of the failure pair, and the marker fields. */
#define GEOKERN_ECHEC (-9999.0)

/* Non-zero when a point returned by the engine is the failure pair: both
 * members -9999.0 (a point with one member -9999.0 is an ordinary point). */
static inline int GeokernEchec(COORDONNEES_TYPE_NC point) {
    return point.x_lambda == GEOKERN_ECHEC && point.y_phi == GEOKERN_ECHEC;
}

GEOKERN_VERIFIE(sizeof(COORDONNEES_TYPE_NC) == 16, "COORDONNEES_TYPE_NC");
GEOKERN_VERIFIE(sizeof(COORDONNEES_GEOGRAPHIQUES) == 16, "COORDONNEES_GEOGRAPHIQUES");
GEOKERN_VERIFIE(sizeof(COORDONNEES_PLANES) == 16, "COORDONNEES_PLANES");
GEOKERN_VERIFIE(sizeof(COORDONNEES_CARTESIENNES) == 24, "COORDONNEES_CARTESIENNES");
GEOKERN_VERIFIE(sizeof(PARAMETRES_SYSTEME_COORDONNNEES) == 88, "PARAMETRES_SYSTEME_COORDONNNEES");
GEOKERN_VERIFIE(sizeof(LIGNE_GRILLE_GR3DF97A) == 28, "LIGNE_GRILLE_GR3DF97A");
GEOKERN_VERIFIE(sizeof(Liste_SysCoord) == 4, "Liste_SysCoord");
GEOKERN_VERIFIE(sizeof(DESCRIPTION_SYSCOORD) == 96, "DESCRIPTION_SYSCOORD");

/* 1: the grid node for a position in decimal degrees (north-west corner of its
 * cell), Code_precision -9999 outside the grid. */
GEOKERN_API LIGNE_GRILLE_GR3DF97A GEOKERN_APPEL LectureGrille_GR3DF97A(double lambda, double phi);

/* 2: a position in radians moved from the datum of zoneIn to that of zoneOut;
 * (-9999.0, -9999.0) when it cannot be. */
GEOKERN_API COORDONNEES_GEOGRAPHIQUES GEOKERN_APPEL ChangementDatum(
    COORDONNEES_GEOGRAPHIQUES CoordGeo_entree, PARAMETRES_SYSTEME_COORDONNNEES zoneIn,
    PARAMETRES_SYSTEME_COORDONNNEES zoneOut);

/* 3: Lambert projection of a position in radians. */
GEOKERN_API COORDONNEES_PLANES GEOKERN_APPEL SysGeo2SysProj(
    COORDONNEES_GEOGRAPHIQUES entree, PARAMETRES_SYSTEME_COORDONNNEES Const_sysCoordOut);

/* 4: inverse Lambert projection, result in radians. */
GEOKERN_API COORDONNEES_GEOGRAPHIQUES GEOKERN_APPEL SysProj2SysGeo(
    COORDONNEES_PLANES entree, PARAMETRES_SYSTEME_COORDONNNEES zone);

/* 5: plane to plane between two Lambert projections of one ellipsoid and meridian. */
GEOKERN_API COORDONNEES_PLANES GEOKERN_APPEL Lambert2Lambert(
    COORDONNEES_PLANES pointIn, PARAMETRES_SYSTEME_COORDONNNEES Const_sysCoordIn,
    PARAMETRES_SYSTEME_COORDONNNEES Const_sysCoordOut);

/* 6: one point from any system of the catalogue to any other. */
GEOKERN_API COORDONNEES_TYPE_NC GEOKERN_APPEL SysCoord2SysCoord(
    COORDONNEES_TYPE_NC pointInPrm, Liste_SysCoord sysCoordIn, Liste_SysCoord sysCoordOut);

/* 7: the same on text ("x@y"); returns the engine's static result text,
 * "%.8f@%.8f" for a geographic output system, "%.3f@%.3f" otherwise, empty on
 * failure. The numbers are read as atof reads a decimal number (hexadecimal,
 * "inf" and "nan" are none: "0x10" is 0, "inf" no number, read as 0) and
 * written as printf writes them in the C locale, with "." whatever the
 * caller's locale, and the same on every platform. Not re-entrant (see
 * above). */
GEOKERN_API const char* GEOKERN_APPEL CSysCoord2SysCoord(
    const char* pointAVIn, Liste_SysCoord sysCoordIn, Liste_SysCoord sysCoordOut);

/* 8: SysCoord2SysCoord over arrays of n points: point k is (x_lambda[k],
 * y_phi[k]) and its result goes to (x_sortie[k], y_sortie[k]), the same
 * numbers as SysCoord2SysCoord gives for it, failure pair included. The output
 * arrays may be the input arrays. Returns the number of failed points (0 when
 * n <= 0). Re-entrant: callers may convert parts of one array in parallel.
 * Faster per point than SysCoord2SysCoord: the engine takes the points by
 * blocks and computes those of a block side by side. */
GEOKERN_API int GEOKERN_APPEL SysCoord2SysCoordTableau(
    const double* x_lambda, const double* y_phi, double* x_sortie, double* y_sortie, int n,
    Liste_SysCoord sysCoordIn, Liste_SysCoord sysCoordOut);

/* 9: the code of a system named by its catalogue name (any case), by its code
 * in decimal ("10") or by "EPSG:NNNN" (any case); 0 for any other text, and for
 * a null pointer. */
GEOKERN_API int GEOKERN_APPEL CodeSysCoord(const char* nom);

/* 10: the description of the system of that code; a null pointer for a code
 * outside the catalogue. The codes run from 1 up without a gap: a client
 * lists the catalogue by asking for 1, 2, ... until the null pointer. */
GEOKERN_API const DESCRIPTION_SYSCOORD* GEOKERN_APPEL DescriptionSysCoord(Liste_SysCoord sysCoord);

/* The type of SysCoord2SysCoord, for clients that bind it at run time. */
typedef COORDONNEES_TYPE_NC(GEOKERN_APPEL* PFN_SysCoord2SysCoord)(
    COORDONNEES_TYPE_NC pointInPrm, Liste_SysCoord sysCoordIn, Liste_SysCoord sysCoordOut);

#ifdef __cplusplus
}
#endif

#endif /* GEOKERN2_H */
