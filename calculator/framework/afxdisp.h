// COleDateTime: a date and time as an OLE automation date (days since
// 1899-12-30), formatted and parsed by oleaut32 with the user's locale.
#ifndef NORVANE_AFXDISP_H
#define NORVANE_AFXDISP_H

#include "afxwin.h"

#include <oleauto.h>

class COleDateTime {
public:
    enum DateTimeStatus { valid = 0, invalid = 1 };

    COleDateTime() = default;
    static COleDateTime GetCurrentTime();

    // VarBstrFromDate with the given flags (VAR_DATEVALUEONLY) and locale.
    CString Format(DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT) const;
    // VarDateFromStr; false, and status invalid, when the text is not a date.
    bool ParseDateTime(const char* pszDate, DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT);

    int GetYear() const;
    int GetMonth() const;  // 1 to 12
    int GetDay() const;    // 1 to 31

    DATE m_dt = 0;
    DateTimeStatus m_status = valid;

private:
    bool GetDate(SYSTEMTIME& st) const;
};

#endif
