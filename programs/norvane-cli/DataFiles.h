// Where norvane-cli finds the calculator's two grid files.
#ifndef NORVANE_CLI_DATAFILES_H
#define NORVANE_CLI_DATAFILES_H

#include <string>
#include <vector>

#include "DeclinationGrids.h"
#include "Igrf.h"
#include "ModelTable.h"

// The directories looked in, in order: a directory given on the command line
// (if any), the program's own directory (the Windows bundle, the build tree),
// then the installed data directory relative to the program
// (NORVANE_DATA_FROM_BIN, "../share/norvane" for an installation in a prefix).
std::vector<std::string> DataDirectories(const std::string& strGiven);

struct GridLoadReport {
    const char* pszMissing = nullptr;  // the file found in none of the directories
    struct ShortFile {
        std::string strPath;
        int nRecords;
    };
    // Files with fewer readable records than the lattice has nodes (cut
    // short, or holding something that is not a number): norvane-cli does
    // not start with them.
    std::vector<ShortFile> shortFiles;
};

// Reads both grid files into grids, each from the first directory where it
// opens. False when one is in none of them (report.pszMissing names it).
bool LoadGrids(const std::vector<std::string>& directories, DeclinationGrids& grids, GridLoadReport* pReport);

// Reads a model's coefficient file from the first directory that holds it.
// False with the reason in strError (UTF-8) when no directory holds it or the
// file is not a coefficient file.
bool LoadModel(const std::vector<std::string>& directories, const ModelDescription& description, CIgrfModel* pModel,
               std::string* pstrError);

// "fichier de données NAME introuvable ; cherché dans :" and the directories,
// one a line (UTF-8).
std::string MissingFileMessage(const char* pszName, const std::vector<std::string>& directories);

// "a" + separator + "b".
std::string JoinPath(const std::string& strDirectory, const char* pszName);

#endif
