// The declination computation: date, position, engine, node, texts.
#include "Declination.h"

#include <charconv>
#include <cmath>

namespace {

// Constants of the computation, kept as the stored literals.
constexpr double kYearsPerDay = 0.0027397260273972603;     // nearest double to 1/365
constexpr double kDegreesPerSecond = 0.0002777777777777778;  // nearest double to 1/3600
constexpr double kDegreesPerMinute = 0.016666666666666666;   // nearest double to 1/60
constexpr double kHemisphereFactor = -1.0;
constexpr double kKilometresPerMetre = 0.001;

constexpr int kFirstYear = 2009, kFirstMonth = 1, kFirstDay = 1;
constexpr int kLastYear = 2015, kLastMonth = 12, kLastDay = 31;
constexpr int kEpochYear = 2009, kEpochMonth = 7, kEpochDay = 1;

// "%3.2f" followed by a suffix, without the C locale's say on the decimal
// separator: to_chars always writes a full stop, keeps the sign of -0.00 and
// rounds the exact binary value like printf does.
std::string FormatFixed2(double dValue, const char* pszSuffix) {
    char szNumber[400];  // the widest double in fixed notation fits
    const std::to_chars_result result =
        std::to_chars(szNumber, szNumber + sizeof szNumber, dValue, std::chars_format::fixed, 2);
    std::string strText(szNumber, result.ptr);
    if (strText.size() < 3) strText.insert(0, 3 - strText.size(), ' ');  // minimum width 3
    return strText + pszSuffix;
}

DeclinationOutcome Outcome(DeclinationStatus eStatus) {
    DeclinationOutcome outcome;
    outcome.m_eStatus = eStatus;
    return outcome;
}

}  // namespace

const char* DeclinationMessage(DeclinationStatus eStatus) {
    switch (eStatus) {
    case kDeclinationDateNotValid: return kszMsgDateNotValid;
    case kDeclinationDateOutOfPeriod: return kszMsgDateOutOfPeriod;
    case kDeclinationOutOfZone: return kszMsgOutOfZone;
    case kDeclinationResult: break;
    }
    return nullptr;
}

long long CalendarDayNumber(int nYear, int nMonth, int nDay) {
    // Days from civil: years counted from March, so the leap day ends a year.
    const long long nY = static_cast<long long>(nYear) - (nMonth <= 2 ? 1 : 0);
    const long long nEra = (nY >= 0 ? nY : nY - 399) / 400;
    const long long nYearOfEra = nY - nEra * 400;                               // 0 to 399
    const long long nMonthFromMarch = nMonth > 2 ? nMonth - 3 : nMonth + 9;     // 0 to 11
    const long long nDayOfYear = (153 * nMonthFromMarch + 2) / 5 + nDay - 1;    // 0 to 365
    const long long nDayOfEra = nYearOfEra * 365 + nYearOfEra / 4 - nYearOfEra / 100 + nDayOfYear;
    return nEra * 146097 + nDayOfEra - 719468;
}

bool IsCalendarDate(int nYear, int nMonth, int nDay) {
    if (nMonth < 1 || nMonth > 12 || nDay < 1) return false;
    static const int kDaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool bLeap = (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
    const int nLength = kDaysInMonth[nMonth - 1] + (nMonth == 2 && bLeap ? 1 : 0);
    return nDay <= nLength;
}

bool IsDateInPeriod(int nYear, int nMonth, int nDay) {
    const long long nDayNumber = CalendarDayNumber(nYear, nMonth, nDay);
    return nDayNumber >= CalendarDayNumber(kFirstYear, kFirstMonth, kFirstDay) &&
           nDayNumber <= CalendarDayNumber(kLastYear, kLastMonth, kLastDay);
}

long long DaysSinceEpoch(int nYear, int nMonth, int nDay) {
    return CalendarDayNumber(nYear, nMonth, nDay) - CalendarDayNumber(kEpochYear, kEpochMonth, kEpochDay);
}

double YearsFromDays(long long nDays) { return static_cast<double>(nDays) * kYearsPerDay; }

double DmsToDegrees(int nDeg, unsigned int uMin, unsigned int uSec) {
    // The seconds and minutes terms first, then the degrees.
    const double dFraction = uSec * kDegreesPerSecond + uMin * kDegreesPerMinute;
    return dFraction + nDeg;
}

void EntryToDegrees(const DeclinationInput& input, double* pdLatitude, double* pdLongitude) {
    double dLatitude;
    double dLongitude;
    if (input.m_bRadioDms) {
        dLatitude = DmsToDegrees(input.m_nLatDeg, input.m_uLatMin, input.m_uLatSec);
        if (!input.m_bRadioDmsNorth) dLatitude *= kHemisphereFactor;
        dLongitude = DmsToDegrees(input.m_nLonDeg, input.m_uLonMin, input.m_uLonSec);
        if (!input.m_bRadioDmsEast) dLongitude *= kHemisphereFactor;
    } else {
        dLatitude = input.m_dLatDecimal;
        if (!input.m_bRadioDecNorth) dLatitude *= kHemisphereFactor;
        dLongitude = input.m_dLonDecimal;
        if (!input.m_bRadioDecEast) dLongitude *= kHemisphereFactor;
    }
    *pdLatitude = dLatitude;
    *pdLongitude = dLongitude;
}

bool MetresToKilometres(double dMetres, int* pnKm) {
    const double dKm = dMetres * kKilometresPerMetre;
    // Truncation toward zero fits a 32-bit integer exactly on this open
    // interval; NaN fails the comparisons too.
    if (!(dKm > -2147483649.0 && dKm < 2147483648.0)) return false;
    *pnKm = static_cast<int>(dKm);
    return true;
}

int NearestNodeIndex(int nKm, int nOriginKm) {
    const long long nOffset = static_cast<long long>(nKm) - nOriginKm;
    long long nIndex = nOffset / kGridStepKm;
    long long nRemainder = nOffset % kGridStepKm;
    if (nRemainder < 0) {  // floor division
        nIndex -= 1;
        nRemainder += kGridStepKm;
    }
    if (nRemainder > 2.5) nIndex += 1;  // 3 or 4 km past a node: the next one is nearer
    return static_cast<int>(nIndex);
}

std::string FormatDeclination(double dDegrees) { return FormatFixed2(dDegrees, " \xB0"); }

std::string FormatAnnualVariation(double dDegreesPerYear) { return FormatFixed2(dDegreesPerYear, " \xB0/an"); }

DeclinationStatus CheckDeclinationDate(bool bDateParsed, int nYear, int nMonth, int nDay) {
    if (!bDateParsed || !IsCalendarDate(nYear, nMonth, nDay)) return kDeclinationDateNotValid;
    if (!IsDateInPeriod(nYear, nMonth, nDay)) return kDeclinationDateOutOfPeriod;
    return kDeclinationResult;
}

DeclinationOutcome DeclinationAtLambert2E(COORDONNEES_TYPE_NC pointLambert2E, bool bDateParsed, int nYear,
                                          int nMonth, int nDay, const DeclinationGrids& grids) {
    const DeclinationStatus eDate = CheckDeclinationDate(bDateParsed, nYear, nMonth, nDay);
    if (eDate != kDeclinationResult) return Outcome(eDate);
    const double dYears = YearsFromDays(DaysSinceEpoch(nYear, nMonth, nDay));

    // Whole kilometres before the node choice; the engine's failure pair
    // (-9999, -9999) lands at -9 km, outside the lattice.
    int nKmX;
    int nKmY;
    if (!MetresToKilometres(pointLambert2E.x_lambda, &nKmX) || !MetresToKilometres(pointLambert2E.y_phi, &nKmY))
        return Outcome(kDeclinationOutOfZone);
    const int i = NearestNodeIndex(nKmX, kGridOriginEastKm);
    const int j = NearestNodeIndex(nKmY, kGridOriginNorthKm);
    if (!NodeHasData(grids, i, j)) return Outcome(kDeclinationOutOfZone);

    const float fEpoch = grids.declinationAtEpoch[GridNodeIndex(i, j)];
    const float fVariation = grids.annualVariation[GridNodeIndex(i, j)];
    const double dProduct = dYears * static_cast<double>(fVariation);
    const double dDeclination = dProduct + static_cast<double>(fEpoch);

    DeclinationOutcome outcome = Outcome(kDeclinationResult);
    outcome.m_strDeclination = FormatDeclination(dDeclination);
    outcome.m_strAnnualVariation = FormatAnnualVariation(fVariation);
    outcome.m_dDeclination = dDeclination;
    outcome.m_dAnnualVariation = fVariation;
    return outcome;
}

DeclinationOutcome ComputeDeclination(const DeclinationInput& input, const DeclinationGrids& grids,
                                      PFN_SysCoord2SysCoord pfnTransform) {
    // The date is checked before the engine is asked anything.
    const DeclinationStatus eDate =
        CheckDeclinationDate(input.m_bDateParsed, input.m_nYear, input.m_nMonth, input.m_nDay);
    if (eDate != kDeclinationResult) return Outcome(eDate);

    double dLatitude;
    double dLongitude;
    EntryToDegrees(input, &dLatitude, &dLongitude);

    if (pfnTransform == nullptr) return Outcome(kDeclinationOutOfZone);
    COORDONNEES_TYPE_NC pointIn;
    pointIn.x_lambda = dLongitude;
    pointIn.y_phi = dLatitude;
    const COORDONNEES_TYPE_NC pointOut = pfnTransform(pointIn, WGS84GG, NTFL2E);
    return DeclinationAtLambert2E(pointOut, input.m_bDateParsed, input.m_nYear, input.m_nMonth, input.m_nDay, grids);
}
