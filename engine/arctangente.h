// The arctangent of the engine (and of the tests' reference formulas, which
// must call the same maths functions). Internal: not part of the interface.
#ifndef GEOKERN_ARCTANGENTE_H
#define GEOKERN_ARCTANGENTE_H

#include <cmath>

// The arctangent. On Windows the other functions of the maths library (sin,
// cos, exp, log, pow) come from the MinGW runtime, the same x87 code in 32-bit
// and 64-bit builds, but atan comes from msvcrt.dll, whose 32-bit and 64-bit
// versions are different code and differ in the last bit for some arguments:
// there the engine takes MinGW's atanl (the x87 fpatan) rounded to a double,
// and both builds give the same numbers.
inline double ArcTangente(double reel) {
#ifdef _WIN32
    return static_cast<double>(atanl(reel));
#else
    return std::atan(reel);
#endif
}

#endif
