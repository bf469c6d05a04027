// The grid's node array outside Windows: the blob that gr3df97a_blob.S links
// into the library, read-only and in place from the moment the library is
// loaded. The assembler checks its size.
#include "interne.h"

extern "C" const LIGNE_GRILLE_GR3DF97A geokern_GR3DF97A[];

const LIGNE_GRILLE_GR3DF97A* lpGrille_IGN() { return geokern_GR3DF97A; }
