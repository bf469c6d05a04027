#include "CInfoDlg.h"

#include "InfoText.h"
#include "ProgramDirectory.h"

namespace {
// The width in pixels of the widest text, in the font the list draws with,
// and one average character more so that the last one is not against the edge.
int WidestEntryWidth(HWND hList, const std::vector<std::string>& lines) {
    HDC hDC = ::GetDC(hList);
    HFONT hFont = reinterpret_cast<HFONT>(::SendMessageA(hList, WM_GETFONT, 0, 0));
    HGDIOBJ hOldFont = hFont ? ::SelectObject(hDC, hFont) : nullptr;
    int nWidest = 0;
    for (const std::string& strLine : lines) {
        SIZE size = {};
        if (::GetTextExtentPoint32A(hDC, strLine.c_str(), static_cast<int>(strLine.size()), &size) &&
            size.cx > nWidest)
            nWidest = size.cx;
    }
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(hDC, &tm);
    if (hOldFont) ::SelectObject(hDC, hOldFont);
    ::ReleaseDC(hList, hDC);
    return nWidest > 0 ? nWidest + tm.tmAveCharWidth : 0;
}
}  // namespace

void CInfoDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_INFO_LIST, m_listInfo);
}

BOOL CInfoDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    m_listInfo.ResetContent();
    // A missing file leaves the list empty, without a message.
    CString strInfoPath = GetProgramDirectory() + kszInfoFile;
    const std::vector<std::string> lines = ReadInfoLines(strInfoPath);
    for (const std::string& strLine : lines) m_listInfo.AddString(strLine.c_str());
    // The horizontal scroll bar reaches the end of the widest entry.
    m_listInfo.SetHorizontalExtent(WidestEntryWidth(m_listInfo.m_hWnd, lines));

    return TRUE;
}
