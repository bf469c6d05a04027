// Reader of the information text.
#include "InfoText.h"

#include <cstdio>
#include <cstring>

namespace {

// A read takes at most this many characters: a buffer of 256 with its NUL.
constexpr std::size_t kPieceLength = 255;
// Windows' text mode ends a file at Ctrl+Z.
constexpr int kTextEndOfFile = 0x1A;

bool IsTrailingBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// One character as Windows' text mode reads it: CR LF becomes LF, a CR alone
// stays, Ctrl+Z ends the file. Applied here rather than left to the C runtime
// so that every platform cuts the same pieces.
int GetTextChar(std::FILE* pFile) {
    int c = std::getc(pFile);
    if (c == kTextEndOfFile) return EOF;
    if (c != '\r') return c;
    int cNext = std::getc(pFile);
    if (cNext == '\n') return '\n';
    if (cNext != EOF) std::ungetc(cNext, pFile);
    return '\r';
}

// A piece as the list shows it: as text (up to a NUL), without trailing blanks.
std::string Entry(const std::string& strPiece) {
    std::size_t nKeep = std::strlen(strPiece.c_str());
    while (nKeep > 0 && IsTrailingBlank(strPiece[nKeep - 1])) --nKeep;
    return strPiece.substr(0, nKeep);
}

}  // namespace

std::vector<std::string> ReadInfoLines(const char* pszPath) {
    std::vector<std::string> lines;
    std::FILE* pFile = std::fopen(pszPath, "rb");
    if (pFile == nullptr) return lines;

    // Each read ends after a line feed or at 255 characters, so a line of
    // exactly 255 characters is followed by a read of its line feed alone,
    // which gives an empty entry.
    std::string strPiece;
    for (;;) {
        const int c = GetTextChar(pFile);
        if (c != EOF) strPiece += static_cast<char>(c);
        if (c != EOF && c != '\n' && strPiece.size() < kPieceLength) continue;
        // A read that yields nothing ends the list.
        if (strPiece.empty()) break;
        lines.push_back(Entry(strPiece));
        strPiece.clear();
        if (c == EOF) break;
    }
    std::fclose(pFile);
    return lines;
}
