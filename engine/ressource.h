// The platform's resource operations that the grid needs. On Windows they are
// kernel32's; elsewhere the engine provides the same operations over the grid
// blob linked into the library (ressource_posix.cpp), so the entry point and
// the lookups are the same code on every platform.
#ifndef GEOKERN_RESSOURCE_H
#define GEOKERN_RESSOURCE_H

#ifdef _WIN32
#include <windows.h>
#else
typedef int BOOL;
typedef unsigned long DWORD;
typedef void* LPVOID;
typedef const char* LPCSTR;
typedef struct MODULE_POSIX* HMODULE;
typedef HMODULE HINSTANCE;
typedef const struct RESSOURCE_POSIX* HRSRC;
typedef const void* HGLOBAL;
#define RT_RCDATA ((LPCSTR)10)
#define DLL_PROCESS_ATTACH 1
#define WINAPI

HRSRC FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType);
HGLOBAL LoadResource(HMODULE hModule, HRSRC hResInfo);
const void* LockResource(HGLOBAL hResData);
DWORD SizeofResource(HMODULE hModule, HRSRC hResInfo);
HMODULE ModuleGeokern();  // the library's own module handle
#endif

// The library's entry point (grille.cpp): locates the grid resource.
extern "C" BOOL WINAPI DllEntryPoint(HINSTANCE hinstDLL, DWORD fdwReason, LPVOID lpvReserved);

// Module state, set by the entry point.
extern HMODULE hmoduledll;
extern HRSRC rsrc;
extern HGLOBAL glbmem;

#endif
