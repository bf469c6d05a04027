// Calendar arithmetic on integers.
#include "Calendar.h"

bool IsLeapYear(int nYear) { return (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0; }

int DaysInYear(int nYear) { return IsLeapYear(nYear) ? 366 : 365; }

bool IsCalendarDate(int nYear, int nMonth, int nDay) {
    if (nMonth < 1 || nMonth > 12 || nDay < 1) return false;
    static const int kDaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int nLength = kDaysInMonth[nMonth - 1] + (nMonth == 2 && IsLeapYear(nYear) ? 1 : 0);
    return nDay <= nLength;
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

int DayOfYear(int nYear, int nMonth, int nDay) {
    return static_cast<int>(CalendarDayNumber(nYear, nMonth, nDay) - CalendarDayNumber(nYear, 1, 1)) + 1;
}

void CalendarDateFromDayNumber(long long nDayNumber, int* pnYear, int* pnMonth, int* pnDay) {
    // The inverse of CalendarDayNumber, years again counted from March.
    const long long nZ = nDayNumber + 719468;
    const long long nEra = (nZ >= 0 ? nZ : nZ - 146096) / 146097;
    const long long nDayOfEra = nZ - nEra * 146097;                                                   // 0 to 146096
    const long long nYearOfEra = (nDayOfEra - nDayOfEra / 1460 + nDayOfEra / 36524 - nDayOfEra / 146096) / 365;
    const long long nDayOfYear = nDayOfEra - (365 * nYearOfEra + nYearOfEra / 4 - nYearOfEra / 100);  // 0 to 365
    const long long nMonthFromMarch = (5 * nDayOfYear + 2) / 153;                                     // 0 to 11
    *pnDay = static_cast<int>(nDayOfYear - (153 * nMonthFromMarch + 2) / 5 + 1);
    *pnMonth = static_cast<int>(nMonthFromMarch < 10 ? nMonthFromMarch + 3 : nMonthFromMarch - 9);
    *pnYear = static_cast<int>(nYearOfEra + nEra * 400 + (*pnMonth <= 2 ? 1 : 0));
}

std::string FrenchDayText(int nYear, int nMonth, int nDay) {
    static const char* const kMonthNames[12] = {"janvier", "f\xC3\xA9vrier", "mars", "avril", "mai", "juin",
                                                "juillet", "ao\xC3\xBBt", "septembre", "octobre", "novembre",
                                                "d\303\251cembre"};
    return (nDay == 1 ? std::string("1er") : std::to_string(nDay)) + " " + kMonthNames[nMonth - 1] + " " +
           std::to_string(nYear);
}
