// The C++ unwinding personality routine of geokern.dll, which throws and
// catches nothing. libstdc++'s writing of doubles (std::to_chars, used by
// nombres.cpp) names the personality routine in the unwind data of its
// functions, although nothing they call can throw; the runtime's own routine
// would bring in the whole C++ exception machinery with it: the throw and
// terminate code, per-thread exception globals over the runtime's thread
// library (CreateThread, CreateEvent, CreateSemaphore...) and, on 64-bit
// Windows, the SEH unwinder (RaiseException), none of which a pure computation
// library should carry. This routine takes its place in the DLL alone (the
// programs and the tests, which link the engine's objects with the C++
// runtime, keep the runtime's own): it finds no handler and no cleanup in any
// frame, which is what the library's frames hold.
#include <windows.h>

#include <unwind.h>

#ifdef __SEH__
// 64-bit Windows: called by the system for a structured exception (a fault)
// passing through a frame of the library; the search goes on to the caller's
// frames, as the runtime's routine would for an exception not of C++.
extern "C" EXCEPTION_DISPOSITION __gxx_personality_seh0(PEXCEPTION_RECORD, void*, PCONTEXT, PDISPATCHER_CONTEXT) {
    return ExceptionContinueSearch;
}
#else
// 32-bit Windows (DWARF unwinding): only an unwinder linked into the library
// would call it, and none is.
extern "C" _Unwind_Reason_Code __gxx_personality_v0(int, _Unwind_Action, _Unwind_Exception_Class, _Unwind_Exception*,
                                                   _Unwind_Context*) {
    return _URC_CONTINUE_UNWIND;
}
#endif
