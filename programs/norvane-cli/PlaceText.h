// Reading the dates and positions of norvane-cli's input: the calendar day of
// a date text and the parts of an angle, for the calculator's computation to
// take over. Nothing here depends on the C locale.
#ifndef NORVANE_CLI_PLACETEXT_H
#define NORVANE_CLI_PLACETEXT_H

#include <string_view>

// "2013-01-01" (ISO) or "01/01/2013" (French short form; day and month of one
// or two digits). Whether the day exists is the computation's question:
// "31/02/2012" is read as day 31 of month 2.
struct ParsedDate {
    bool m_bParsed = false;
    int m_nYear = 0;
    int m_nMonth = 0;
    int m_nDay = 0;
    // A decimal year instead ("2025.5": four digits, a point, digits), which
    // only the models take; m_bParsed stays false for the grids.
    bool m_bDecimalYear = false;
    double m_dDecimalYear = 0.0;
};
ParsedDate ParseDate(std::string_view text);

enum class Axis { kNone, kLatitude, kLongitude };

// An angle as the calculator's entry fields hold it: a magnitude, either in
// decimal degrees or in whole degrees, minutes and seconds, and a hemisphere.
//   47.2  -1.5  47.2N  1.5W  1.5 O  47.2°N           decimal degrees
//   47°12'30"N  47d12m30s N  47:12:30N  47°12'  -1:30  whole degrees, minutes, seconds
// Hemisphere letters N, S (latitude), E, O, W (longitude), of either case,
// after the number (a space may come between); a lowercase s right after the
// seconds is their mark. A sign and a letter together are refused.
struct ParsedAngle {
    bool m_bValid = false;
    Axis m_eAxis = Axis::kNone;  // named by the hemisphere letter
    bool m_bNegative = false;    // minus sign, or S, O, W
    bool m_bDms = false;
    double m_dDecimal = 0.0;     // decimal form
    unsigned int m_uDeg = 0;     // degrees-minutes-seconds form
    unsigned int m_uMin = 0;
    unsigned int m_uSec = 0;
};
ParsedAngle ParseAngle(std::string_view text);

// Whether the magnitude is one the calculator's fields accept: at most 90
// (latitude) or 180 (longitude) degrees, minutes and seconds 0 to 59.
bool AngleInRange(const ParsedAngle& angle, Axis eAxis);

// Signed decimal degrees, the degrees-minutes-seconds form summed by the
// calculator's own rule.
double SignedDegrees(const ParsedAngle& angle);

// A plain number (metres), in the form every program reads (programs::ReadNumber).
bool ParseNumber(std::string_view text, double* pdValue);

#endif
