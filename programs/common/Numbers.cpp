#include "Numbers.h"

#include <charconv>
#include <cmath>

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
    const std::from_chars_result result = std::from_chars(pBegin, pEnd, dValue, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != pEnd || !std::isfinite(dValue)) return false;
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
