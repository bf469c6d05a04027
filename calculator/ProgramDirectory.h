#ifndef NORVANE_PROGRAMDIRECTORY_H
#define NORVANE_PROGRAMDIRECTORY_H

#include "afxwin.h"

// Drive and directory of the program file, ending with a backslash: every
// file of the calculator is looked for there. Any path length is handled.
CString GetProgramDirectory();

#endif
