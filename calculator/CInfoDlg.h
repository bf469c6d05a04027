// The information dialog: the lines of "info.txt", read at each opening.
#ifndef NORVANE_CINFODLG_H
#define NORVANE_CINFODLG_H

#include "afxwin.h"
#include "resource.h"

class CInfoDlg : public CDialog {
public:
    explicit CInfoDlg(CWnd* pParent = nullptr) : CDialog(CInfoDlg::IDD, pParent) {}

    enum { IDD = IDD_INFO_DIALOG };

    CListBox m_listInfo;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};

#endif
