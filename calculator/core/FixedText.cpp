#include "FixedText.h"

#include "nombres.h"

std::string FormatFixed(double dValue, int nDecimals) {
    // The widest double in fixed notation: a sign, 309 digits, the point and the decimals.
    std::string strText(static_cast<std::size_t>(nDecimals > 0 ? nDecimals : 6) + 312, '\0');
    const char* pszEnd = Reel2Texte(dValue, nDecimals, &strText[0], &strText[0] + strText.size());
    strText.resize(static_cast<std::size_t>(pszEnd - strText.data()));
    return strText;
}
