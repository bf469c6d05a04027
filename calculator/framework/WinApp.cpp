// The application object and the program's entry point.
#include "afxwin.h"

#include <commctrl.h>

#include <vector>

namespace {
CWinApp* g_pApp = nullptr;
CString g_strAppName;
}  // namespace

CWinApp::CWinApp(const char* pszAppName) : m_pszAppName(pszAppName) { g_pApp = this; }

CWinApp* AfxGetApp() { return g_pApp; }
HINSTANCE AfxGetInstanceHandle() { return g_pApp->m_hInstance; }

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

BOOL CWinApp::Enable3dControls() {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    return ::InitCommonControlsEx(&icc);
}

// The program ships no help file: the Help command has nothing to open.
void CWinApp::OnHelp() {}

BOOL AfxGetModuleFileName(HINSTANCE hInstance, CString& strFileName) {
    // Grow the buffer until the whole path fits: a cut path names another file.
    for (DWORD nSize = MAX_PATH;; nSize *= 2) {
        std::vector<char> buffer(nSize);
        ::SetLastError(ERROR_SUCCESS);
        DWORD nLength = ::GetModuleFileNameA(hInstance, buffer.data(), nSize);
        if (nLength == 0) return FALSE;
        if (nLength < nSize - 1 || (nLength < nSize && ::GetLastError() != ERROR_INSUFFICIENT_BUFFER)) {
            strFileName = CString(buffer.data(), static_cast<int>(nLength));
            return TRUE;
        }
        if (nSize > 0x100000) return FALSE;
    }
}

int AfxMessageBox(const char* pszText, UINT nType, UINT) {
    CWinApp* pApp = AfxGetApp();
    HWND hWndOwner = pApp->m_pMainWnd ? pApp->m_pMainWnd->m_hWnd : nullptr;
    if (!hWndOwner) hWndOwner = ::GetActiveWindow();
    return ::MessageBoxA(hWndOwner, pszText, pApp->m_pszAppName, nType);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    CWinApp* pApp = AfxGetApp();
    pApp->m_hInstance = hInstance;
    if (!pApp->m_pszAppName) {
        // Constructed without a name: the program file's name, without extension.
        CString strPath;
        AfxGetModuleFileName(hInstance, strPath);
        int nStart = strPath.ReverseFind('\\') + 1;
        CString strName(static_cast<const char*>(strPath) + nStart);
        int nDot = strName.ReverseFind('.');
        g_strAppName = nDot >= 0 ? strName.Left(nDot) : strName;
        pApp->m_pszAppName = g_strAppName;
    }
    pApp->InitInstance();
    return 0;
}
