#include "PlaceText.h"

#include <cmath>

#include "Declination.h"
#include "Numbers.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits only, at most nMax of them, at least one.
bool ReadUnsigned(std::string_view text, std::size_t* puPos, std::size_t uMaxDigits, unsigned int* puValue) {
    const std::size_t uStart = *puPos;
    unsigned int uValue = 0;
    while (*puPos < text.size() && IsDigit(text[*puPos]) && *puPos - uStart < uMaxDigits)
        uValue = uValue * 10 + static_cast<unsigned int>(text[(*puPos)++] - '0');
    if (*puPos == uStart || (*puPos < text.size() && IsDigit(text[*puPos]))) return false;
    *puValue = uValue;
    return true;
}

// Digits with an optional fraction ("12", "12.5", ".5", "12."), read as a
// double; whether a full stop was there goes to pbFraction.
bool ReadDecimal(std::string_view text, std::size_t* puPos, double* pdValue, bool* pbFraction) {
    const std::size_t uStart = *puPos;
    std::size_t uDigits = 0;
    while (*puPos < text.size() && IsDigit(text[*puPos])) ++*puPos, ++uDigits;
    *pbFraction = *puPos < text.size() && text[*puPos] == '.';
    if (*pbFraction) {
        ++*puPos;
        while (*puPos < text.size() && IsDigit(text[*puPos])) ++*puPos, ++uDigits;
    }
    if (uDigits == 0) return false;
    return programs::ReadNumber(text.substr(uStart, *puPos - uStart), pdValue);
}

// Consumes one of the marks at the position, if one is there.
bool ReadMark(std::string_view text, std::size_t* puPos, std::initializer_list<std::string_view> marks) {
    for (const std::string_view mark : marks) {
        if (text.substr(*puPos, mark.size()) == mark) {
            *puPos += mark.size();
            return true;
        }
    }
    return false;
}

// The degree sign in UTF-8, Windows-1252 and the DOS code pages of a Windows
// console, and the letter d.
const std::initializer_list<std::string_view> kDegreeMarks = {"\xC2\xB0", "\xB0", "\xF8", "d"};
// Prime and right single quotation mark (UTF-8), apostrophe, m.
const std::initializer_list<std::string_view> kMinuteMarks = {"\xE2\x80\xB2", "\xE2\x80\x99", "'", "m"};
// Double prime (UTF-8), two apostrophes, quotation mark, s.
const std::initializer_list<std::string_view> kSecondMarks = {"\xE2\x80\xB3", "''", "\"", "s"};

int TwoDigitsOrOne(std::string_view text) {
    if (text.empty() || text.size() > 2) return -1;
    int nValue = 0;
    for (const char c : text) {
        if (!IsDigit(c)) return -1;
        nValue = nValue * 10 + (c - '0');
    }
    return nValue;
}

int FourDigits(std::string_view text) {
    if (text.size() != 4) return -1;
    int nValue = 0;
    for (const char c : text) {
        if (!IsDigit(c)) return -1;
        nValue = nValue * 10 + (c - '0');
    }
    return nValue;
}

}  // namespace

ParsedDate ParseDate(std::string_view text) {
    ParsedDate date;
    int nYear = -1, nMonth = -1, nDay = -1;
    if (text.size() >= 6 && text[4] == '.' && FourDigits(text.substr(0, 4)) >= 0 &&
        text.find_first_not_of("0123456789", 5) == std::string_view::npos) {  // yyyy.f
        date.m_bDecimalYear = ParseNumber(text, &date.m_dDecimalYear);
        return date;
    }
    if (text.size() >= 8 && text[4] == '-') {  // yyyy-mm-dd
        const std::size_t uDash = text.find('-', 5);
        if (uDash == std::string_view::npos) return date;
        nYear = FourDigits(text.substr(0, 4));
        nMonth = TwoDigitsOrOne(text.substr(5, uDash - 5));
        nDay = TwoDigitsOrOne(text.substr(uDash + 1));
    } else {  // dd/mm/yyyy
        const std::size_t uSlash1 = text.find('/');
        if (uSlash1 == std::string_view::npos) return date;
        const std::size_t uSlash2 = text.find('/', uSlash1 + 1);
        if (uSlash2 == std::string_view::npos) return date;
        nDay = TwoDigitsOrOne(text.substr(0, uSlash1));
        nMonth = TwoDigitsOrOne(text.substr(uSlash1 + 1, uSlash2 - uSlash1 - 1));
        nYear = FourDigits(text.substr(uSlash2 + 1));
    }
    if (nYear < 0 || nMonth < 0 || nDay < 0) return date;
    date.m_bParsed = true;
    date.m_nYear = nYear;
    date.m_nMonth = nMonth;
    date.m_nDay = nDay;
    return date;
}

ParsedAngle ParseAngle(std::string_view text) {
    ParsedAngle angle;
    std::size_t uPos = 0;
    bool bSign = false;
    if (uPos < text.size() && (text[uPos] == '-' || text[uPos] == '+')) {
        bSign = true;
        angle.m_bNegative = text[uPos] == '-';
        ++uPos;
    }

    double dFirst = 0.0;
    bool bFraction = false;
    if (!ReadDecimal(text, &uPos, &dFirst, &bFraction)) return angle;
    const bool bDegreeMark = ReadMark(text, &uPos, kDegreeMarks);
    const bool bColon = !bDegreeMark && uPos < text.size() && text[uPos] == ':';
    if (bColon) ++uPos;

    if ((bDegreeMark && uPos < text.size() && IsDigit(text[uPos])) || bColon) {
        // Minutes, then perhaps seconds: all whole numbers, as in the window.
        if (bFraction || dFirst > 999.0) return angle;
        angle.m_bDms = true;
        angle.m_uDeg = static_cast<unsigned int>(dFirst);
        if (!ReadUnsigned(text, &uPos, 2, &angle.m_uMin)) return angle;
        bool bMore = false;
        if (bColon) {
            bMore = uPos < text.size() && text[uPos] == ':';
            if (bMore) ++uPos;
        } else {
            // A lowercase s may only follow the seconds, so "m" and "'" are the minute marks here.
            ReadMark(text, &uPos, kMinuteMarks);
            bMore = uPos < text.size() && IsDigit(text[uPos]);
        }
        if (bMore) {
            if (!ReadUnsigned(text, &uPos, 2, &angle.m_uSec)) return angle;
            if (!bColon) ReadMark(text, &uPos, kSecondMarks);
        }
    } else if (bDegreeMark && !bFraction && dFirst <= 999.0) {
        // "47°N": whole degrees, the form of the window's degree field.
        angle.m_bDms = true;
        angle.m_uDeg = static_cast<unsigned int>(dFirst);
    } else {
        angle.m_dDecimal = dFirst;
    }

    while (uPos < text.size() && (text[uPos] == ' ' || text[uPos] == '\t')) ++uPos;
    if (uPos < text.size()) {
        switch (text[uPos]) {
        case 'N': case 'n': angle.m_eAxis = Axis::kLatitude; break;
        case 'S': case 's': angle.m_eAxis = Axis::kLatitude; angle.m_bNegative = true; break;
        case 'E': case 'e': angle.m_eAxis = Axis::kLongitude; break;
        case 'O': case 'o': case 'W': case 'w': angle.m_eAxis = Axis::kLongitude; angle.m_bNegative = true; break;
        default: return angle;
        }
        ++uPos;
        if (bSign || uPos != text.size()) return angle;
    }
    angle.m_bValid = true;
    return angle;
}

bool AngleInRange(const ParsedAngle& angle, Axis eAxis) {
    const unsigned int uMax = eAxis == Axis::kLatitude ? 90 : 180;
    if (angle.m_bDms) return angle.m_uDeg <= uMax && angle.m_uMin <= 59 && angle.m_uSec <= 59;
    return angle.m_dDecimal <= uMax;
}

double SignedDegrees(const ParsedAngle& angle) {
    const double dMagnitude =
        angle.m_bDms ? DmsToDegrees(static_cast<int>(angle.m_uDeg), angle.m_uMin, angle.m_uSec) : angle.m_dDecimal;
    return angle.m_bNegative ? -dMagnitude : dMagnitude;
}

bool ParseNumber(std::string_view text, double* pdValue) { return programs::ReadNumber(text, pdValue); }
