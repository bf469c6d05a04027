/*
 * norvane.h - the magnetic declination of norvane as a plain C library
 * (static library norvane_c, linked to geokern).
 *
 * Two sources of declination:
 * - NORVANE_GRILLE: the calculator's own computation, as the window gives it:
 *   the position brought to NTF Lambert II etendu by geokern, the nearest node
 *   of the two 5 km grids (Grid2009_5.dat, GridVS2013Poly.dat), dates from
 *   2009-01-01 to 2015-12-31, metropolitan France only;
 * - NORVANE_MODELE: the International Geomagnetic Reference Field, 14th
 *   generation (IGRF14.shc), evaluated at the exact place, anywhere on Earth,
 *   from 1900-01-01 to 2030-01-01 (after 2025 a prediction). It omits the
 *   crustal field (a few tenths of a degree in places).
 * - NORVANE_AUTO: the grids from 2009-01-01 to 2015-12-31, the model on any
 *   other day.
 * Beside the declination, every element of the field (D, I, H, X, Y, Z, F and
 * their rates) by one of three main-field models: IGRF-14, WMM2025 and
 * WMMHR2025 (NorvaneChampTableau).
 *
 * Positions are WGS84 decimal degrees, east and north positive; the altitude
 * is in metres above the WGS84 ellipsoid (the grids ignore it). Declinations
 * are degrees east positive; annual variations degrees per year, for the
 * model the instantaneous rate from its secular variation (on an epoch day,
 * 1 January 1900, 1905, ..., the rate of the five years that start there).
 *
 * Texts are UTF-8. Nothing is raised, logged or printed; no number is given
 * without the status NORVANE_RESULTAT.
 *
 * Threads: NorvaneOuvre and NorvaneFerme are the only functions that write a
 * handle. Between them a handle is read-only: any number of threads may call
 * every other function with the same handle at once. The array functions keep
 * their per-date work on the caller's stack, not in the handle. Close a handle
 * once, after every call using it has returned.
 */
#ifndef NORVANE_H
#define NORVANE_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The source of a declination. */
enum {
    NORVANE_AUTO = 0,   /* grids from 2009-01-01 to 2015-12-31, model otherwise */
    NORVANE_GRILLE = 1, /* the calculator's grids */
    NORVANE_MODELE = 2  /* the IGRF-14 model */
};

/* The outcome of one point. The position is checked for every source, before
 * the period and the data. */
enum {
    NORVANE_RESULTAT = 0,             /* declination and variation given */
    NORVANE_DATE_NON_VALIDE = 1,      /* no such calendar day */
    NORVANE_HORS_PERIODE_GRILLE = 2,  /* grids: outside 2009-01-01 .. 2015-12-31 */
    NORVANE_HORS_PERIODE_MODELE = 3,  /* model: outside 1900-01-01 .. 2030-01-01 */
    NORVANE_HORS_ZONE = 4,            /* grids: no node with data at that place */
    NORVANE_POSITION_NON_VALIDE = 5,  /* not finite, latitude beyond +-90, longitude beyond +-180,
                                         altitude outside -10,000 m .. 1,000,000 m */
    NORVANE_POLE = 6,                 /* model: within 1e-7 degree of a geographic pole, or no horizontal field */
    NORVANE_DONNEES_ABSENTES = 7,     /* the source's file was not found when the handle was opened */
    NORVANE_SOURCE_NON_VALIDE = 8     /* a source other than the three above */
};

/* The data of both sources, read once from a directory. */
typedef struct NORVANE_DONNEES NORVANE_DONNEES;

/* One point's answer. source is the source actually used (NORVANE_GRILLE or
 * NORVANE_MODELE; NORVANE_AUTO when the date was not a valid day). declinaison
 * and variation_annuelle are 0.0 unless statut is NORVANE_RESULTAT. */
typedef struct NORVANE_DECLINAISON {
    int statut;
    int source;
    double declinaison;        /* degrees, east positive */
    double variation_annuelle; /* degrees per year */
} NORVANE_DECLINAISON;

/* Reads Grid2009_5.dat, GridVS2013Poly.dat and the models' files
 * (IGRF14.shc, WMM2025.COF, WMMHR2025.COF) from a directory
 * (UTF-8 path on every platform; "" or NULL: the current directory). A file
 * that cannot be read, or a grid file with fewer readable records than the
 * grid has nodes, leaves its source without data (NorvaneFichierManquant);
 * NULL only when memory runs out. */
NORVANE_DONNEES* NorvaneOuvre(const char* repertoire);
/* Frees a handle (NULL is ignored). */
void NorvaneFerme(NORVANE_DONNEES* donnees);

/* The name of the first file the source needs and the handle lacks
 * ("Grid2009_5.dat", "GridVS2013Poly.dat", "IGRF14.shc"; NORVANE_AUTO: any of
 * the three), or NULL when the source has everything. A static text. */
const char* NorvaneFichierManquant(const NORVANE_DONNEES* donnees, int source);

/* The declination at one place on one day. */
NORVANE_DECLINAISON NorvaneDeclinaison(const NORVANE_DONNEES* donnees, int source, int annee, int mois, int jour,
                                       double longitude, double latitude, double altitude);

/* n points: for each i, the day (annees[i], mois[i], jours[i]) and the place
 * (longitudes[i], latitudes[i], altitudes[i]; altitudes may be NULL for 0).
 * Writes declinaisons[i], variations[i] and statuts[i] (and sources[i] when
 * sources is not NULL) as NorvaneDeclinaison would. The model's coefficients
 * for a day are computed once for a run of consecutive points sharing it.
 * Returns the number of points with NORVANE_RESULTAT. */
size_t NorvaneDeclinaisonTableau(const NORVANE_DONNEES* donnees, int source, size_t n, const int* annees,
                                 const int* mois, const int* jours, const double* longitudes,
                                 const double* latitudes, const double* altitudes, double* declinaisons,
                                 double* variations, int* statuts, int* sources);
/* The same with each day given as days since 1970-01-01 (negative before). */
size_t NorvaneDeclinaisonTableauJours(const NORVANE_DONNEES* donnees, int source, size_t n,
                                      const int64_t* jours_depuis_1970, const double* longitudes,
                                      const double* latitudes, const double* altitudes, double* declinaisons,
                                      double* variations, int* statuts, int* sources);

/* The French message of a status, one line (NULL for NORVANE_RESULTAT and
 * unknown codes). Static text. */
const char* NorvaneMessage(int statut);

/* The result texts as the window and norvane-cli show them: "%3.2f °" and
 * "%3.2f °/an", a full stop whatever the locale. Writes the text and its NUL
 * when taille leaves room for them (else an empty text when taille > 0) and
 * returns the text's length in bytes, as snprintf does. */
size_t NorvaneTexteDeclinaison(double degres, char* tampon, size_t taille);
size_t NorvaneTexteVariation(double degres_par_an, char* tampon, size_t taille);

/* The main-field models, for NorvaneChampTableau. */
enum {
    NORVANE_IGRF = 0,  /* IGRF-14, 1900-01-01 .. 2030-01-01 */
    NORVANE_WMM = 1,   /* WMM2025, 2025-01-01 .. 2030-01-01 */
    NORVANE_WMMHR = 2  /* WMMHR2025 (degree 133, with the crustal field), same span */
};
#define NORVANE_NOMBRE_MODELES 3
/* Values per point: D, I, H, X, Y, Z, F, then dD, dI, dH, dX, dY, dZ, dF
 * (degrees and nT, then degrees and nT per year); the uncertainties of D, I,
 * H, X, Y, Z, F (one standard error, degrees and nT). */
#define NORVANE_ELEMENTS 14
#define NORVANE_INCERTITUDES 7
/* The zones near the magnetic poles, by H. */
enum {
    NORVANE_ZONE_NORMALE = 0,      /* H at least 6000 nT */
    NORVANE_ZONE_PRUDENCE = 1,     /* H below 6000 nT: use with caution */
    NORVANE_ZONE_INUTILISABLE = 2  /* H below 2000 nT: the compass is unreliable */
};

/* The code of a model by its key ("igrf", "wmm", "wmmhr", case ignored), or -1. */
int NorvaneModele(const char* cle);
/* About a model (static UTF-8 texts, NULL for an unknown code): its key, its
 * name ("WMM2025"), its file, its span ("du 1er janvier 2025 au 1er janvier
 * 2030") and what it is, in French. */
const char* NorvaneModeleCle(int modele);
const char* NorvaneModeleNom(int modele);
const char* NorvaneModeleFichier(int modele);
const char* NorvaneModelePeriode(int modele);
const char* NorvaneModeleDescription(int modele);
/* The span as decimal years, both included (NaN for an unknown code). */
double NorvaneModeleDebut(int modele);
double NorvaneModeleFin(int modele);
/* The grids' period, both days included (a static UTF-8 text): "du 1er
 * janvier 2009 au 31 décembre 2015", or with iso non-zero the ISO 8601
 * interval "2009-01-01/2015-12-31". */
const char* NorvanePeriodeGrilles(int iso);
/* The models' time of a day: year + (day of year - 1) / days in the year; NaN
 * for a day that does not exist. */
double NorvaneAnneeDecimale(int annee, int mois, int jour);
/* The same for a day given as days since 1970-01-01. */
double NorvaneAnneeDecimaleJours(int64_t jours_depuis_1970);
/* The name of value k of the elements: "D", "I", ..., "dF" (k = 0 to 13), NULL
 * beyond. */
const char* NorvaneElementNom(int k);
/* The zone in words (UTF-8), NULL for NORVANE_ZONE_NORMALE. */
const char* NorvaneZoneTexte(int zone);

/* n points of one model: for each i, the decimal year annees[i] and the place
 * (longitudes[i], latitudes[i], altitudes[i]; altitudes may be NULL for 0).
 * Writes statuts[i] (the statuses of NorvaneDeclinaison: NORVANE_RESULTAT,
 * NORVANE_DATE_NON_VALIDE for NaN, NORVANE_POSITION_NON_VALIDE,
 * NORVANE_HORS_PERIODE_MODELE, NORVANE_POLE, NORVANE_DONNEES_ABSENTES;
 * NORVANE_SOURCE_NON_VALIDE for an unknown model), elements[14 i .. 14 i + 13],
 * and, when not NULL, incertitudes[7 i .. 7 i + 6] (NaN where the model
 * publishes none: IGRF-14) and zones[i]. No number is given (all 0) without
 * NORVANE_RESULTAT. The coefficients are computed once for a run of
 * consecutive points sharing a year; each point's values are those it has
 * alone. Returns the number of points with NORVANE_RESULTAT. */
size_t NorvaneChampTableau(const NORVANE_DONNEES* donnees, int modele, size_t n, const double* annees,
                           const double* longitudes, const double* latitudes, const double* altitudes,
                           double* elements, double* incertitudes, int* zones, int* statuts);
/* The message of a status for a model, naming its span or its file (UTF-8,
 * static), NULL for NORVANE_RESULTAT and unknown codes. */
const char* NorvaneMessageModele(int statut, int modele);

/* The meridian convergence of Lambert 93 at a WGS84 position: the angle from
 * true north to grid north, degrees, positive east of 3 degrees E. The angle
 * from grid north to magnetic north is the declination minus it. Returns 1 and
 * writes *degres, or 0 where the engine cannot project the place. */
int NorvaneConvergenceLambert93(double longitude, double latitude, double* degres);

#ifdef __cplusplus
}
#endif

#endif
