// Message maps, windows and modal dialogs.
#include "afxwin.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

void CString::Format(const char* pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    va_list copy;
    va_copy(copy, args);
    int nLength = std::vsnprintf(nullptr, 0, pszFormat, copy);
    va_end(copy);
    std::vector<char> buffer(static_cast<size_t>(nLength > 0 ? nLength : 0) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), pszFormat, args);
    va_end(args);
    m_str.assign(buffer.data(), static_cast<size_t>(nLength > 0 ? nLength : 0));
}

// ---------------------------------------------------------------------------
const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, AfxSig_end, nullptr, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage, UINT nCode, UINT nID) {
    for (; pMap; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* p = pMap->lpEntries; p->nSig != AfxSig_end; ++p) {
            if (p->nMessage == nMessage && p->nCode == nCode && p->nID == nID) return p;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, UINT nCode) {
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(GetMessageMap(), WM_COMMAND, nCode, nID);
    if (!pEntry) return FALSE;
    (this->*pEntry->pfn)();
    return TRUE;
}

// ---------------------------------------------------------------------------
void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CUserException&) {
        return FALSE;  // the failing field has shown its message and has the focus
    }
    return TRUE;
}

// ---------------------------------------------------------------------------
INT_PTR CDialog::DoModal() {
    // Without a parent the application's main window owns the dialog.
    HWND hWndParent = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!hWndParent && AfxGetApp()->m_pMainWnd && AfxGetApp()->m_pMainWnd != this)
        hWndParent = AfxGetApp()->m_pMainWnd->m_hWnd;
    INT_PTR nResult = ::DialogBoxParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nIDHelp), hWndParent,
                                        &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    m_hWnd = nullptr;
    return nResult;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* pDlg;
    if (message == WM_INITDIALOG) {
        pDlg = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
        pDlg->m_hWnd = hWnd;
        return pDlg->OnInitDialog();
    }
    pDlg = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    if (!pDlg) return FALSE;  // messages before WM_INITDIALOG
    return pDlg->OnDialogMessage(message, wParam, lParam);
}

// A dialog procedure result: TRUE when handled, FALSE for the system's handling.
INT_PTR CDialog::OnDialogMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    (void)lParam;
    if (message == WM_COMMAND) {
        UINT nID = LOWORD(wParam), nCode = HIWORD(wParam);
        if (OnCmdMsg(nID, nCode)) return TRUE;
        if (nCode == BN_CLICKED) {
            if (nID == IDOK) { OnOK(); return TRUE; }
            if (nID == IDCANCEL) { OnCancel(); return TRUE; }
        }
        // Commands the dialog does not handle go to the application.
        return AfxGetApp()->OnCmdMsg(nID, nCode);
    }
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(GetMessageMap(), message, 0, 0);
    if (!pEntry) return FALSE;
    switch (pEntry->nSig) {
    case AfxSig_vv:
        m_bDefaultHandling = false;
        (this->*pEntry->pfn)();
        return m_bDefaultHandling ? FALSE : TRUE;
    case AfxSig_hv: {
        HCURSOR hCursor = (this->*pEntry->pfnHv)();
        return reinterpret_cast<INT_PTR>(hCursor);
    }
    default:
        return FALSE;
    }
}
