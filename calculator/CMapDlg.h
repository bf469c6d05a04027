// The map dialog: the declination map, a picture of the resources.
#ifndef NORVANE_CMAPDLG_H
#define NORVANE_CMAPDLG_H

#include "afxwin.h"
#include "resource.h"

class CMapDlg : public CDialog {
public:
    explicit CMapDlg(CWnd* pParent = nullptr) : CDialog(CMapDlg::IDD, pParent) {}

    enum { IDD = IDD_MAP_DIALOG };

protected:
    BOOL OnInitDialog() override { return CDialog::OnInitDialog(); }
};

#endif
