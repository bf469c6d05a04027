// The declination computation behind "Calculer": from the parsed date, the
// entry values and the radio states to the two result texts or a message.
// Pure apart from the engine call, which is passed in.
#ifndef NORVANE_DECLINATION_H
#define NORVANE_DECLINATION_H

#include <string>

#include "Calendar.h"
#include "DeclinationGrids.h"
#include "geokern2.h"

// Messages, in Windows-1252 bytes (0xEA e circumflex, 0xE9 e acute).
constexpr char kszMsgDateNotValid[] = "Date non valide";
constexpr char kszMsgDateOutOfPeriod[] =
    "La date doit \xEAtre comprise entre \n Janvier 2009 et D\xE9"
    "cembre 2015.";
constexpr char kszMsgOutOfZone[] = "Coordonn\xE9"
                                   "es hors zone";

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
    kDeclinationResult            // the two texts below
};

struct DeclinationOutcome {
    DeclinationStatus m_eStatus;
    std::string m_strDeclination;       // "%3.2f \xB0", set only for a result
    std::string m_strAnnualVariation;   // "%3.2f \xB0/an", set only for a result
    double m_dDeclination = 0.0;        // the value behind m_strDeclination, degrees
    double m_dAnnualVariation = 0.0;    // the node's variation widened to double, degrees per year
};

// The message box text for a status, or nullptr for a result.
const char* DeclinationMessage(DeclinationStatus eStatus);

// The whole computation. pfnTransform is the engine's SysCoord2SysCoord (a null
// pointer gives the out-of-zone outcome).
DeclinationOutcome ComputeDeclination(const DeclinationInput& input, const DeclinationGrids& grids,
                                      PFN_SysCoord2SysCoord pfnTransform);

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

// 2009-01-01 to 2015-12-31, both included.
bool IsDateInPeriod(int nYear, int nMonth, int nDay);

// Signed decimal degrees from the entry, as (latitude, longitude).
void EntryToDegrees(const DeclinationInput& input, double* pdLatitude, double* pdLongitude);
// Seconds term plus minutes term, then the degrees.
double DmsToDegrees(int nDeg, unsigned int uMin, unsigned int uSec);

// "%3.2f \xB0" and "%3.2f \xB0/an" with a full stop whatever the C locale.
std::string FormatDeclination(double dDegrees);
std::string FormatAnnualVariation(double dDegreesPerYear);

#endif
