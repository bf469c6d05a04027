// Reader of "info.txt", the text listed by the information dialog.
#ifndef NORVANE_INFOTEXT_H
#define NORVANE_INFOTEXT_H

#include <string>
#include <vector>

constexpr char kszInfoFile[] = "info.txt";

// The entries of the list, in file order: the file is read as Windows' text
// mode reads it (CR LF as LF, Ctrl+Z ends it), in pieces of at most 255
// characters, a line feed ending a piece; each piece is taken as text (up to a
// NUL), loses its trailing white space (space, \t, \r, \n, \v, \f) and keeps
// its leading spaces. A blank line gives an empty entry, and so does the line
// feed that follows a line of exactly 255 characters. A missing or unreadable
// file gives an empty list.
std::vector<std::string> ReadInfoLines(const char* pszPath);

#endif
