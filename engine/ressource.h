// Where the node array of the embedded grid comes from. The rest of the engine
// reads it only through lpGrille_IGN() (interne.h), which each platform
// implements:
// - Windows (ressource_windows.cpp): the RCDATA resource "GR3DF97A" of
//   geokern.dll, located by the library's entry point, which keeps the three
//   handles declared here;
// - elsewhere (ressource_posix.cpp): the read-only blob that
//   resources/gr3df97a_blob.S links into the library (in WebAssembly, the
//   array that resources/blob2cpp.cmake writes); no entry point, no handle.
#ifndef GEOKERN_RESSOURCE_H
#define GEOKERN_RESSOURCE_H

#ifdef _WIN32
#include <windows.h>

// The library's entry point: locates the grid resource. Called by the loader
// (through DllMain) and, in test programs that link the engine, by the tests.
extern "C" BOOL WINAPI DllEntryPoint(HINSTANCE hinstDLL, DWORD fdwReason, LPVOID lpvReserved);

// Module state, written by the entry point only.
extern HMODULE hmoduledll;
extern HRSRC rsrc;
extern HGLOBAL glbmem;
#endif

#endif
