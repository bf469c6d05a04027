#include "ProgramDirectory.h"

CString GetProgramDirectory() {
    CString strPath;
    if (!AfxGetModuleFileName(nullptr, strPath)) return CString();
    // What _splitpath gives as drive plus directory, without its length limits.
    int nSlash = strPath.ReverseFind('\\');
    int nForward = strPath.ReverseFind('/');
    if (nForward > nSlash) nSlash = nForward;
    return strPath.Left(nSlash + 1);
}
