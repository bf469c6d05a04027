// The framework layer in-process: strings, dates under the French locale,
// data exchange and validation on a real dialog, message and command routing.
// Runs under wine on the e2e display (dialogs need one).
#include "afxdisp.h"
#include "afxwin.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

const UINT kAppCommand = 40001;

class CTestApp : public CWinApp {
public:
    CTestApp() : CWinApp("essai") {}
    int m_nAppCommands = 0;
    afx_msg void OnAppCommand() { ++m_nAppCommands; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_COMMAND(kAppCommand, OnAppCommand)
END_MESSAGE_MAP()

CTestApp theApp;

// Closes every message box of one thread while it runs, keeping their texts.
class BoxCloser {
public:
    explicit BoxCloser(DWORD dwThread) : m_dwThread(dwThread), m_thread([this] { Run(); }) {}
    ~BoxCloser() {
        m_bStop = true;
        m_thread.join();
    }
    std::vector<std::string> Texts() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_texts;
    }

private:
    static BOOL CALLBACK Find(HWND hWnd, LPARAM lParam) {
        char szClass[16] = "";
        ::GetClassNameA(hWnd, szClass, sizeof szClass);
        if (std::string(szClass) == "#32770" && ::GetDlgItem(hWnd, 0xFFFF) && ::IsWindowVisible(hWnd)) {
            *reinterpret_cast<HWND*>(lParam) = hWnd;
            return FALSE;
        }
        return TRUE;
    }
    void Run() {
        while (!m_bStop) {
            HWND hBox = nullptr;
            ::EnumThreadWindows(m_dwThread, Find, reinterpret_cast<LPARAM>(&hBox));
            if (hBox) {
                char szText[256] = "", szCaption[64] = "";
                ::GetDlgItemTextA(hBox, 0xFFFF, szText, sizeof szText);
                ::GetWindowTextA(hBox, szCaption, sizeof szCaption);
                {
                    std::lock_guard<std::mutex> lock(m_mutex);
                    m_texts.push_back(std::string(szCaption) + ": " + szText);
                }
                ::PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                while (::IsWindow(hBox)) ::Sleep(10);
            }
            ::Sleep(10);
        }
    }
    DWORD m_dwThread;
    std::atomic<bool> m_bStop{false};
    std::mutex m_mutex;
    std::vector<std::string> m_texts;
    std::thread m_thread;
};

// The test dialog: its OnInitDialog runs the scenario given to it, then ends.
class CTestDlg : public CDialog {
public:
    CTestDlg() : CDialog(200) {}
    int m_nValue = 0;
    UINT m_uValue = 4294967295u;
    double m_dValue = 0.1;
    CString m_strValue = "abc";
    CButton m_button;
    CListBox m_list;
    int m_nClicks = 0, m_nPictureClicks = 0;
    std::function<void(CTestDlg&)> m_scenario;

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        if (m_scenario) m_scenario(*this);
        return TRUE;
    }
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, 105, m_button);
        DDX_Control(pDX, 106, m_list);
        DDX_Text(pDX, 101, m_nValue);
        DDV_MinMaxInt(pDX, m_nValue, -5, 90);
        DDX_Text(pDX, 102, m_uValue);
        DDV_MinMaxUInt(pDX, m_uValue, 0, 4294967295u);
        DDX_Text(pDX, 103, m_dValue);
        DDV_MinMaxDouble(pDX, m_dValue, 0.0, 180.0);
        DDX_Text(pDX, 104, m_strValue);
        DDV_MaxChars(pDX, m_strValue, 5);
    }
    std::string Text(int nID) {
        char sz[256] = "";
        ::GetDlgItemTextA(m_hWnd, nID, sz, sizeof sz);
        return sz;
    }
    void Set(int nID, const char* psz) { ::SetDlgItemTextA(m_hWnd, nID, psz); }
    afx_msg void OnAction() { ++m_nClicks; }
    afx_msg void OnPicture() { ++m_nPictureClicks; }
    afx_msg HCURSOR OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(static_cast<INT_PTR>(0x1234)); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestDlg, CDialog)
    ON_BN_CLICKED(107, OnAction)
    ON_STN_CLICKED(108, OnPicture)
    ON_WM_QUERYDRAGICON()
END_MESSAGE_MAP()

INT_PTR RunModal(CTestDlg& dlg) {
    theApp.m_hInstance = ::GetModuleHandleA(nullptr);
    return dlg.DoModal();
}

TEST(CStringTest, BuildsAndSplitsText) {
    CString str("C:\\dossier\\norvane.exe");
    EXPECT_EQ(str.ReverseFind('\\'), 10);
    EXPECT_STREQ(str.Left(11), "C:\\dossier\\");
    EXPECT_EQ(str.ReverseFind('#'), -1);
    CString strJoined = str.Left(11) + "geokern.dll";
    EXPECT_STREQ(strJoined, "C:\\dossier\\geokern.dll");
    CString strFormat;
    strFormat.Format("%3.2f \xB0/an %s", 0.125e1, "x");
    EXPECT_STREQ(strFormat, "1.25 \xB0/an x");
    EXPECT_EQ(strFormat.GetLength(), 11);
    strFormat.Empty();
    EXPECT_EQ(strFormat.GetLength(), 0);
}

// The test runs with a French user locale (LC_ALL=fr_FR.UTF-8 under wine).
TEST(COleDateTimeTest, FormatsAndParsesTheShortDate) {
    SYSTEMTIME st = {};
    st.wYear = 2026;
    st.wMonth = 12;
    st.wDay = 7;
    st.wHour = 15;
    COleDateTime date;
    ASSERT_TRUE(::SystemTimeToVariantTime(&st, &date.m_dt));
    EXPECT_STREQ(date.Format(VAR_DATEVALUEONLY, LANG_USER_DEFAULT), "07/12/2026");

    COleDateTime parsed;
    ASSERT_TRUE(parsed.ParseDateTime("31/12/2015", VAR_DATEVALUEONLY, LANG_USER_DEFAULT));
    EXPECT_EQ(parsed.m_status, COleDateTime::valid);
    EXPECT_EQ(parsed.GetYear(), 2015);
    EXPECT_EQ(parsed.GetMonth(), 12);
    EXPECT_EQ(parsed.GetDay(), 31);
    // A time of day is ignored.
    ASSERT_TRUE(parsed.ParseDateTime("01/07/2009 23:59:59", VAR_DATEVALUEONLY, LANG_USER_DEFAULT));
    EXPECT_EQ(parsed.m_dt, 39995.0);
    for (const char* pszText : {"abc", "31/02/2012", ""}) {
        EXPECT_FALSE(parsed.ParseDateTime(pszText, VAR_DATEVALUEONLY, LANG_USER_DEFAULT)) << pszText;
        EXPECT_EQ(parsed.m_status, COleDateTime::invalid);
        EXPECT_EQ(parsed.GetYear(), -1);
    }
    EXPECT_GT(COleDateTime::GetCurrentTime().Format(VAR_DATEVALUEONLY, LANG_USER_DEFAULT).GetLength(), 0);
}

TEST(DataExchangeTest, WritesValuesInTheFrameworksForm) {
    CTestDlg dlg;
    std::string strInt, strUInt, strDouble, strText;
    LRESULT nLimit = 0;
    dlg.m_scenario = [&](CTestDlg& d) {
        strInt = d.Text(101), strUInt = d.Text(102), strDouble = d.Text(103), strText = d.Text(104);
        nLimit = ::SendDlgItemMessageA(d.m_hWnd, 104, EM_GETLIMITTEXT, 0, 0);
        d.EndDialog(IDOK);
    };
    EXPECT_EQ(RunModal(dlg), IDOK);
    EXPECT_EQ(strInt, "0");
    EXPECT_EQ(strUInt, "4294967295");
    EXPECT_EQ(strDouble, "0.1");  // %.15g
    EXPECT_EQ(strText, "abc");
    EXPECT_EQ(nLimit, 5);  // the text limit became the typing limit
}

TEST(DataExchangeTest, ReadsAndValidatesInOrder) {
    struct Step {
        const char* pszInt;
        const char* pszUInt;
        const char* pszDouble;
        const char* pszText;
        const char* pszMessage;  // nullptr: passes
        int nFocusID;
    };
    const Step steps[] = {
        {" 90 ", "0", "180", "abcde", nullptr, 0},
        {"-5", "4294967295", "0.0", "", nullptr, 0},
        {"91", "0", "0", "", "essai: Entrez un entier compris entre -5 et 90.", 101},
        {"1x", "0", "0", "", "essai: Entrez un entier.", 101},
        {"99999999999", "0", "0", "", "essai: Entrez un entier.", 101},
        {"1", "-1", "0", "", "essai: Entrez un entier positif.", 102},
        {"1", "4294967296", "0", "", "essai: Entrez un entier positif.", 102},
        {"1", "1", "180.000001", "", "essai: Entrez un nombre compris entre 0 et 180.", 103},
        {"1", "1", "nan", "", "essai: Entrez un nombre.", 103},
        // A decimal comma is read as the point; one separator at most.
        {"1", "1", " 1,5 ", "", nullptr, 0},
        {"1", "1", "1,5.2", "", "essai: Entrez un nombre.", 103},
        {"1", "1", "1,,5", "", "essai: Entrez un nombre.", 103},
        {"1", "1", ",", "", "essai: Entrez un nombre.", 103},
        {"1", "1", "180,000001", "", "essai: Entrez un nombre compris entre 0 et 180.", 103},
        {"1", "1", "1", "abcdef", "essai: Entrez au plus 5 caract\xE8res.", 104},
    };
    CTestDlg dlg;
    std::vector<BOOL> results;
    std::vector<std::string> messages;
    std::vector<int> focus;
    dlg.m_scenario = [&](CTestDlg& d) {
        BoxCloser closer(::GetCurrentThreadId());
        for (const Step& step : steps) {
            d.Set(101, step.pszInt);
            d.Set(102, step.pszUInt);
            d.Set(103, step.pszDouble);
            d.Set(104, step.pszText);
            size_t nBefore = closer.Texts().size();
            results.push_back(d.UpdateData(TRUE));
            std::vector<std::string> texts = closer.Texts();
            messages.push_back(texts.size() > nBefore ? texts.back() : std::string());
            focus.push_back(::GetDlgCtrlID(::GetFocus()));
        }
        d.EndDialog(IDOK);
    };
    RunModal(dlg);
    ASSERT_EQ(results.size(), std::size(steps));
    for (size_t n = 0; n < std::size(steps); ++n) {
        EXPECT_EQ(results[n], steps[n].pszMessage == nullptr) << n;
        EXPECT_EQ(messages[n], steps[n].pszMessage ? steps[n].pszMessage : "") << n;
        if (steps[n].nFocusID) {
            EXPECT_EQ(focus[n], steps[n].nFocusID) << n;
        }
    }
    // The last exchange read every field; its text was stored, then refused.
    EXPECT_EQ(dlg.m_nValue, 1);
    EXPECT_EQ(dlg.m_uValue, 1u);
    EXPECT_EQ(dlg.m_dValue, 1.0);
    EXPECT_STREQ(dlg.m_strValue, "abcdef");
    EXPECT_NE(dlg.m_button.m_hWnd, nullptr);
    EXPECT_NE(dlg.m_list.m_hWnd, nullptr);
}

TEST(DataExchangeTest, ReadsADecimalCommaAndWritesThePoint) {
    CTestDlg dlg;
    BOOL bRead = FALSE;
    double dRead = 0.0;
    std::string strWritten;
    dlg.m_scenario = [&](CTestDlg& d) {
        d.Set(103, "48,85");
        bRead = d.UpdateData(TRUE);
        dRead = d.m_dValue;
        d.UpdateData(FALSE);
        strWritten = d.Text(103);
        d.EndDialog(IDOK);
    };
    RunModal(dlg);
    EXPECT_TRUE(bRead);
    EXPECT_EQ(dRead, 48.85);
    EXPECT_EQ(strWritten, "48.85");
}

TEST(MessageMapTest, RoutesCommandsAndMessages) {
    CTestDlg dlg;
    LRESULT nDragIcon = 0;
    int nListCount = -1;
    dlg.m_scenario = [&](CTestDlg& d) {
        ::SendMessageA(d.m_hWnd, WM_COMMAND, MAKEWPARAM(107, BN_CLICKED), 0);
        ::SendMessageA(d.m_hWnd, WM_COMMAND, MAKEWPARAM(107, BN_DOUBLECLICKED), 0);  // another code: not routed
        ::SendMessageA(d.m_hWnd, WM_COMMAND, MAKEWPARAM(108, STN_CLICKED), 0);
        ::SendMessageA(d.m_hWnd, WM_COMMAND, MAKEWPARAM(kAppCommand, 0), 0);  // the application's
        nDragIcon = ::SendMessageA(d.m_hWnd, WM_QUERYDRAGICON, 0, 0);
        d.m_list.AddString("un");
        d.m_list.AddString("deux");
        nListCount = static_cast<int>(::SendMessageA(d.m_list.m_hWnd, LB_GETCOUNT, 0, 0));
        d.m_list.ResetContent();
        d.m_button.SetCheck(1);
        EXPECT_EQ(d.m_button.GetCheck(), BST_CHECKED);
        // Escape's command: the framework's cancel handling ends the dialog.
        ::PostMessageA(d.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    };
    EXPECT_EQ(RunModal(dlg), IDCANCEL);
    EXPECT_EQ(dlg.m_nClicks, 1);
    EXPECT_EQ(dlg.m_nPictureClicks, 1);
    EXPECT_EQ(theApp.m_nAppCommands, 1);
    EXPECT_EQ(nDragIcon, 0x1234);
    EXPECT_EQ(nListCount, 2);
}

TEST(MessageMapTest, OkValidatesBeforeEnding) {
    CTestDlg dlg;
    std::vector<std::string> messages;
    dlg.m_scenario = [&](CTestDlg& d) {
        BoxCloser closer(::GetCurrentThreadId());
        d.Set(101, "500");
        ::SendMessageA(d.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);  // refused: stays open
        messages = closer.Texts();
        d.Set(101, "5");
        ::PostMessageA(d.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
    EXPECT_EQ(RunModal(dlg), IDOK);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "essai: Entrez un entier compris entre -5 et 90.");
    EXPECT_EQ(dlg.m_nValue, 5);
}

}  // namespace
