// The programs' own texts are Windows-1252, as the calculator's are; the
// terminal reads UTF-8 on Linux and the console's output code page on Windows.
#ifndef PROGRAMS_CONSOLETEXT_H
#define PROGRAMS_CONSOLETEXT_H

#include <string>
#include <string_view>

#include "Utf8Text.h"  // Windows1252ToUtf8

// A Windows-1252 text in the terminal's encoding (bytes 0x81, 0x8D, 0x8F,
// 0x90 and 0x9D, not assigned, become '?').
std::string ToTerminal(std::string_view text1252);

// A UTF-8 text in the terminal's encoding.
std::string Utf8ToTerminal(std::string_view textUtf8);

#ifdef _WIN32
// A text from one Windows code page to another, through UTF-16.
std::string Recode(unsigned int uFromCodePage, unsigned int uToCodePage, std::string_view text);
#endif

#endif
