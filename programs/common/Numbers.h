// The numbers the command-line programs read: one form for all of them.
#ifndef PROGRAMS_NUMBERS_H
#define PROGRAMS_NUMBERS_H

#include <string_view>

namespace programs {

// The whole text as a finite number: an optional sign (+ or -), digits with
// an optional fraction after a full stop ("12", "12.5", ".5", "12."), an
// optional exponent ("6.6e6"). The same in every C locale; a decimal comma is
// never read.
bool ReadNumber(std::string_view text, double* pdValue);

}  // namespace programs

#endif
