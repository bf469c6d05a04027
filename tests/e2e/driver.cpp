#include "driver.h"

#include <cstdio>

namespace e2e {

namespace {
int g_nFailures = 0;
const char kszMainCaption[] = "Norvane 3.0";

struct FindData {
    std::string strCaption;  // empty: any message box
    bool bMessageBox;
    HWND hFound;
};

BOOL CALLBACK FindProc(HWND hWnd, LPARAM lParam) {
    FindData* pData = reinterpret_cast<FindData*>(lParam);
    char szClass[64] = "";
    ::GetClassNameA(hWnd, szClass, sizeof szClass);
    if (std::string(szClass) != "#32770") return TRUE;
    if (pData->bMessageBox) {
        if (::GetDlgItem(hWnd, 0xFFFF) && ::IsWindowVisible(hWnd)) {
            pData->hFound = hWnd;
            return FALSE;
        }
        return TRUE;
    }
    if (WindowText(hWnd) == pData->strCaption) {
        pData->hFound = hWnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

void Check(bool bOk, const std::string& strWhat) {
    if (bOk) return;
    ++g_nFailures;
    std::printf("FAILED: %s\n", strWhat.c_str());
    std::fflush(stdout);
}

std::string Show(const std::string& str) {
    std::string strOut;
    for (unsigned char ch : str) {
        char sz[8];
        if (ch == '\n') strOut += "\\n";
        else if (ch < 0x20 || ch >= 0x7F) { std::snprintf(sz, sizeof sz, "\\x%02X", ch); strOut += sz; }
        else strOut += static_cast<char>(ch);
    }
    return strOut;
}

void CheckEq(const std::string& strActual, const std::string& strExpected, const std::string& strWhat) {
    Check(strActual == strExpected,
          strWhat + ": got \"" + Show(strActual) + "\", expected \"" + Show(strExpected) + "\"");
}

int FailureCount() { return g_nFailures; }

std::string WinPath(const std::string& strUnix) {
    if (strUnix.size() > 1 && strUnix[1] == ':') return strUnix;
    std::string str = "Z:" + strUnix;
    for (char& ch : str) if (ch == '/') ch = '\\';
    return str;
}

std::string JoinPath(const std::string& strDir, const std::string& strName) {
    if (!strDir.empty() && strDir.back() == '\\') return strDir + strName;
    return strDir + "\\" + strName;
}

void MakeDirectory(const std::string& strPath) { ::CreateDirectoryA(strPath.c_str(), nullptr); }

void CopyTo(const std::string& strFrom, const std::string& strTo) {
    Check(::CopyFileA(strFrom.c_str(), strTo.c_str(), FALSE) != 0, "copy " + strFrom + " to " + strTo);
}

void WriteFile(const std::string& strPath, const std::string& strBytes) {
    FILE* pFile = std::fopen(strPath.c_str(), "wb");
    Check(pFile != nullptr, "write " + strPath);
    if (!pFile) return;
    std::fwrite(strBytes.data(), 1, strBytes.size(), pFile);
    std::fclose(pFile);
}

void RemoveFile(const std::string& strPath) { ::DeleteFileA(strPath.c_str()); }

std::string WindowText(HWND hWnd) {
    char sz[1024] = "";
    ::GetWindowTextA(hWnd, sz, sizeof sz);
    return sz;
}

std::string BoxText(HWND hBox) {
    char sz[1024] = "";
    ::GetDlgItemTextA(hBox, 0xFFFF, sz, sizeof sz);
    return sz;
}

int ButtonCount(HWND hWnd) {
    int nCount = 0;
    for (HWND hChild = ::GetWindow(hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        char szClass[64] = "";
        ::GetClassNameA(hChild, szClass, sizeof szClass);
        if (lstrcmpiA(szClass, "Button") == 0 && ::IsWindowVisible(hChild)) ++nCount;
    }
    return nCount;
}

void CloseBox(Norvane& app, HWND hBox) {
    ::PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    Check(app.WaitGone(hBox), "message box closed");
    app.Sync();
}

std::vector<std::string> ListEntries(HWND hList) {
    std::vector<std::string> entries;
    int nCount = static_cast<int>(::SendMessageW(hList, LB_GETCOUNT, 0, 0));
    for (int n = 0; n < nCount; ++n) {
        int nLength = static_cast<int>(::SendMessageW(hList, LB_GETTEXTLEN, n, 0));
        std::wstring wide(static_cast<size_t>(nLength > 0 ? nLength : 0) + 1, L'\0');
        ::SendMessageW(hList, LB_GETTEXT, n, reinterpret_cast<LPARAM>(&wide[0]));
        char sz[2048] = "";
        ::WideCharToMultiByte(1252, 0, wide.c_str(), -1, sz, sizeof sz, nullptr, nullptr);
        entries.push_back(sz);
    }
    return entries;
}

void Screenshot(HWND hWnd, const std::string& strUnixPng) {
    // Painting is asynchronous: let the window draw itself before the capture.
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    DWORD_PTR dwResult;
    ::SendMessageTimeoutA(hWnd, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &dwResult);
    ::Sleep(1000);
    RECT rect;
    ::GetWindowRect(hWnd, &rect);
    char szCommand[2048];
    std::snprintf(szCommand, sizeof szCommand, "Z:\\usr\\bin\\import -window root -crop %ldx%ld+%ld+%ld +repage %s",
                  rect.right - rect.left, rect.bottom - rect.top, rect.left < 0 ? 0L : rect.left,
                  rect.top < 0 ? 0L : rect.top, strUnixPng.c_str());
    // Wine starts a Unix program without a handle to wait on: wait for its
    // file instead, until its size holds still.
    std::string strWinPng = WinPath(strUnixPng);
    ::DeleteFileA(strWinPng.c_str());
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    if (!::CreateProcessA(nullptr, szCommand, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::printf("note: no screenshot (import did not start)\n");
        return;
    }
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    LONGLONG nLastSize = -1;
    for (int nWaited = 0; nWaited < 20000; nWaited += 200) {
        ::Sleep(200);
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!::GetFileAttributesExA(strWinPng.c_str(), GetFileExInfoStandard, &data)) continue;
        LONGLONG nSize = (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        if (nSize > 0 && nSize == nLastSize) break;
        nLastSize = nSize;
    }
    std::printf("screenshot: %s\n", strUnixPng.c_str());
}

// ---------------------------------------------------------------------------
Norvane::Norvane(const std::string& strDirectory, const std::string& strWorkingDir) {
    std::string strCommand = "\"" + JoinPath(strDirectory, "norvane.exe") + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    m_bStarted = ::CreateProcessA(nullptr, &strCommand[0], nullptr, nullptr, FALSE, 0, nullptr,
                                  strWorkingDir.empty() ? nullptr : strWorkingDir.c_str(), &si, &m_pi) != 0;
    Check(m_bStarted, "start " + strCommand);
    if (m_bStarted) ::WaitForInputIdle(m_pi.hProcess, 20000);
}

Norvane::~Norvane() {
    if (!m_bStarted) return;
    if (::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(m_pi.hProcess, 99);
        ::WaitForSingleObject(m_pi.hProcess, 5000);
    }
    ::CloseHandle(m_pi.hThread);
    ::CloseHandle(m_pi.hProcess);
}

HWND Norvane::WaitWindow(const std::string& strCaption, int nTimeoutMs) {
    for (int nWaited = 0; nWaited <= nTimeoutMs; nWaited += 50) {
        FindData data = {strCaption, false, nullptr};
        ::EnumThreadWindows(m_pi.dwThreadId, FindProc, reinterpret_cast<LPARAM>(&data));
        if (data.hFound && ::IsWindowVisible(data.hFound)) return data.hFound;
        if (::WaitForSingleObject(m_pi.hProcess, 50) != WAIT_TIMEOUT) return nullptr;
    }
    return nullptr;
}

HWND Norvane::WaitMainDialog() {
    m_hDlg = WaitWindow(kszMainCaption, 20000);
    if (m_hDlg) Sync();
    return m_hDlg;
}

HWND Norvane::WaitMessageBox(int nTimeoutMs) {
    for (int nWaited = 0; nWaited <= nTimeoutMs; nWaited += 50) {
        FindData data = {std::string(), true, nullptr};
        ::EnumThreadWindows(m_pi.dwThreadId, FindProc, reinterpret_cast<LPARAM>(&data));
        if (data.hFound) return data.hFound;
        if (::WaitForSingleObject(m_pi.hProcess, 50) != WAIT_TIMEOUT) return nullptr;
    }
    return nullptr;
}

bool Norvane::WaitGone(HWND hWnd, int nTimeoutMs) {
    for (int nWaited = 0; nWaited <= nTimeoutMs; nWaited += 20) {
        if (!::IsWindow(hWnd)) return true;
        ::Sleep(20);
    }
    return false;
}

void Norvane::Sync() {
    // A sent message is handled once the program's thread pumps messages again.
    DWORD_PTR dwResult;
    if (m_hDlg) ::SendMessageTimeoutA(m_hDlg, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &dwResult);
}

std::string Norvane::Text(int nID) {
    char sz[1024] = "";
    ::GetDlgItemTextA(m_hDlg, nID, sz, sizeof sz);
    return sz;
}

void Norvane::SetText(int nID, const std::string& strText) { ::SetDlgItemTextA(m_hDlg, nID, strText.c_str()); }

bool Norvane::IsChecked(int nID) {
    return ::SendMessageA(::GetDlgItem(m_hDlg, nID), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Norvane::Click(int nID) {
    ::SendMessageA(::GetDlgItem(m_hDlg, nID), BM_CLICK, 0, 0);
    Sync();
}

void Norvane::PostClick(int nID) { ::PostMessageA(::GetDlgItem(m_hDlg, nID), BM_CLICK, 0, 0); }

HWND Norvane::Focus() {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(m_pi.dwThreadId, &info)) return nullptr;
    return info.hwndFocus;
}

namespace {
LPARAM KeyLParam(UINT vk, bool bUp) {
    LPARAM lParam = 1 | (static_cast<LPARAM>(::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16);
    if (bUp) lParam |= (1u << 30) | (1u << 31);
    return lParam;
}
}  // namespace

void Norvane::PostKey(UINT vk, HWND hTo) {
    HWND hFocus = hTo ? hTo : Focus();
    Check(hFocus != nullptr, "a control has the focus for key " + std::to_string(vk));
    ::PostMessageA(hFocus, WM_KEYDOWN, vk, KeyLParam(vk, false));
    ::PostMessageA(hFocus, WM_KEYUP, vk, KeyLParam(vk, true));
}

// The focus moves while the key-down is handled; the key-up follows in order.
static int WaitFocusMoved(Norvane& app, HWND hFrom, const std::string& strKey) {
    for (int nWaited = 0; nWaited < 5000; nWaited += 10) {
        HWND hFocus = app.Focus();
        if (hFocus && hFocus != hFrom) {
            app.Sync();
            return ::GetDlgCtrlID(hFocus);
        }
        ::Sleep(10);
    }
    Check(false, strKey + " moved the focus from control " + std::to_string(::GetDlgCtrlID(hFrom)));
    return ::GetDlgCtrlID(hFrom);
}

int Norvane::Tab(bool bBackward) {
    HWND hFrom = Focus();
    if (!bBackward) {
        PostKey(VK_TAB);
    } else {
        INPUT inputs[4] = {};
        const WORD keys[4] = {VK_SHIFT, VK_TAB, VK_TAB, VK_SHIFT};
        for (int n = 0; n < 4; ++n) {
            inputs[n].type = INPUT_KEYBOARD;
            inputs[n].ki.wVk = keys[n];
            inputs[n].ki.wScan = static_cast<WORD>(::MapVirtualKeyA(keys[n], MAPVK_VK_TO_VSC));
            inputs[n].ki.dwFlags = (n >= 2) ? KEYEVENTF_KEYUP : 0;
        }
        Check(::SendInput(4, inputs, sizeof(INPUT)) == 4, "Shift+Tab sent");
    }
    return WaitFocusMoved(*this, hFrom, bBackward ? "Shift+Tab" : "Tab");
}

int Norvane::Arrow(UINT vk) {
    HWND hFrom = Focus();
    PostKey(vk);
    return WaitFocusMoved(*this, hFrom, "arrow " + std::to_string(vk));
}

void Norvane::Type(const std::string& strText) {
    HWND hField = Focus();
    for (size_t n = 0; n < strText.size(); ++n) {
        SHORT nScan = ::VkKeyScanA(strText[n]);
        Check(nScan != -1 && HIBYTE(nScan) == 0, std::string("a key without Shift types '") + strText[n] + "'");
        PostKey(LOBYTE(nScan));
        // The character arrives once TranslateMessage's WM_CHAR has been handled.
        const std::string strTyped = strText.substr(0, n + 1);
        std::string strShown;
        for (int nWaited = 0; nWaited < 5000; nWaited += 10) {
            char sz[256] = "";
            ::SendMessageA(hField, WM_GETTEXT, sizeof sz, reinterpret_cast<LPARAM>(sz));
            strShown = sz;
            if (strShown.size() >= strTyped.size() && strShown.compare(strShown.size() - strTyped.size(), strTyped.size(), strTyped) == 0)
                break;
            ::Sleep(10);
        }
        CheckEq(strShown.substr(strShown.size() >= strTyped.size() ? strShown.size() - strTyped.size() : 0), strTyped,
                "typed into control " + std::to_string(::GetDlgCtrlID(hField)));
    }
    Sync();
}

long Norvane::WaitExit(int nTimeoutMs) {
    if (::WaitForSingleObject(m_pi.hProcess, static_cast<DWORD>(nTimeoutMs)) != WAIT_OBJECT_0) return -1;
    DWORD dwCode = 0;
    ::GetExitCodeProcess(m_pi.hProcess, &dwCode);
    return static_cast<long>(dwCode);
}

bool Norvane::Close() {
    ::PostMessageA(m_hDlg, WM_CLOSE, 0, 0);
    return WaitExit() == 0;
}

}  // namespace e2e
