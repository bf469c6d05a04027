#include "Utf8Text.h"

namespace {

// Windows-1252 0x80 to 0x9F (0: not assigned); from 0xA0 on it is Latin-1.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

std::string Windows1252ToUtf8(std::string_view text1252) {
    std::string strUtf8;
    strUtf8.reserve(text1252.size() + 8);
    for (const char c : text1252) {
        const unsigned char u = static_cast<unsigned char>(c);
        const unsigned int uCode = u < 0x80 || u >= 0xA0 ? u : kWindows1252High[u - 0x80];
        if (uCode == 0) {
            strUtf8 += '?';
        } else if (uCode < 0x80) {
            strUtf8 += static_cast<char>(uCode);
        } else if (uCode < 0x800) {
            strUtf8 += static_cast<char>(0xC0 | (uCode >> 6));
            strUtf8 += static_cast<char>(0x80 | (uCode & 0x3F));
        } else {
            strUtf8 += static_cast<char>(0xE0 | (uCode >> 12));
            strUtf8 += static_cast<char>(0x80 | ((uCode >> 6) & 0x3F));
            strUtf8 += static_cast<char>(0x80 | (uCode & 0x3F));
        }
    }
    return strUtf8;
}

std::string Utf8ToWindows1252(std::string_view textUtf8) {
    std::string str1252;
    str1252.reserve(textUtf8.size());
    std::size_t i = 0;
    while (i < textUtf8.size()) {
        const unsigned char uLead = static_cast<unsigned char>(textUtf8[i]);
        // The sequence's length from its first byte, then its code point.
        const std::size_t uLength = uLead < 0x80 ? 1 : (uLead & 0xE0) == 0xC0 ? 2 : (uLead & 0xF0) == 0xE0 ? 3
                                    : (uLead & 0xF8) == 0xF0 ? 4 : 0;
        unsigned int uCode = uLength == 1 ? uLead : uLead & (0x7F >> uLength);
        bool bValid = uLength != 0 && i + uLength <= textUtf8.size();
        for (std::size_t k = 1; bValid && k < uLength; ++k) {
            const unsigned char uNext = static_cast<unsigned char>(textUtf8[i + k]);
            bValid = (uNext & 0xC0) == 0x80;
            uCode = (uCode << 6) | (uNext & 0x3F);
        }
        i += bValid ? uLength : 1;
        char c = '?';
        if (bValid && (uCode < 0x80 || (uCode >= 0xA0 && uCode <= 0xFF))) {
            c = static_cast<char>(uCode);
        } else if (bValid) {
            for (unsigned int k = 0; k < 32; ++k)
                if (kWindows1252High[k] != 0 && kWindows1252High[k] == uCode) c = static_cast<char>(0x80 + k);
        }
        str1252 += c;
    }
    return str1252;
}
