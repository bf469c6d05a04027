#include "DataFiles.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "ProgramPath.h"

#ifndef NORVANE_DATA_FROM_BIN
#define NORVANE_DATA_FROM_BIN "../share/norvane"
#endif

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

}  // namespace

std::string JoinPath(const std::string& strDirectory, const char* pszName) {
    if (strDirectory.empty()) return pszName;
    const char cLast = strDirectory.back();
    if (cLast == '/' || cLast == '\\') return strDirectory + pszName;
    return strDirectory + kSeparator + pszName;
}

std::vector<std::string> DataDirectories(const std::string& strGiven) {
    std::vector<std::string> directories;
    if (!strGiven.empty()) directories.push_back(strGiven);
    const std::string strProgram = ProgramDirectory();
    if (!strProgram.empty()) {
        directories.push_back(strProgram);
        std::string strInstalled = JoinPath(strProgram, NORVANE_DATA_FROM_BIN);
#ifdef _WIN32
        for (char& c : strInstalled)
            if (c == '/') c = '\\';
#endif
        directories.push_back(strInstalled);
    }
    return directories;
}

bool LoadGrids(const std::vector<std::string>& directories, DeclinationGrids& grids, GridLoadReport* pReport) {
    struct GridFile {
        const char* pszName;
        float* pValues;
        bool* pbReceived;
    };
    const GridFile files[] = {{kszEpochGridFile, grids.declinationAtEpoch, grids.epochReceived},
                              {kszVariationGridFile, grids.annualVariation, grids.variationReceived}};
    for (const GridFile& file : files) {
        bool bFound = false;
        for (const std::string& strDirectory : directories) {
            const std::string strPath = JoinPath(strDirectory, file.pszName);
            int nRecords = 0;
            if (!LoadGridFile(strPath.c_str(), file.pValues, file.pbReceived, &nRecords)) continue;
            bFound = true;
            if (nRecords < kGridNodes) pReport->shortFiles.push_back({strPath, nRecords});
            break;
        }
        if (!bFound) {
            pReport->pszMissing = file.pszName;
            return false;
        }
    }
    return true;
}

bool LoadModel(const std::vector<std::string>& directories, const ModelDescription& description, CIgrfModel* pModel,
               std::string* pstrError) {
    for (const std::string& strDirectory : directories) {
        const std::string strPath = JoinPath(strDirectory, description.pszFile);
        if (!std::ifstream(strPath, std::ios::binary)) continue;
        try {
            *pModel = CIgrfModel::Load(strPath, description);
            return true;
        } catch (const std::exception& error) {
            *pstrError = "fichier \xC2\xAB " + strPath + " \xC2\xBB illisible : " + error.what();
            return false;
        }
    }
    *pstrError = MissingFileMessage(description.pszFile, directories);
    return false;
}

std::string MissingFileMessage(const char* pszName, const std::vector<std::string>& directories) {
    std::string strMessage = std::string("fichier de donn\xC3\xA9" "es ") + pszName + " introuvable ; cherch\xC3\xA9 dans :";
    for (const std::string& strDirectory : directories) strMessage += "\n  " + strDirectory;
    return strMessage;
}
