/* A library named geokern.dll that loads but has no SysCoord2SysCoord. */
__declspec(dllexport) int __stdcall AutreFonction(int n) { return n; }
