// The calculator's texts are Windows-1252; callers that speak UTF-8 (the
// terminal on Linux, the C interface, the web page) convert them here.
#ifndef NORVANE_UTF8TEXT_H
#define NORVANE_UTF8TEXT_H

#include <string>
#include <string_view>

// A Windows-1252 text in UTF-8 (bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D, not
// assigned, become '?').
std::string Windows1252ToUtf8(std::string_view text1252);

#endif
