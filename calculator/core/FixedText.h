// A number written with a fixed count of decimals, as "%.*f" writes it in the
// C locale, whatever the process's locale: a full stop, the exact binary value
// rounded as printf rounds it, the sign of -0.00 kept.
#ifndef NORVANE_FIXEDTEXT_H
#define NORVANE_FIXEDTEXT_H

#include <string>

std::string FormatFixed(double dValue, int nDecimals);

#endif
