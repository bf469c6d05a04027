// CSysCoord2SysCoord on arbitrary texts and system codes. Input: code in, code
// out (one signed byte each), then the text (the rest, given a terminator). The
// call must leave the text as it was and return the engine's buffer holding
// at most 39 characters.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "geokern2.h"

namespace {

void Verifie(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const Liste_SysCoord in = static_cast<Liste_SysCoord>(static_cast<signed char>(data[0]));
    const Liste_SysCoord out = static_cast<Liste_SysCoord>(static_cast<signed char>(data[1]));
    // Exactly the text and its terminator on the heap, so that a read past it shows.
    char* texte = static_cast<char*>(std::malloc(size - 1));
    std::memcpy(texte, data + 2, size - 2);
    texte[size - 2] = '\0';
    const std::vector<char> copie(texte, texte + size - 1);

    const char* resultat = CSysCoord2SysCoord(texte, in, out);
    Verifie(resultat != nullptr);
    Verifie(std::memchr(resultat, '\0', 40) != nullptr);
    Verifie(std::memcmp(texte, copie.data(), copie.size()) == 0);
    if (std::strchr(texte, '@') == nullptr) Verifie(resultat[0] == '\0');
    std::free(texte);
    return 0;
}
