// The calculator's grid file reader on arbitrary file contents. It must read
// at most 55,876 records, flag exactly the nodes it filled, in record order,
// and touch nothing else.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "DeclinationGrids.h"
#include "fuzz_fichier.h"

namespace {

void Verifie(bool condition) {
    if (!condition) std::abort();
}

float grille[kGridNodes];
bool recu[kGridNodes];

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* chemin = EcrireFichier(data, size);
    const float temoin = -12345.5f;
    for (float& f : grille) f = temoin;
    std::memset(recu, 0, sizeof recu);

    int nRecords = -1;
    Verifie(LoadGridFile(chemin, grille, recu, &nRecords));
    Verifie(nRecords >= 0 && nRecords <= kGridNodes);
    // Record r goes to node (r mod 244, r div 244); the others keep their state.
    for (int r = 0; r < kGridNodes; ++r) {
        const int noeud = GridNodeIndex(r % kGridColumns, r / kGridColumns);
        Verifie(recu[noeud] == (r < nRecords));
        if (r >= nRecords) Verifie(grille[noeud] == temoin);
    }
    return 0;
}
