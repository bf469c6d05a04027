// The numbers of the text interface, read and written the same way whatever
// the process's locale and whatever C runtime the library is built with: "."
// as the decimal separator, the grammar of atof and the digits of "%.*f" in
// the C locale.
#ifndef GEOKERN_NOMBRES_H
#define GEOKERN_NOMBRES_H

// Reads the number at the start of [debut, fin) as atof and strtod do in the C
// locale: white space skipped, an optional sign, then decimal digits with an
// optional decimal exponent, "0x" and hexadecimal digits with an optional
// binary exponent "p", or "inf", "infinity", "nan", "nan(...)" in any case;
// the longest prefix that forms a number, correctly rounded (±HUGE_VAL and
// ±0.0 beyond the range of a double). Without a number: 0.0, and *suite (when
// not null) is debut; otherwise *suite is the first character not read.
double Texte2Reel(const char* debut, const char* fin, const char** suite);

// Writes reel with `decimales` decimals into [debut, limite), exactly as
// "%.*f" writes it in the C locale (the binary value's exact decimal
// expansion, rounded half to even; "-0.000"; "inf", "-inf", "nan", "-nan").
// Returns the end of the characters written (no terminator is added), or null
// when they do not fit.
char* Reel2Texte(double reel, int decimales, char* debut, char* limite);

#endif
