// The declination at a place on a date, by either source: the calculator's
// grids (the computation behind "Calculer") or the geomagnetic model. The
// window's entry (degrees-minutes-seconds, hemisphere buttons) is converted
// here to decimal degrees for the dialog; every other caller hands over
// decimal degrees to DeclinationAtPlace. Pure apart from the engine call,
// which is passed in.
#ifndef NORVANE_DECLINATION_H
#define NORVANE_DECLINATION_H

#include <string>

#include "Calendar.h"
#include "DeclinationGrids.h"
#include "Igrf.h"
#include "MagneticElements.h"
#include "ModelTable.h"
#include "geokern2.h"

// Messages, in UTF-8 as every text of the core; the window shows them in
// Windows-1252 (Utf8ToWindows1252).
constexpr char kszMsgDateNotValid[] = "Date non valide";
constexpr char kszMsgDateOutOfPeriod[] =
    "La date doit \xC3\xAAtre comprise entre \n Janvier 2009 et D\xC3\xA9"
    "cembre 2015.";
constexpr char kszMsgOutOfZone[] = "Coordonn\xC3\xA9"
                                   "es hors zone";
// The model's messages; ModelMessage gives the ones that name
// the model and its span.
constexpr char kszMsgModelOutOfPeriod[] = "Date hors de la p\xC3\xA9riode du mod\xC3\xA8le";
constexpr char kszMsgPositionNotValid[] =
    "Position non valide : la latitude doit \xC3\xAAtre comprise entre -90\xC2\xB0 et 90\xC2\xB0, la longitude entre "
    "-180\xC2\xB0 et 180\xC2\xB0, l'altitude entre -10 000 m et 1 000 000 m.";
constexpr char kszMsgPole[] =
    "D\xC3\xA9"
    "clinaison non d\xC3\xA9"
    "finie en ce point : p\xC3\xB4le g\xC3\xA9ographique ou champ magn\xC3\xA9tique vertical.";
constexpr char kszMsgModelMissing[] = "Fichier de coefficients du mod\xC3\xA8le introuvable";

// The grids' period, both days included: the dates every interface states
// (kszMsgDateOutOfPeriod is the window's own wording of them).
constexpr int kGridFirstYear = 2009, kGridFirstMonth = 1, kGridFirstDay = 1;
constexpr int kGridLastYear = 2015, kGridLastMonth = 12, kGridLastDay = 31;
// "du 1er janvier 2009 au 31 décembre 2015" (UTF-8), as ModelSpanText.
std::string GridPeriodText();
// "2009-01-01/2015-12-31", an ISO 8601 interval.
std::string GridPeriodIso();

// The two sources.
enum DeclinationSource {
    kSourceGrid,  // the calculator's grids, 2009-01-01 to 2015-12-31, metropolitan France
    kSourceModel  // a main-field model of ModelTable.h, over its span, anywhere
};

// What the dialog hands over after its own transfer and validation. The date
// text is parsed by the platform layer; only its calendar day arrives here.
struct DeclinationInput {
    bool m_bDateParsed;  // false: the date text did not parse
    int m_nYear;
    int m_nMonth;  // 1 to 12
    int m_nDay;    // 1 to 31
    int m_nLatDeg;
    unsigned int m_uLatMin;
    unsigned int m_uLatSec;
    int m_nLonDeg;
    unsigned int m_uLonMin;
    unsigned int m_uLonSec;
    double m_dLatDecimal;
    double m_dLonDecimal;
    // Radio buttons reported as checked; their partners are never read.
    bool m_bRadioDms;       // "Coordonnees en deg-min-sec (WGS84)", else decimal mode
    bool m_bRadioDmsNorth;  // DMS "Nord", else "Sud"
    bool m_bRadioDmsEast;   // DMS "Est", else "Ouest"
    bool m_bRadioDecNorth;  // decimal "Nord", else "Sud"
    bool m_bRadioDecEast;   // decimal "Est", else "Ouest"
};

enum DeclinationStatus {
    kDeclinationDateNotValid,     // "Date non valide", result fields unchanged
    kDeclinationDateOutOfPeriod,  // period message, result fields unchanged
    kDeclinationOutOfZone,        // "Coordonnees hors zone", both result fields emptied
    kDeclinationResult,           // the two texts below
    // The model only:
    kDeclinationModelOutOfPeriod,  // date outside the model's span
    kDeclinationPositionNotValid,  // not finite, or outside the ranges of kszMsgPositionNotValid
    kDeclinationPole,              // within 1e-7 degree of a geographic pole, or no horizontal field
    kDeclinationModelMissing       // no coefficient file
};

struct DeclinationOutcome {
    DeclinationStatus m_eStatus;
    std::string m_strDeclination;       // "%3.2f °" (UTF-8), set only for a result
    std::string m_strAnnualVariation;   // "%3.2f °/an", set only for a result
    double m_dDeclination = 0.0;        // the value behind m_strDeclination, degrees
    double m_dAnnualVariation = 0.0;    // the node's variation widened to double, degrees per year
                                        // (the model: its instantaneous rate)
    const ModelDescription* m_pModel = nullptr;  // the model's row, for its outcomes
};

// The message box text for a status, or nullptr for a result.
const char* DeclinationMessage(DeclinationStatus eStatus);
// The message of an outcome in UTF-8; the model's span and file named in its
// own messages.
std::string OutcomeMessage(DeclinationStatus eStatus, const ModelDescription* pModel);

// The window's computation: its entry converted by EntryToDegrees, then
// DeclinationAtPlace by the grids. pfnTransform is the engine's
// SysCoord2SysCoord (a null pointer gives the out-of-zone outcome).
DeclinationOutcome ComputeDeclination(const DeclinationInput& input, const DeclinationGrids& grids,
                                      PFN_SysCoord2SysCoord pfnTransform);

// The declination at a WGS84 position in signed decimal degrees (east and north
// positive) on a date, by the source the caller chooses.
// - kSourceGrid: the date checked against the grids' period, the position sent
//   through pfnTransform to NTF Lambert II extended, the nearest node
//   (DeclinationAtLambert2E); the altitude is not used.
// - kSourceModel: the model's field at the place and altitude (metres above the
//   ellipsoid) on that day; pModel null gives kDeclinationModelMissing.
// The date comes first: a day that does not exist is kDeclinationDateNotValid.
// pModelDay, when given, keeps the model's coefficients of the last day asked
// for, so that a run of places on one day computes them once.
class CModelDayCache;
DeclinationOutcome DeclinationAtPlace(DeclinationSource eSource, bool bDateParsed, int nYear, int nMonth, int nDay,
                                      double dLongitude, double dLatitude, double dAltitudeMetres,
                                      const DeclinationGrids& grids, PFN_SysCoord2SysCoord pfnTransform,
                                      const CIgrfModel* pModel, CModelDayCache* pModelDay = nullptr);

// The model's steps, for callers that keep one snapshot for many places.
// Whether a date lies in the model's span (an existing day is assumed): its
// row's span and its file's epochs (a model without its row: the epochs).
bool IsDateInModelSpan(const CIgrfModel& model, int nYear, int nMonth, int nDay);
bool IsDecimalYearInModelSpan(const CIgrfModel& model, double dDecimalYear);
// Latitude -90 to 90, longitude -180 to 180, altitude -10,000 to 1,000,000 m,
// all finite.
bool IsModelPositionValid(double dLongitude, double dLatitude, double dAltitudeMetres);
// The model's coefficients on a day of its span.
CIgrfSnapshot ModelSnapshot(const CIgrfModel& model, int nYear, int nMonth, int nDay);
// The coefficients of the last date asked for, computed again only when the
// date or the model changes.
class CModelDayCache {
public:
    const CIgrfSnapshot& At(const CIgrfModel& model, int nYear, int nMonth, int nDay) {
        return At(model, IgrfDecimalYear(nYear, nMonth, nDay));
    }
    const CIgrfSnapshot& At(const CIgrfModel& model, double dDecimalYear);

private:
    bool m_bValid = false;
    const CIgrfModel* m_pModel = nullptr;
    double m_dDecimalYear = 0.0;
    CIgrfSnapshot m_snapshot;
};

// Every element of a model's field at a place (WGS84 degrees, metres above the
// ellipsoid) and a decimal year.
struct FieldOutcome {
    DeclinationStatus m_eStatus = kDeclinationResult;  // a result, or the model's statuses
    double m_dElements[kElementWithRatesCount] = {};   // MagneticElements.h order; 0 unless a result
    bool m_bUncertainty = false;                       // the model publishes one
    double m_dUncertainties[kElementCount] = {};
    PoleZone m_eZone = kPoleZoneNone;
};
// The checks of DeclinationAtPlace in the same order (position, data, span),
// then the field; pCache as there.
FieldOutcome FieldAtPlace(const CIgrfModel* pModel, double dDecimalYear, double dLongitude, double dLatitude,
                          double dAltitudeMetres, CModelDayCache* pCache = nullptr);
// The elements at a valid position from a snapshot: a result, or
// kDeclinationPole at a geographic pole or where there is no horizontal field.
FieldOutcome FieldFromSnapshot(const CIgrfSnapshot& snapshot, const ModelDescription* pModel, double dLongitude,
                               double dLatitude, double dAltitudeMetres);
// The outcome at a valid position from a snapshot: a result, or kDeclinationPole.
DeclinationOutcome DeclinationFromSnapshot(const CIgrfSnapshot& snapshot, double dLongitude, double dLatitude,
                                           double dAltitudeMetres);

// The computation from the engine's answer on: a position in NTF Lambert II
// extended metres (as SysCoord2SysCoord gives it, failure pair included) and a
// date to the outcome, by the steps ComputeDeclination ends with; a caller holding a
// position in another system of the catalogue brings it to NTFL2E with the
// engine and calls this.
DeclinationOutcome DeclinationAtLambert2E(COORDONNEES_TYPE_NC pointLambert2E, bool bDateParsed, int nYear,
                                          int nMonth, int nDay, const DeclinationGrids& grids);

// kDeclinationDateNotValid, kDeclinationDateOutOfPeriod, or kDeclinationResult
// for a calendar day of the period.
DeclinationStatus CheckDeclinationDate(bool bDateParsed, int nYear, int nMonth, int nDay);

// The steps, for the tests and for whoever needs one of them. The calendar is
// in Calendar.h; the node rule and the formula at a node in DeclinationGrids.h.

// Whether a day lies in the grids' period, both days included.
bool IsDateInPeriod(int nYear, int nMonth, int nDay);

// Signed decimal degrees from the entry, as (latitude, longitude).
void EntryToDegrees(const DeclinationInput& input, double* pdLatitude, double* pdLongitude);
// Seconds term plus minutes term, then the degrees.
double DmsToDegrees(int nDeg, unsigned int uMin, unsigned int uSec);

// The period message of the window on one line: the line feed and the spaces
// around it become one space.
std::string PeriodMessageOnOneLine();

// "%3.2f °" and "%3.2f °/an" (UTF-8) with a full stop whatever the C locale.
std::string FormatDeclination(double dDegrees);
std::string FormatAnnualVariation(double dDegreesPerYear);

#endif
