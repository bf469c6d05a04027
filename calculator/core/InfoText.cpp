// Reader of the information text.
#include "InfoText.h"

#include <cstdio>
#include <cstring>

namespace {

bool IsTrailingBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Only the end of a line: "\n", or "\r\n" when the C runtime keeps carriage returns.
bool IsLineEndOnly(const char* pszPiece) {
    return std::strcmp(pszPiece, "\n") == 0 || std::strcmp(pszPiece, "\r\n") == 0;
}

}  // namespace

std::vector<std::string> ReadInfoLines(const char* pszPath) {
    std::vector<std::string> lines;
    std::FILE* pFile = std::fopen(pszPath, "rt");
    if (pFile == nullptr) return lines;

    char szBuffer[256];
    bool bLineOpen = false;  // the previous piece filled the buffer without ending its line
    while (std::fgets(szBuffer, sizeof szBuffer, pFile) != nullptr) {
        // A line of exactly 255 characters leaves its line feed to the next
        // read: that is the end of the same line, not a blank line of its own.
        const bool bContinuation = bLineOpen;
        const std::size_t nRead = std::strlen(szBuffer);
        bLineOpen = nRead == sizeof szBuffer - 1 && szBuffer[nRead - 1] != '\n';
        if (bContinuation && IsLineEndOnly(szBuffer)) continue;

        std::string strLine(szBuffer, nRead);  // as text: up to the first NUL
        std::size_t nKeep = strLine.size();
        while (nKeep > 0 && IsTrailingBlank(strLine[nKeep - 1])) --nKeep;
        strLine.resize(nKeep);
        lines.push_back(strLine);
    }
    std::fclose(pFile);
    return lines;
}
