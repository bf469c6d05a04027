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
    // The framework's initialisation alone: the map dialog has nothing of its
    // own to set up, and this is where it would go.
    BOOL OnInitDialog() override { return CDialog::OnInitDialog(); }
};

#endif
