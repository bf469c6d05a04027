// The proleptic Gregorian calendar: leap years, valid dates and day numbers.
// The calculator's date checks and the geomagnetic model's decimal years both
// count days with these.
#ifndef NORVANE_CALENDAR_H
#define NORVANE_CALENDAR_H

#include <string>

// Divisible by 4, except centuries not divisible by 400.
bool IsLeapYear(int nYear);
// 365 or 366.
int DaysInYear(int nYear);
// Whether year, month and day name a day of the calendar.
bool IsCalendarDate(int nYear, int nMonth, int nDay);
// Days from 1970-01-01 to a date (integers only; any year, month 1 to 12).
long long CalendarDayNumber(int nYear, int nMonth, int nDay);
// The date of a day number (its inverse; the caller keeps the number within
// the years an int holds).
void CalendarDateFromDayNumber(long long nDayNumber, int* pnYear, int* pnMonth, int* pnDay);
// 1 for January 1st, up to 365 or 366.
int DayOfYear(int nYear, int nMonth, int nDay);
// A day in French words, UTF-8: "1er janvier 2025", "31 décembre 2015".
std::string FrenchDayText(int nYear, int nMonth, int nDay);

#endif
