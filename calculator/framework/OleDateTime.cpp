#include "afxdisp.h"

#include <string>

COleDateTime COleDateTime::GetCurrentTime() {
    SYSTEMTIME st;
    ::GetLocalTime(&st);
    COleDateTime dt;
    if (!::SystemTimeToVariantTime(&st, &dt.m_dt)) dt.m_status = invalid;
    return dt;
}

CString COleDateTime::Format(DWORD dwFlags, LCID lcid) const {
    if (m_status != valid) return CString();
    BSTR bstr = nullptr;
    if (FAILED(::VarBstrFromDate(m_dt, lcid, dwFlags, &bstr))) return CString();
    // The system code page, as all the dialog texts.
    int nBytes = ::WideCharToMultiByte(CP_ACP, 0, bstr, -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(nBytes > 0 ? nBytes : 1), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, bstr, -1, &text[0], nBytes, nullptr, nullptr);
    ::SysFreeString(bstr);
    return CString(text.c_str());
}

bool COleDateTime::ParseDateTime(const char* pszDate, DWORD dwFlags, LCID lcid) {
    int nChars = ::MultiByteToWideChar(CP_ACP, 0, pszDate, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(nChars > 0 ? nChars : 1), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, pszDate, -1, &wide[0], nChars);
    DATE dt = 0;
    if (FAILED(::VarDateFromStr(&wide[0], lcid, dwFlags, &dt))) {
        m_dt = 0;
        m_status = invalid;
        return false;
    }
    m_dt = dt;
    m_status = valid;
    return true;
}

bool COleDateTime::GetDate(SYSTEMTIME& st) const {
    return m_status == valid && ::VariantTimeToSystemTime(m_dt, &st);
}

int COleDateTime::GetYear() const {
    SYSTEMTIME st;
    return GetDate(st) ? st.wYear : -1;
}

int COleDateTime::GetMonth() const {
    SYSTEMTIME st;
    return GetDate(st) ? st.wMonth : -1;
}

int COleDateTime::GetDay() const {
    SYSTEMTIME st;
    return GetDate(st) ? st.wDay : -1;
}
