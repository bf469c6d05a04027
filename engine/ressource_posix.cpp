// Resource operations over the grid blob that gr3df97a_blob.S links into the
// library: the POSIX counterpart of kernel32's FindResourceA, LoadResource,
// LockResource and SizeofResource, for the one resource the engine has.
#include <cstring>

#include "ressource.h"

extern "C" const unsigned char geokern_GR3DF97A_debut[];
extern "C" const unsigned char geokern_GR3DF97A_fin[];

struct MODULE_POSIX {
    int inutilise;
};
struct RESSOURCE_POSIX {
    const char* nom;
    const unsigned char* debut;
    const unsigned char* fin;
};

namespace {
MODULE_POSIX module_geokern;
const RESSOURCE_POSIX grille = {"GR3DF97A", geokern_GR3DF97A_debut, geokern_GR3DF97A_fin};
}  // namespace

HMODULE ModuleGeokern() { return &module_geokern; }

HRSRC FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType) {
    if (hModule != &module_geokern || lpType != RT_RCDATA || lpName == nullptr) return nullptr;
    return std::strcmp(lpName, grille.nom) == 0 ? &grille : nullptr;
}

HGLOBAL LoadResource(HMODULE hModule, HRSRC hResInfo) {
    return hModule == &module_geokern && hResInfo != nullptr ? hResInfo->debut : nullptr;
}

const void* LockResource(HGLOBAL hResData) { return hResData; }

DWORD SizeofResource(HMODULE hModule, HRSRC hResInfo) {
    return hModule == &module_geokern && hResInfo != nullptr ? DWORD(hResInfo->fin - hResInfo->debut) : 0;
}

// The same entry-point code as on Windows runs when the library is loaded.
__attribute__((constructor)) static void ChargementBibliotheque() {
    DllEntryPoint(ModuleGeokern(), DLL_PROCESS_ATTACH, nullptr);
}
