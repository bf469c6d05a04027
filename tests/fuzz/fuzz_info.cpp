// The reader of "info.txt" on arbitrary file contents: entries of at most 255
// characters, without line feeds or trailing white space, and no more text
// than the file holds.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "InfoText.h"
#include "fuzz_fichier.h"

namespace {

void Verifie(bool condition) {
    if (!condition) std::abort();
}

bool Blanc(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> lignes = ReadInfoLines(EcrireFichier(data, size));
    std::size_t total = 0;
    for (const std::string& ligne : lignes) {
        Verifie(ligne.size() <= 255);
        Verifie(ligne.find('\n') == std::string::npos);
        Verifie(ligne.empty() || !Blanc(ligne.back()));
        total += ligne.size();
    }
    Verifie(total <= size);
    Verifie(lignes.size() <= size);  // every entry takes at least one byte of the file
    return 0;
}
