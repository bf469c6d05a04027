// Where the running program's file is: the programs find their data from there.
#ifndef PROGRAMS_PROGRAMPATH_H
#define PROGRAMS_PROGRAMPATH_H

#include <string>

// The directory of the program file, without a final separator; empty when
// the system cannot say.
std::string ProgramDirectory();

#endif
