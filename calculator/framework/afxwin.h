// A thin dialog framework over Win32 with the names and behaviour of the MFC
// classes the calculator uses: application object, modal dialogs on templates,
// message maps, button and list box wrappers, text strings, dialog data
// exchange and validation. ANSI only. Each control wrapper sends the one
// message it names. The framework's own logic lies in the message routing and
// the modal dialogs with their choice of owner (Wnd.cpp), the data exchange
// with its parsing and messages (DataExchange.cpp), and the application
// object with the program's entry point (WinApp.cpp).
#ifndef NORVANE_AFXWIN_H
#define NORVANE_AFXWIN_H

#ifndef STRICT
#define STRICT
#endif
#undef UNICODE
#undef _UNICODE
#include <windows.h>

#include <string>

#ifndef afx_msg
#define afx_msg
#endif

// Command identifier of the framework's Help command.
#define ID_HELP 0xE146

// ---------------------------------------------------------------------------
// CString: an ANSI text, in the system code page.
class CString {
public:
    CString() = default;
    CString(const char* psz) : m_str(psz ? psz : "") {}
    CString(const char* pch, int nLength) : m_str(pch, static_cast<size_t>(nLength)) {}
    CString(const std::string& str) : m_str(str) {}

    CString& operator=(const char* psz) { m_str = psz ? psz : ""; return *this; }
    friend CString operator+(const CString& a, const char* b) { return CString(a.m_str + (b ? b : "")); }

    operator const char*() const { return m_str.c_str(); }
    int GetLength() const { return static_cast<int>(m_str.size()); }
    void Empty() { m_str.clear(); }
    CString Left(int nCount) const { return CString(m_str.substr(0, static_cast<size_t>(nCount))); }
    // Index of the last occurrence of ch, -1 if none.
    int ReverseFind(char ch) const {
        size_t n = m_str.rfind(ch);
        return n == std::string::npos ? -1 : static_cast<int>(n);
    }
    void Format(const char* pszFormat, ...);

private:
    std::string m_str;
};

// ---------------------------------------------------------------------------
// Message maps. An entry routes one window message, or one notification code
// of one control, to a member function without arguments.
class CCmdTarget;
typedef void (CCmdTarget::*AFX_PMSG)();
typedef HCURSOR (CCmdTarget::*AFX_PMSG_HV)();

enum AfxSig {
    AfxSig_end = 0,
    AfxSig_vv,  // void Handler()
    AfxSig_hv,  // HCURSOR Handler(), value returned to the system
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // WM_xxx, or WM_COMMAND for a command or notification
    UINT nCode;     // notification code (BN_CLICKED, STN_CLICKED), WM_COMMAND only
    UINT nID;       // control or command identifier, WM_COMMAND only
    AfxSig nSig;
    // The handler, in the member of its signature: no handler is ever called
    // through a pointer of another type.
    AFX_PMSG pfn;        // AfxSig_vv
    AFX_PMSG_HV pfnHv;   // AfxSig_hv
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                              \
protected:                                                 \
    static const AFX_MSGMAP* GetThisMessageMap();          \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                        \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                 \
        typedef theClass ThisClass;                                                   \
        typedef baseClass TheBaseClass;                                               \
        (void)sizeof(ThisClass);                                                      \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                \
            {0, 0, 0, AfxSig_end, nullptr, nullptr}};                                    \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, _messageEntries}; \
        return &messageMap;                                                              \
    }

#define AFX_VV(memberFxn) static_cast<AFX_PMSG>(static_cast<void (ThisClass::*)()>(&memberFxn))
#define ON_COMMAND(id, memberFxn) {WM_COMMAND, 0, (UINT)(id), AfxSig_vv, AFX_VV(memberFxn), nullptr},
#define ON_BN_CLICKED(id, memberFxn) {WM_COMMAND, BN_CLICKED, (UINT)(id), AfxSig_vv, AFX_VV(memberFxn), nullptr},
#define ON_STN_CLICKED(id, memberFxn) {WM_COMMAND, STN_CLICKED, (UINT)(id), AfxSig_vv, AFX_VV(memberFxn), nullptr},
#define ON_WM_PAINT() {WM_PAINT, 0, 0, AfxSig_vv, AFX_VV(ThisClass::OnPaint), nullptr},
#define ON_WM_QUERYDRAGICON()                          \
    {WM_QUERYDRAGICON, 0, 0, AfxSig_hv, nullptr,       \
     static_cast<AFX_PMSG_HV>(static_cast<HCURSOR (ThisClass::*)()>(&ThisClass::OnQueryDragIcon))},

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;
    // Runs the handler of a WM_COMMAND (code, id) if the map has one.
    virtual BOOL OnCmdMsg(UINT nID, UINT nCode);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
    static const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage, UINT nCode, UINT nID);
};

// ---------------------------------------------------------------------------
class CWnd : public CCmdTarget {
public:
    HWND m_hWnd = nullptr;

    HICON SetIcon(HICON hIcon, BOOL bBigIcon) {
        return reinterpret_cast<HICON>(
            ::SendMessageA(m_hWnd, WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
    }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    int MessageBox(const char* pszText, const char* pszCaption = nullptr, UINT nType = MB_OK) {
        return ::MessageBoxA(m_hWnd, pszText, pszCaption, nType);
    }
    // Transfers the data to (FALSE) or from and validated (TRUE) the controls;
    // false when a field failed validation.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

protected:
    friend class CDataExchange;
    virtual void DoDataExchange(class CDataExchange* pDX);
    // The handling the system would have given the current message.
    void Default() { m_bDefaultHandling = true; }
    bool m_bDefaultHandling = false;
};

// Button control (check box, radio button, push button) of a dialog.
class CButton : public CWnd {
public:
    int GetCheck() const { return static_cast<int>(::SendMessageA(m_hWnd, BM_GETCHECK, 0, 0)); }
    void SetCheck(int nCheck) { ::SendMessageA(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(nCheck), 0); }
};

// List box control of a dialog.
class CListBox : public CWnd {
public:
    void ResetContent() { ::SendMessageA(m_hWnd, LB_RESETCONTENT, 0, 0); }
    int AddString(const char* pszItem) {
        return static_cast<int>(::SendMessageA(m_hWnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszItem)));
    }
    // The width in pixels the horizontal scroll bar lets the user see.
    void SetHorizontalExtent(int cxExtent) {
        ::SendMessageA(m_hWnd, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(cxExtent), 0);
    }
};

// ---------------------------------------------------------------------------
// Modal dialog on a dialog template resource.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr)
        : m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd) {}

    // Runs the dialog (DialogBoxParam); the value passed to EndDialog, or -1.
    virtual INT_PTR DoModal();
    virtual BOOL OnInitDialog();
    void EndDialog(int nResult) { ::EndDialog(m_hWnd, nResult); }

protected:
    virtual void OnOK();
    virtual void OnCancel();
    afx_msg void OnPaint() { Default(); }

    UINT m_nIDHelp;
    CWnd* m_pParentWnd;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnDialogMessage(UINT message, WPARAM wParam, LPARAM lParam);
};

// ---------------------------------------------------------------------------
// The application. Exactly one object of a derived class exists; the
// framework's WinMain runs its InitInstance.
class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(const char* pszAppName = nullptr);
    virtual BOOL InitInstance() { return TRUE; }

    HICON LoadIcon(UINT nIDResource) const { return ::LoadIconA(m_hInstance, MAKEINTRESOURCEA(nIDResource)); }
    // The three-dimensional look of the standard controls (common controls).
    BOOL Enable3dControls();

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;
    const char* m_pszAppName = nullptr;  // caption of the framework's own message boxes

    afx_msg void OnHelp();

    DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
// A framework message box over the active window, caption the application name.
int AfxMessageBox(const char* pszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// The full path of a module's file, whatever its length.
BOOL AfxGetModuleFileName(HINSTANCE hInstance, CString& strFileName);

// ---------------------------------------------------------------------------
// Dialog data exchange and validation.
class CUserException {};

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    // The edit control of a DDX_Text, remembered for the DDV and Fail that follow.
    HWND PrepareEditCtrl(int nIDC);
    HWND PrepareCtrl(int nIDC);
    // Puts the focus on the last prepared control and ends the exchange.
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl = nullptr;
    bool m_bEditLastControl = false;
};

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minVal, double maxVal);
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);

#endif
