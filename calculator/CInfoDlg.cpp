#include "CInfoDlg.h"

#include "InfoText.h"
#include "ProgramDirectory.h"

void CInfoDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_INFO_LIST, m_listInfo);
}

BOOL CInfoDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    m_listInfo.ResetContent();
    // A missing file leaves the list empty, without a message.
    CString strInfoPath = GetProgramDirectory() + kszInfoFile;
    for (const std::string& strLine : ReadInfoLines(strInfoPath)) m_listInfo.AddString(strLine.c_str());

    return TRUE;
}
