// Reader of "info.txt", the text listed by the information dialog.
#ifndef NORVANE_INFOTEXT_H
#define NORVANE_INFOTEXT_H

#include <string>
#include <vector>

constexpr char kszInfoFile[] = "info.txt";

// The entries of the list, in file order: the file is read in text mode in
// pieces of at most 255 characters (a line feed ends a piece), each piece loses
// its trailing white space (space, \t, \r, \n, \v, \f) and keeps its leading
// spaces; a blank line gives an empty entry. A missing or unreadable file gives
// an empty list.
std::vector<std::string> ReadInfoLines(const char* pszPath);

#endif
