// Scratch files for the reader tests, in the test framework's temporary directory.
#ifndef NORVANE_TEST_FILES_H
#define NORVANE_TEST_FILES_H

#include <string>

// Writes text to a fresh file named after the current test and returns its path.
std::string WriteScratchFile(const std::string& strText, const char* pszSuffix = "");

// A path where no file exists.
std::string MissingFilePath();

#endif
