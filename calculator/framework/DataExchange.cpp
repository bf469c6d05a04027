// Dialog data exchange and validation: values move between controls and
// members; on the way in each field is parsed and range-checked, and the first
// failure shows the framework's message, puts the focus on the field and ends
// the exchange.
#include "afxwin.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {
// The framework's messages (French, Windows-1252).
const char kszParseInt[] = "Entrez un entier.";
const char kszParseUInt[] = "Entrez un entier positif.";
const char kszParseReal[] = "Entrez un nombre.";
const char kszParseIntRange[] = "Entrez un entier compris entre %s et %s.";
const char kszParseRealRange[] = "Entrez un nombre compris entre %s et %s.";
const char kszParseStringSize[] = "Entrez au plus %d caract\xE8res.";

bool IsBlank(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\v' || ch == '\f'; }

// Only white space may follow the number.
bool RestIsBlank(const char* p) {
    while (*p && IsBlank(*p)) ++p;
    return *p == '\0';
}

CString GetControlText(HWND hWnd) {
    int nLength = ::GetWindowTextLengthA(hWnd);
    std::string text(static_cast<size_t>(nLength) + 1, '\0');
    nLength = ::GetWindowTextA(hWnd, &text[0], nLength + 1);
    return CString(text.c_str(), nLength);
}

[[noreturn]] void FailWithMessage(CDataExchange* pDX, const char* pszText) {
    AfxMessageBox(pszText, MB_ICONEXCLAMATION);
    pDX->Fail();
}

CString FormatReal(double value) {
    CString str;
    str.Format("%.*g", DBL_DIG, value);
    return str;
}
}  // namespace

HWND CDataExchange::PrepareCtrl(int nIDC) {
    m_hWndLastControl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    m_bEditLastControl = false;
    return m_hWndLastControl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
    HWND hWnd = PrepareCtrl(nIDC);
    m_bEditLastControl = true;
    return hWnd;
}

void CDataExchange::Fail() {
    if (m_bSaveAndValidate && m_hWndLastControl) {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl) ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    throw CUserException();
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (!rControl.m_hWnd) rControl.m_hWnd = pDX->PrepareCtrl(nIDC);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        CString text = GetControlText(hWnd);
        const char* psz = text;
        char* pEnd = nullptr;
        errno = 0;
        long long n = std::strtoll(psz, &pEnd, 10);
        if (pEnd == psz || !RestIsBlank(pEnd) || errno == ERANGE || n < INT_MIN || n > INT_MAX)
            FailWithMessage(pDX, kszParseInt);
        value = static_cast<int>(n);
    } else {
        CString text;
        text.Format("%d", value);
        ::SetWindowTextA(hWnd, text);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        CString text = GetControlText(hWnd);
        const char* psz = text;
        while (*psz && IsBlank(*psz)) ++psz;
        char* pEnd = nullptr;
        errno = 0;
        // No sign: strtoull would turn "-1" into the largest value.
        unsigned long long n = (*psz >= '0' && *psz <= '9') ? std::strtoull(psz, &pEnd, 10) : 0;
        if (!pEnd || pEnd == psz || !RestIsBlank(pEnd) || errno == ERANGE || n > UINT_MAX)
            FailWithMessage(pDX, kszParseUInt);
        value = static_cast<UINT>(n);
    } else {
        CString text;
        text.Format("%u", value);
        ::SetWindowTextA(hWnd, text);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value) {
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        // A French user writes 48,85: the comma is read as the decimal point.
        // The number must still be the whole text, so "1,5.2" is refused.
        std::string text(GetControlText(hWnd));
        for (char& ch : text)
            if (ch == ',') ch = '.';
        const char* psz = text.c_str();
        char* pEnd = nullptr;
        double d = std::strtod(psz, &pEnd);
        // Infinities and NaN would slip through any range check.
        if (pEnd == psz || !RestIsBlank(pEnd) || !std::isfinite(d)) FailWithMessage(pDX, kszParseReal);
        value = d;
    } else {
        ::SetWindowTextA(hWnd, FormatReal(value));
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = GetControlText(hWnd);
    else
        ::SetWindowTextA(hWnd, value);
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) return;
    CString strMin, strMax, text;
    strMin.Format("%d", minVal);
    strMax.Format("%d", maxVal);
    text.Format(kszParseIntRange, static_cast<const char*>(strMin), static_cast<const char*>(strMax));
    FailWithMessage(pDX, text);
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal) {
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) return;
    CString strMin, strMax, text;
    strMin.Format("%u", minVal);
    strMax.Format("%u", maxVal);
    text.Format(kszParseIntRange, static_cast<const char*>(strMin), static_cast<const char*>(strMax));
    FailWithMessage(pDX, text);
}

void DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minVal, double maxVal) {
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) return;
    CString text;
    text.Format(kszParseRealRange, static_cast<const char*>(FormatReal(minVal)),
                static_cast<const char*>(FormatReal(maxVal)));
    FailWithMessage(pDX, text);
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
    if (!pDX->m_bSaveAndValidate) {
        // Written to the control: the limit becomes its typing limit.
        if (pDX->m_hWndLastControl && pDX->m_bEditLastControl)
            ::SendMessageA(pDX->m_hWndLastControl, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
        return;
    }
    if (value.GetLength() <= nChars) return;
    CString text;
    text.Format(kszParseStringSize, nChars);
    FailWithMessage(pDX, text);
}
