// The numbers of text, read and written the same way whatever the process's
// locale and whatever C runtime the code is built with: "." as the decimal
// separator, decimal digits only, and the digits of "%.*f" in the C locale.
// The engine's text interface uses them, and so do the programs and the
// calculator core (a static library of its own, geokern_nombres, which
// crosses no library boundary: none of it is exported).
#ifndef GEOKERN_NOMBRES_H
#define GEOKERN_NOMBRES_H

// Reads the number at the start of [debut, fin) as atof reads a decimal number
// in the C locale: white space skipped, an optional sign, then decimal digits
// with an optional point and an optional decimal exponent; the longest prefix
// that forms such a number, correctly rounded (±HUGE_VAL and ±0.0 beyond the
// range of a double). Hexadecimal numbers, "inf", "infinity", "nan" and
// "nan(...)" are not numbers here, as for the atof of the systems the text
// interface was made for: "0x1p4" is the "0" before its "x", "inf" no number.
// Without a number: 0.0, and *suite (when not null) is debut; otherwise *suite
// is the first character not read.
double Texte2Reel(const char* debut, const char* fin, const char** suite);

// The whole of [debut, fin) as a finite number, or false: an optional sign
// (+ or -), digits with an optional fraction after a full stop ("12", "12.5",
// ".5", "12."), an optional exponent ("6.6e6"); no white space, no decimal
// comma, and no number beyond the range of a double, nor one so small that it
// would read as zero.
bool Texte2ReelComplet(const char* debut, const char* fin, double* reel);

// Writes reel with `decimales` decimals into [debut, limite), exactly as
// "%.*f" writes it in the C locale (the binary value's exact decimal
// expansion, rounded half to even; "-0.000"; "inf", "-inf", "nan", "-nan"; 6
// decimals when `decimales` is negative). Returns the end of the characters
// written (no terminator is added), or null when they do not fit.
char* Reel2Texte(double reel, int decimales, char* debut, char* limite);

// The text interface's result for a point (CSysCoord2SysCoord, and
// geokern-conv, which writes the same texts): "x@y", both with 8 decimals for
// a geographic system of the catalogue, 3 for any other, in a buffer of
// TAILLE_TEXTE_POINT bytes with its terminator.
constexpr int TAILLE_TEXTE_POINT = 40;
constexpr int DecimalesTexte(bool geographique) { return geographique ? 8 : 3; }
// Writes "x@y" into [debut, limite); returns the end (no terminator is added),
// or null when the text does not fit: it is never cut short, which would read
// as another number.
char* Point2Texte(double x, double y, int decimales, char* debut, char* limite);

#endif
