#include "CDeclinationApp.h"

#include "CDeclinationDlg.h"

BEGIN_MESSAGE_MAP(CDeclinationApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

CDeclinationApp::CDeclinationApp() {}

// The one application object.
CDeclinationApp theApp;

BOOL CDeclinationApp::InitInstance() {
    Enable3dControls();

    CDeclinationDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();

    // The dialog has closed: end the program without a message loop.
    return FALSE;
}
