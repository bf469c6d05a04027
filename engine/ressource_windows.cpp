// The grid's node array on Windows: the RCDATA resource "GR3DF97A" of the
// library's own module, located when the library is loaded and read in place.
#include "interne.h"
#include "ressource.h"

HMODULE hmoduledll = nullptr;
HRSRC rsrc = nullptr;
HGLOBAL glbmem = nullptr;

// Called on every notification; the result counts at process attach, where 0
// makes the library fail to load. Nothing is released at detach.
extern "C" BOOL WINAPI DllEntryPoint(HINSTANCE hinstDLL, DWORD fdwReason, LPVOID lpvReserved) {
    (void)fdwReason;
    (void)lpvReserved;
    hmoduledll = hinstDLL;
    rsrc = FindResourceA(hmoduledll, "GR3DF97A", RT_RCDATA);
    if (rsrc == nullptr) return 0;
    glbmem = LoadResource(hmoduledll, rsrc);
    return glbmem != nullptr ? 1 : 0;
}

// The C runtime's start-up code calls DllMain once it has initialised itself.
extern "C" BOOL WINAPI DllMain(HINSTANCE hinstDLL, DWORD fdwReason, LPVOID lpvReserved) {
    return DllEntryPoint(hinstDLL, fdwReason, lpvReserved);
}

const LIGNE_GRILLE_GR3DF97A* lpGrille_IGN() {
    return static_cast<const LIGNE_GRILLE_GR3DF97A*>(LockResource(glbmem));
}
