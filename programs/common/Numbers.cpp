#include "Numbers.h"

#include <charconv>
#include <cmath>

#ifdef __EMSCRIPTEN__
#include <cerrno>
#include <cstdlib>
#include <string>

#include "decimal_court.h"
#endif

namespace programs {

bool ReadNumber(std::string_view text, double* pdValue) {
    const char* pBegin = text.data();
    const char* pEnd = pBegin + text.size();
    if (pBegin != pEnd && *pBegin == '+') {
        ++pBegin;
        if (pBegin != pEnd && *pBegin == '-') return false;
    }
    // Digits or a full stop first: no "inf", "nan" or hexadecimal.
    const char* pDigits = pBegin != pEnd && *pBegin == '-' ? pBegin + 1 : pBegin;
    if (pDigits == pEnd || !((*pDigits >= '0' && *pDigits <= '9') || *pDigits == '.')) return false;
    double dValue = 0.0;
#ifdef __EMSCRIPTEN__
    // WebAssembly (emscripten 3.1): no floating-point from_chars. Short
    // numbers take the engine's shortcut; the others strtod, whose only locale
    // there is "C", given only the characters of a decimal number.
    const char* pszRead = nullptr;
    if (!DecimalCourt(pBegin, pEnd, &dValue, &pszRead) || pszRead != pEnd) {
        for (const char* p = pBegin; p != pEnd; ++p)
            if (!((*p >= '0' && *p <= '9') || *p == '.' || *p == 'e' || *p == 'E' || *p == '+' || *p == '-'))
                return false;
        const std::string text(pBegin, pEnd);
        char* pszEnd = nullptr;
        errno = 0;
        dValue = std::strtod(text.c_str(), &pszEnd);
        if (pszEnd != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(dValue)) return false;
    }
#else
    const std::from_chars_result result = std::from_chars(pBegin, pEnd, dValue, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != pEnd || !std::isfinite(dValue)) return false;
#endif
    *pdValue = dValue;
    return true;
}

bool CommaSeparatesFields(std::string_view line) {
    const std::size_t uStart = line.find_first_not_of(" \t");
    if (uStart == std::string_view::npos) return true;
    return line.find_first_of(";\t", uStart) == std::string_view::npos;
}

bool JoinedByDecimalComma(std::string_view between, std::string_view after) {
    return between == "," && !after.empty() && after.front() != ',';
}

}  // namespace programs
