// Drives norvane.exe as a user would: starts it from a bundle directory, finds
// its windows (only those of its own GUI thread, so that parallel runs do not
// meet), types into its controls, clicks, reads texts and message boxes.
#ifndef NORVANE_E2E_DRIVER_H
#define NORVANE_E2E_DRIVER_H

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// A failed check: reported and counted; the case goes on.
void Check(bool bOk, const std::string& strWhat);
#define E2E_CHECK(cond) ::e2e::Check((cond), std::string(__FILE__ ":") + std::to_string(__LINE__) + ": " #cond)
void CheckEq(const std::string& strActual, const std::string& strExpected, const std::string& strWhat);
int FailureCount();
// Printable form of a Windows-1252 text (non-ASCII bytes as \xNN, line feeds as \n).
std::string Show(const std::string& str);

// Unix path (as CTest gives it) to the Windows path wine maps it to.
std::string WinPath(const std::string& strUnix);
std::string JoinPath(const std::string& strDir, const std::string& strName);
void MakeDirectory(const std::string& strPath);
void CopyTo(const std::string& strFrom, const std::string& strTo);
void WriteFile(const std::string& strPath, const std::string& strBytes);
void RemoveFile(const std::string& strPath);

class Norvane {
public:
    // Starts norvane.exe from strDirectory (Windows path), in strWorkingDir if given.
    Norvane(const std::string& strDirectory, const std::string& strWorkingDir = std::string());
    ~Norvane();

    // The main dialog once shown, or null (waits up to 20 s).
    HWND WaitMainDialog();
    HWND Dialog() const { return m_hDlg; }
    // A top-level window of the program's thread with this caption and class #32770.
    HWND WaitWindow(const std::string& strCaption, int nTimeoutMs = 10000);
    // A message box (static 0xFFFF) of the program, or null.
    HWND WaitMessageBox(int nTimeoutMs = 10000);
    bool WaitGone(HWND hWnd, int nTimeoutMs = 10000);
    // Waits until the program has handled everything sent before.
    void Sync();

    std::string Text(int nID);
    void SetText(int nID, const std::string& strText);
    bool IsChecked(int nID);
    // A click through the button's own message, as the mouse would give.
    void Click(int nID);
    // Clicks without waiting for the handler (it may open a modal box).
    void PostClick(int nID);
    // The control that has the keyboard focus in the program's thread.
    HWND Focus();
    int FocusID() { return ::GetDlgCtrlID(Focus()); }

    // The keyboard. A key goes as the keyboard sends it: WM_KEYDOWN, then
    // WM_KEYUP (scan code from MapVirtualKeyA, bits 30 and 31 set on the
    // key-up), posted to the control that has the focus, so that the dialog's
    // own loop (IsDialogMessage, TranslateMessage) acts on it. hTo: another
    // control of the dialog, to press the key there as if it had the focus.
    void PostKey(UINT vk, HWND hTo = nullptr);
    // Tab, or Shift+Tab when bBackward; waits until the focus has moved and
    // returns the identifier of the control that has it. IsDialogMessage reads
    // Shift with GetKeyState, the key state of the program's thread, which wine
    // updates only from the keyboard's own input, not from posted messages:
    // Shift+Tab therefore goes through SendInput (Shift down, Tab, Shift up),
    // to the window that has the focus as a keyboard's would.
    int Tab(bool bBackward = false);
    // An arrow key on the focused control; waits until the focus has moved.
    int Arrow(UINT vk);
    // Types text into the focused field, a key per character (keys of the
    // display's keyboard without Shift: digits, '.', ',', '/'); waits until the
    // field shows each character.
    void Type(const std::string& strText);
    // Ends the program through the close box; true if it ended with status 0.
    bool Close();
    // Waits for the process to end; its exit status, or -1 if it still runs.
    long WaitExit(int nTimeoutMs = 15000);

    DWORD ThreadId() const { return m_pi.dwThreadId; }
    bool Started() const { return m_bStarted; }

private:
    PROCESS_INFORMATION m_pi = {};
    bool m_bStarted = false;
    HWND m_hDlg = nullptr;
};

// Text of a message box, its caption, and the number of buttons it has.
std::string BoxText(HWND hBox);
std::string WindowText(HWND hWnd);
int ButtonCount(HWND hWnd);
// Closes a message box with its OK button and waits until it has gone.
void CloseBox(Norvane& app, HWND hBox);
// The entries of a list box of the program, as Windows-1252 texts.
std::vector<std::string> ListEntries(HWND hList);
// Saves a screenshot of a window to strUnixPng (ImageMagick's import, a Unix program).
void Screenshot(HWND hWnd, const std::string& strUnixPng);

}  // namespace e2e

#endif
