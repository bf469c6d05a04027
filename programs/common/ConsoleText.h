// The programs' texts are UTF-8, as the core's are; the terminal reads UTF-8
// on Linux and the console's output code page on Windows.
#ifndef PROGRAMS_CONSOLETEXT_H
#define PROGRAMS_CONSOLETEXT_H

#include <string>
#include <string_view>

// A UTF-8 text in the terminal's encoding.
std::string Utf8ToTerminal(std::string_view textUtf8);

#ifdef _WIN32
// A text from one Windows code page to another, through UTF-16.
std::string Recode(unsigned int uFromCodePage, unsigned int uToCodePage, std::string_view text);
#endif

#endif
