#include "ConsoleText.h"

#ifdef _WIN32
#include <windows.h>
#endif

#ifdef _WIN32
std::string Recode(unsigned int uFromCodePage, unsigned int uToCodePage, std::string_view text) {
    if (text.empty()) return std::string();
    const int nWide =
        ::MultiByteToWideChar(uFromCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring strWide(static_cast<std::size_t>(nWide), L'\0');
    ::MultiByteToWideChar(uFromCodePage, 0, text.data(), static_cast<int>(text.size()), &strWide[0], nWide);
    const int nBytes = ::WideCharToMultiByte(uToCodePage, 0, strWide.data(), nWide, nullptr, 0, nullptr, nullptr);
    std::string strOut(static_cast<std::size_t>(nBytes), '\0');
    ::WideCharToMultiByte(uToCodePage, 0, strWide.data(), nWide, &strOut[0], nBytes, nullptr, nullptr);
    return strOut;
}

namespace {

// Without a console (output to a pipe of a program that has none), the ANSI
// code page.
std::string ToConsoleCodePage(UINT uFrom, std::string_view text) {
    UINT uCodePage = ::GetConsoleOutputCP();
    if (uCodePage == 0) uCodePage = CP_ACP;
    return Recode(uFrom, uCodePage, text);
}

}  // namespace

std::string Utf8ToTerminal(std::string_view textUtf8) { return ToConsoleCodePage(CP_UTF8, textUtf8); }
#else
std::string Utf8ToTerminal(std::string_view textUtf8) { return std::string(textUtf8); }
#endif
