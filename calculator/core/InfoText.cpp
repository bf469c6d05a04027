// Reader of the information text.
#include "InfoText.h"

#include <cstdio>
#include <cstring>

namespace {

bool IsTrailingBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

std::vector<std::string> ReadInfoLines(const char* pszPath) {
    std::vector<std::string> lines;
    std::FILE* pFile = std::fopen(pszPath, "rt");
    if (pFile == nullptr) return lines;

    char szBuffer[256];
    bool bLineOpen = false;  // the previous piece filled the buffer without ending its line
    while (std::fgets(szBuffer, sizeof szBuffer, pFile) != nullptr) {
        const bool bContinuation = bLineOpen;
        const std::size_t nRead = std::strlen(szBuffer);  // as text: up to the first NUL
        bLineOpen = nRead == sizeof szBuffer - 1 && szBuffer[nRead - 1] != '\n';

        std::size_t nKeep = nRead;
        while (nKeep > 0 && IsTrailingBlank(szBuffer[nKeep - 1])) --nKeep;
        // The rest of a long line that is only blanks (typically the line feed
        // of a line of exactly 255 characters) ends that line: no blank entry.
        if (bContinuation && nKeep == 0) continue;
        lines.emplace_back(szBuffer, nKeep);
    }
    std::fclose(pFile);
    return lines;
}
