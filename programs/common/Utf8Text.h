// Between UTF-8, the encoding of every text of the core and the programs,
// and Windows-1252, the encoding of the window's controls and of the
// calculator's data files.
#ifndef NORVANE_UTF8TEXT_H
#define NORVANE_UTF8TEXT_H

#include <string>
#include <string_view>

// A Windows-1252 text in UTF-8 (bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D, not
// assigned, become '?').
std::string Windows1252ToUtf8(std::string_view text1252);

// A UTF-8 text in Windows-1252: a character that Windows-1252 lacks, or a
// byte that does not belong to a UTF-8 sequence, becomes '?'.
std::string Utf8ToWindows1252(std::string_view textUtf8);

#endif
