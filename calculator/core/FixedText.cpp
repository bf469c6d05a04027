#include "FixedText.h"

#ifdef __EMSCRIPTEN__
// WebAssembly (emscripten 3.1): the C++ library writes no double in
// <charconv>; the C library's only locale there is "C", and its "%.*f" is exact.
#include <cstdio>

std::string FormatFixed(double dValue, int nDecimals) {
    const int nSize = std::snprintf(nullptr, 0, "%.*f", nDecimals, dValue);
    std::string strText(static_cast<std::size_t>(nSize > 0 ? nSize : 0), '\0');
    std::snprintf(&strText[0], strText.size() + 1, "%.*f", nDecimals, dValue);
    return strText;
}
#else
#include <charconv>

std::string FormatFixed(double dValue, int nDecimals) {
    char szText[400];  // the widest double in fixed notation fits
    const std::to_chars_result result =
        std::to_chars(szText, szText + sizeof szText, dValue, std::chars_format::fixed, nDecimals);
    return std::string(szText, result.ptr);
}
#endif
