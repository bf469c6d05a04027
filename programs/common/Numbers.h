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

// The decimal comma, refused rather than misread. In a line that holds a ';'
// or a tab (after its indentation) the comma separates nothing: it can only be
// a decimal comma, inside a field that is then not a number.
bool CommaSeparatesFields(std::string_view line);
// Elsewhere, two numbers joined by a bare comma ("2,35 48,85"), with the next
// field cut at something else than a comma, are decimal commas: read as two
// fields they would give a wrong place. between: the text between the two
// numbers; after: the line after the second.
bool JoinedByDecimalComma(std::string_view between, std::string_view after);

}  // namespace programs

#endif
