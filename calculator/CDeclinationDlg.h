// The main dialog: position, date, results, and the way to the secondary dialogs.
#ifndef NORVANE_CDECLINATIONDLG_H
#define NORVANE_CDECLINATIONDLG_H

#include "afxwin.h"
#include "geokern2.h"
#include "resource.h"

// The engine's SysCoord2SysCoord, bound by name when the main dialog starts.
extern PFN_SysCoord2SysCoord g_pfnSysCoord2SysCoord;

class CDeclinationDlg : public CDialog {
public:
    explicit CDeclinationDlg(CWnd* pParent = nullptr);

    enum { IDD = IDD_DECLINATION_DIALOG };

    CString m_strEnginePath;
    CButton m_radioDms;
    CButton m_radioDecimal;
    CButton m_radioDecSouth;
    CButton m_radioDecWest;
    CButton m_radioDecNorth;
    CButton m_radioDecEast;
    CButton m_radioDmsSouth;
    CButton m_radioDmsWest;
    CButton m_radioDmsNorth;
    CButton m_radioDmsEast;
    int m_nLatDeg;
    UINT m_uLatMin;
    UINT m_uLatSec;
    int m_nLonDeg;
    UINT m_uLonMin;
    UINT m_uLonSec;
    CString m_strDeclination;
    CString m_strDate;
    CString m_strAnnualVariation;
    double m_dLatDecimal;
    double m_dLonDecimal;

protected:
    HICON m_hIcon;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnCalculer();
    afx_msg void OnDmsNorth();
    afx_msg void OnDmsSouth();
    afx_msg void OnDmsEast();
    afx_msg void OnDmsWest();
    afx_msg void OnInfo();
    afx_msg void OnDecNorth();
    afx_msg void OnDecSouth();
    afx_msg void OnDecEast();
    afx_msg void OnDecWest();
    afx_msg void OnModeDms();
    afx_msg void OnModeDecimal();
    afx_msg void OnMapSmall();

    DECLARE_MESSAGE_MAP()

private:
    // Start-up failure: the message, then the end of the process.
    [[noreturn]] void FailStartup(const char* pszMessage);
    void ShowError(const char* pszMessage);
};

#endif
