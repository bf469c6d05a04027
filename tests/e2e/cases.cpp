// End-to-end cases of norvane.exe under wine: one case per run, named on the
// command line. Each case assembles its own bundle directory (program, engine,
// synthetic grids with known node values, info.txt) and drives the program.
//
// Usage: norvane_e2e CASE EXE DLL DLL_NO_RESOURCE DLL_NO_EXPORT WORKDIR SHOTDIR DATADIR
// (Unix paths as CTest knows them; DATADIR holds the shipped data files).
#include <windows.h>
#include <oleauto.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>

#include "DeclinationGrids.h"
#include "driver.h"
#include "geokern2.h"
#include "resource.h"

using namespace e2e;

namespace {

const char kszErreur[] = "Erreur";
const char kszEngineMissing[] = "geokern.dll introuvable";
const char kszEpochMissing[] = "Grid.dat introuvable";
const char kszVariationMissing[] = "taux_annuel.dat introuvable";
const char kszDateNotValid[] = "Date non valide";
const char kszPeriod[] = "La date doit \xEAtre comprise entre \n Janvier 2009 et D\xE9" "cembre 2015.";
const char kszOutOfZone[] = "Coordonn\xE9" "es hors zone";
const char kszInfoCaption[] = "Informations";
const char kszMapCaption[] = "Carte de d\xE9" "clinaison 2013";
// The framework's own message boxes carry the program's name.
const char kszFrameworkCaption[] = "norvane";
// Sentinel put in the result fields to see whether a press wrote them back.
const char kszSentinel[] = "avant";

struct Paths {
    std::string strExe, strDll, strDllNoResource, strDllNoExport, strWork, strShots;
    std::string strUnixShots, strData;
} g_paths;

// ---------------------------------------------------------------------------
// Synthetic grids: the epoch declination tells the column, the annual
// variation the row, so a result names its node. Columns 220 and above have
// no data (value 999), which puts Corsica out of zone.
const int kColumns = kGridColumns, kRows = kGridRows;  // [i][j] is element 229 i + j
float g_epoch[kColumns][kRows], g_variation[kColumns][kRows];

std::string GridText(bool bEpoch) {
    std::string str;
    str.reserve(kColumns * kRows * 20);
    char sz[64];
    for (int j = 0; j < kRows; ++j) {
        for (int i = 0; i < kColumns; ++i) {
            if (bEpoch && i >= 220) std::snprintf(sz, sizeof sz, "%d %d 999.0", 15 + 5 * i, 1590 + 5 * j);
            else std::snprintf(sz, sizeof sz, "%d %d %.2f", 15 + 5 * i, 1590 + 5 * j, ((bEpoch ? i : j) - 100) * 0.01);
            const char* pszValue = std::strrchr(sz, ' ') + 1;
            (bEpoch ? g_epoch : g_variation)[i][j] = std::strtof(pszValue, nullptr);
            str += sz;
            str += '\n';
        }
    }
    return str;
}

std::string g_strEpochGrid, g_strVariationGrid;

// Info text: file order, leading blanks kept, trailing blanks gone, a blank
// line, a 300-character line, a line of exactly 255 characters (its line feed
// is read alone: an empty entry), a last line without a line feed.
std::string Letters(int nCount, char chFirst) {
    std::string str;
    for (int n = 0; n < nCount; ++n) str += static_cast<char>(chFirst + n % 26);
    return str;
}
const std::string kInfoText = "Premi\xE8re ligne : d\xE9" "clinaison\r\n   indent\xE9" "e\n"
                              "fin blanche  \t \n\n" + Letters(300, 'a') + "\n" + Letters(255, 'A') +
                              "\r\nderni\xE8re sans saut";
const std::vector<std::string> kInfoEntries = {"Premi\xE8re ligne : d\xE9" "clinaison", "   indent\xE9" "e",
                                               "fin blanche", "", Letters(300, 'a').substr(0, 255),
                                               Letters(300, 'a').substr(255), Letters(255, 'A'), "",
                                               "derni\xE8re sans saut"};

enum BundlePart { kWithDll = 1, kWithEpoch = 2, kWithVariation = 4, kWithInfo = 8, kAll = 15 };

// A bundle directory of the work directory: program, engine and data.
std::string Bundle(const std::string& strName, int nParts = kAll, const std::string& strDll = std::string()) {
    std::string strDir = JoinPath(g_paths.strWork, strName);
    MakeDirectory(g_paths.strWork);
    MakeDirectory(strDir);
    CopyTo(g_paths.strExe, JoinPath(strDir, "norvane.exe"));
    std::string strDllPath = JoinPath(strDir, "geokern.dll");
    if (nParts & kWithDll) CopyTo(strDll.empty() ? g_paths.strDll : strDll, strDllPath); else RemoveFile(strDllPath);
    std::string strEpoch = JoinPath(strDir, "Grid2009_5.dat"), strVariation = JoinPath(strDir, "GridVS2013Poly.dat");
    if (nParts & kWithEpoch) WriteFile(strEpoch, g_strEpochGrid); else RemoveFile(strEpoch);
    if (nParts & kWithVariation) WriteFile(strVariation, g_strVariationGrid); else RemoveFile(strVariation);
    if (nParts & kWithInfo) WriteFile(JoinPath(strDir, "info.txt"), kInfoText); else RemoveFile(JoinPath(strDir, "info.txt"));
    return strDir;
}

// ---------------------------------------------------------------------------
// The expected outcome, from the engine and the synthetic grids.
struct Expected {
    bool bInZone;
    std::string strDeclination, strVariation;
};

PFN_SysCoord2SysCoord EngineFunction() {
    static PFN_SysCoord2SysCoord pfn = nullptr;
    if (!pfn) {
        HMODULE hEngine = ::LoadLibraryA(g_paths.strDll.c_str());
        Check(hEngine != nullptr, "the test loads the engine");
        if (hEngine)
            pfn = reinterpret_cast<PFN_SysCoord2SysCoord>(reinterpret_cast<void*>(::GetProcAddress(hEngine, "SysCoord2SysCoord")));
    }
    return pfn;
}

Expected Expect(double dLatitude, double dLongitude, long nDays) {
    COORDONNEES_TYPE_NC point = {dLongitude, dLatitude};
    COORDONNEES_TYPE_NC plane = EngineFunction()(point, WGS84GG, NTFL2E);
    Expected expected = {false, "", ""};
    int i, j;  // the calculator core's node and formula
    if (!NearestGridNode(plane.x_lambda, plane.y_phi, &i, &j) || !NodeValuesHaveData(g_epoch[i][j], g_variation[i][j]))
        return expected;
    double dDeclination = DeclinationAtDate(g_epoch[i][j], g_variation[i][j], nDays);
    char sz[64];
    std::snprintf(sz, sizeof sz, "%3.2f \xB0", dDeclination);
    expected.strDeclination = sz;
    std::snprintf(sz, sizeof sz, "%3.2f \xB0/an", static_cast<double>(g_variation[i][j]));
    expected.strVariation = sz;
    expected.bInZone = true;
    std::printf("  node (%d, %d) for %.6f, %.6f: %s | %s\n", i, j, dLatitude, dLongitude,
                Show(expected.strDeclination).c_str(), Show(expected.strVariation).c_str());
    return expected;
}

// The message box shows an icon (wine's icon control 1088). Which one cannot be
// told from here: wine keeps icon images in the process that loaded them.
bool IsExclamationBox(HWND hBox) { return ::SendDlgItemMessageA(hBox, 1088, STM_GETICON, 0, 0) != 0; }

// ---------------------------------------------------------------------------
// Presses "Calculer" (or Enter in a field) and checks what follows: either the
// results, or one message box, then the result fields.
void PressAndExpect(Norvane& app, const Expected& expected, HWND hEnterIn = nullptr) {
    app.SetText(IDC_DECLINATION, kszSentinel);
    app.SetText(IDC_ANNUAL_VARIATION, kszSentinel);
    if (hEnterIn) app.PostKey(VK_RETURN, hEnterIn);
    else app.PostClick(IDC_CALCULER);
    for (int n = 0; n < 400 && app.Text(IDC_DECLINATION) == kszSentinel; ++n) {
        if (HWND hBox = app.WaitMessageBox(0)) {
            CheckEq(BoxText(hBox), expected.bInZone ? "(results)" : kszOutOfZone, "message after Calculer");
            CheckEq(WindowText(hBox), kszErreur, "caption");
            // The fields are emptied once the box has been closed.
            CloseBox(app, hBox);
            break;
        }
        ::Sleep(25);
    }
    app.Sync();
    CheckEq(app.Text(IDC_DECLINATION), expected.strDeclination, "declination field");
    CheckEq(app.Text(IDC_ANNUAL_VARIATION), expected.strVariation, "annual variation field");
}

// Presses "Calculer" and expects exactly this message; the result fields keep
// what they showed.
void PressAndExpectMessage(Norvane& app, const std::string& strMessage, const std::string& strCaption, int nFocusID = 0) {
    app.SetText(IDC_DECLINATION, kszSentinel);
    app.SetText(IDC_ANNUAL_VARIATION, kszSentinel);
    app.PostClick(IDC_CALCULER);
    HWND hBox = app.WaitMessageBox();
    Check(hBox != nullptr, "a message box for \"" + Show(strMessage) + "\"");
    if (!hBox) return;
    CheckEq(BoxText(hBox), strMessage, "message");
    CheckEq(WindowText(hBox), strCaption, "message caption");
    Check(ButtonCount(hBox) == 1, "a single button");
    Check(IsExclamationBox(hBox), "an icon");
    Check(::GetWindow(hBox, GW_OWNER) == app.Dialog(), "owned by the main dialog");
    CloseBox(app, hBox);
    Check(app.WaitMessageBox(300) == nullptr, "no second message");
    if (nFocusID) {
        // The framework puts the focus on the field once the box has returned.
        for (int n = 0; n < 1000 && app.FocusID() != nFocusID; ++n) ::Sleep(10);  // up to 10 s on a loaded machine
        Check(app.FocusID() == nFocusID, "focus on field " + std::to_string(nFocusID) + ", got " + std::to_string(app.FocusID()));
    }
    CheckEq(app.Text(IDC_DECLINATION), kszSentinel, "declination field unchanged");
    CheckEq(app.Text(IDC_ANNUAL_VARIATION), kszSentinel, "annual variation field unchanged");
}

void SetDms(Norvane& app, int nLatDeg, int nLatMin, int nLatSec, int nLonDeg, int nLonMin, int nLonSec) {
    app.SetText(IDC_LAT_DEG, std::to_string(nLatDeg));
    app.SetText(IDC_LAT_MIN, std::to_string(nLatMin));
    app.SetText(IDC_LAT_SEC, std::to_string(nLatSec));
    app.SetText(IDC_LON_DEG, std::to_string(nLonDeg));
    app.SetText(IDC_LON_MIN, std::to_string(nLonMin));
    app.SetText(IDC_LON_SEC, std::to_string(nLonSec));
}

double Dms(int d, int m, int s) { return s * 0.0002777777777777778 + m * 0.016666666666666666 + d; }

bool StartMain(Norvane& app) {
    bool bOk = app.WaitMainDialog() != nullptr;
    Check(bOk, "the main dialog appears");
    return bOk;
}

void CloseAndCheckExit(Norvane& app) { Check(app.Close(), "closing the main dialog ends the program with status 0"); }

std::string TodayShort() {
    SYSTEMTIME st;
    ::GetLocalTime(&st);
    char sz[32];
    std::snprintf(sz, sizeof sz, "%02d/%02d/%04d", st.wDay, st.wMonth, st.wYear);
    return sz;
}

// ---------------------------------------------------------------------------
void CaseDefaults() {
    Norvane app(Bundle("defaults"));
    if (!StartMain(app)) return;
    for (int nID : {IDC_LAT_DEG, IDC_LAT_MIN, IDC_LAT_SEC, IDC_LON_DEG, IDC_LON_MIN, IDC_LON_SEC, IDC_LAT_DECIMAL, IDC_LON_DECIMAL})
        CheckEq(app.Text(nID), "0", "default of field " + std::to_string(nID));
    CheckEq(app.Text(IDC_DECLINATION), "", "declination empty");
    CheckEq(app.Text(IDC_ANNUAL_VARIATION), "", "variation empty");
    // French short date (the test runs with a French user locale).
    CheckEq(app.Text(IDC_DATE), TodayShort(), "default date");
    for (int nID : {IDC_DMS_NORTH, IDC_DMS_EAST, IDC_MODE_DMS, IDC_DEC_NORTH, IDC_DEC_EAST}) Check(app.IsChecked(nID), "on: " + std::to_string(nID));
    for (int nID : {IDC_DMS_SOUTH, IDC_DMS_WEST, IDC_MODE_DECIMAL, IDC_DEC_SOUTH, IDC_DEC_WEST}) Check(!app.IsChecked(nID), "off: " + std::to_string(nID));
    CheckEq(WindowText(app.Dialog()), "Norvane 3.0", "caption");
    // The dialog's icon is the program's own.
    // The program's icon, 32 x 32 and 16 x 16 (wine does not answer WM_GETICON
    // across processes, so the resource itself is checked).
    HMODULE hExe = ::LoadLibraryExA(g_paths.strExe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    for (int nSize : {32, 16}) {
        HRSRC hGroup = ::FindResourceA(hExe, MAKEINTRESOURCEA(128), MAKEINTRESOURCEA(14));
        Check(hGroup != nullptr, "icon group 128");
        HICON hIcon = static_cast<HICON>(::LoadImageA(hExe, MAKEINTRESOURCEA(128), IMAGE_ICON, nSize, nSize, 0));
        ICONINFO info = {};
        Check(hIcon && ::GetIconInfo(hIcon, &info), "icon 128 at " + std::to_string(nSize));
        BITMAP bm = {};
        if (info.hbmColor) ::GetObjectA(info.hbmColor, sizeof bm, &bm);
        Check(bm.bmWidth == nSize && bm.bmHeight == nSize, "icon image of " + std::to_string(nSize));
    }
    Check(::GetWindowLongA(app.Dialog(), GWL_EXSTYLE) & WS_EX_APPWINDOW, "shown in the task bar");
    // Version information: product Norvane 3.0, French texts.
    DWORD dwHandle = 0;
    std::vector<char> version(::GetFileVersionInfoSizeA(g_paths.strExe.c_str(), &dwHandle) + 1);
    Check(::GetFileVersionInfoA(g_paths.strExe.c_str(), 0, static_cast<DWORD>(version.size()), version.data()),
          "version information");
    for (const auto& field : {std::make_pair("ProductName", "Norvane"), std::make_pair("ProductVersion", "3.0"),
                              std::make_pair("FileDescription",
                                             "Calcul de la d\xE9" "clinaison magn\xE9" "tique en France m\xE9" "tropolitaine")}) {
        char* pszValue = nullptr;
        UINT nLength = 0;
        std::string strKey = std::string("\\StringFileInfo\\040C04E4\\") + field.first;
        ::VerQueryValueA(version.data(), strKey.c_str(), reinterpret_cast<void**>(&pszValue), &nLength);
        CheckEq(pszValue ? pszValue : "", field.second, field.first);
    }
    // The default date parses (today is after 2015: the period message).
    PressAndExpectMessage(app, kszPeriod, kszErreur);
    // Typed in the same format, a date of the period computes.
    SetDms(app, 47, 0, 0, 2, 0, 0);
    app.SetText(IDC_DATE, "01/07/2009");
    PressAndExpect(app, Expect(47.0, 2.0, 0));
    CloseAndCheckExit(app);
}

void CaseComputeDms() {
    Norvane app(Bundle("compute_dms"));
    if (!StartMain(app)) return;
    app.SetText(IDC_DATE, "01/07/2009");
    // Paris, north and east.
    SetDms(app, 48, 51, 24, 2, 21, 7);
    PressAndExpect(app, Expect(Dms(48, 51, 24), Dms(2, 21, 7), 0));
    Screenshot(app.Dialog(), g_paths.strUnixShots + "/norvane-main-dms.png");
    // The values are written back in the framework's form.
    app.SetText(IDC_LAT_DEG, " 48 ");
    PressAndExpect(app, Expect(Dms(48, 51, 24), Dms(2, 21, 7), 0));
    CheckEq(app.Text(IDC_LAT_DEG), "48", "written back");
    // Brest, west.
    app.Click(IDC_DMS_WEST);
    SetDms(app, 48, 23, 26, 4, 29, 10);
    PressAndExpect(app, Expect(Dms(48, 23, 26), -Dms(4, 29, 10), 0));
    // At another date: t * A + B.
    app.SetText(IDC_DATE, "31/12/2015");
    PressAndExpect(app, Expect(Dms(48, 23, 26), -Dms(4, 29, 10), 2374));
    // South: far outside the grid; both results emptied after the message.
    app.Click(IDC_DMS_SOUTH);
    SetDms(app, 45, 30, 36, 1, 0, 0);
    PressAndExpect(app, Expect(-45.51, -1.0, 2374));
    // Enter in a field runs the computation (the default button).
    app.Click(IDC_DMS_NORTH);
    app.Click(IDC_DMS_EAST);
    SetDms(app, 48, 51, 24, 2, 21, 7);
    PressAndExpect(app, Expect(Dms(48, 51, 24), Dms(2, 21, 7), 2374), ::GetDlgItem(app.Dialog(), IDC_LON_SEC));
    // A latitude above 90 degrees passes validation and ends in a result or the message.
    SetDms(app, 90, 59, 59, 2, 0, 0);
    PressAndExpect(app, Expect(Dms(90, 59, 59), 2.0, 2374));
    CloseAndCheckExit(app);
}

void CaseComputeDecimal() {
    Norvane app(Bundle("compute_decimal"));
    if (!StartMain(app)) return;
    app.Click(IDC_MODE_DECIMAL);
    // Degrees-minutes-seconds fields are not read in decimal mode.
    SetDms(app, 10, 0, 0, 10, 0, 0);
    app.SetText(IDC_DATE, "15/03/2012");  // 988 days after the epoch
    app.SetText(IDC_LAT_DECIMAL, "48.5734");
    app.SetText(IDC_LON_DECIMAL, "7.7521");
    PressAndExpect(app, Expect(48.5734, 7.7521, 988));
    Screenshot(app.Dialog(), g_paths.strUnixShots + "/norvane-main-decimal.png");
    // Bordeaux, west.
    app.Click(IDC_DEC_WEST);
    app.SetText(IDC_LAT_DECIMAL, "44.8378");
    app.SetText(IDC_LON_DECIMAL, "0.5792");
    PressAndExpect(app, Expect(44.8378, -0.5792, 988));
    // A node without data (Corsica in the synthetic grid).
    app.Click(IDC_DEC_EAST);
    app.SetText(IDC_LAT_DECIMAL, "41.9192");
    app.SetText(IDC_LON_DECIMAL, "8.7386");
    Expected corsica = Expect(41.9192, 8.7386, 988);
    Check(!corsica.bInZone, "Corsica is out of the synthetic grid's data");
    PressAndExpect(app, corsica);
    // Outside the grid.
    app.SetText(IDC_LAT_DECIMAL, "45");
    app.SetText(IDC_LON_DECIMAL, "20");
    PressAndExpect(app, Expect(45.0, 20.0, 988));
    // South.
    app.Click(IDC_DEC_SOUTH);
    app.SetText(IDC_LAT_DECIMAL, "45.51");
    app.SetText(IDC_LON_DECIMAL, "1");
    PressAndExpect(app, Expect(-45.51, 1.0, 988));
    // 90.0 and 180.0 pass validation.
    app.Click(IDC_DEC_NORTH);
    app.SetText(IDC_LAT_DECIMAL, "90.0");
    app.SetText(IDC_LON_DECIMAL, "180.0");
    PressAndExpect(app, Expect(90.0, 180.0, 988));
    // Back to degrees-minutes-seconds: the decimal fields are no longer read.
    app.Click(IDC_MODE_DMS);
    SetDms(app, 46, 0, 0, 3, 0, 0);
    PressAndExpect(app, Expect(46.0, 3.0, 988));
    CloseAndCheckExit(app);
}

void CaseRadios() {
    Norvane app(Bundle("radios"));
    if (!StartMain(app)) return;
    const int pairs[][2] = {{IDC_DMS_NORTH, IDC_DMS_SOUTH}, {IDC_DMS_EAST, IDC_DMS_WEST}, {IDC_DEC_NORTH, IDC_DEC_SOUTH},
                            {IDC_DEC_EAST, IDC_DEC_WEST}, {IDC_MODE_DMS, IDC_MODE_DECIMAL}};
    for (const auto& pair : pairs) {
        std::string strPair = std::to_string(pair[0]) + "/" + std::to_string(pair[1]);
        app.Click(pair[1]);
        Check(!app.IsChecked(pair[0]) && app.IsChecked(pair[1]), "second on: " + strPair);
        app.Click(pair[1]);
        Check(!app.IsChecked(pair[0]) && app.IsChecked(pair[1]), "second again: " + strPair);
        app.Click(pair[0]);
        Check(app.IsChecked(pair[0]) && !app.IsChecked(pair[1]), "first on: " + strPair);
        app.Click(pair[0]);
        Check(app.IsChecked(pair[0]) && !app.IsChecked(pair[1]), "first again: " + strPair);
    }
    // Pairs are independent of one another.
    app.Click(IDC_DMS_SOUTH);
    Check(app.IsChecked(IDC_DMS_EAST) && app.IsChecked(IDC_DEC_NORTH) && app.IsChecked(IDC_MODE_DMS), "other pairs untouched");
    // Escape ends the program as the close box does.
    app.PostKey(VK_ESCAPE);
    Check(app.WaitExit() == 0, "Escape ends the program with status 0");
}

// ---------------------------------------------------------------------------
// The keyboard alone. The five radio pairs, each a group of its own.
const int kRadioPairs[5][2] = {{IDC_DMS_NORTH, IDC_DMS_SOUTH}, {IDC_DMS_EAST, IDC_DMS_WEST},
                               {IDC_MODE_DMS, IDC_MODE_DECIMAL}, {IDC_DEC_NORTH, IDC_DEC_SOUTH},
                               {IDC_DEC_EAST, IDC_DEC_WEST}};

// The checked button of each pair, in the order above; 0 where a pair has not
// exactly one.
std::vector<int> CheckedButtons(Norvane& app) {
    std::vector<int> checked;
    for (const auto& pair : kRadioPairs) {
        bool bFirst = app.IsChecked(pair[0]), bSecond = app.IsChecked(pair[1]);
        checked.push_back(bFirst == bSecond ? 0 : (bFirst ? pair[0] : pair[1]));
    }
    return checked;
}

// The tab stops in template order, a pair reached on its checked button.
std::vector<int> TabOrder(const std::vector<int>& checked) {
    return {IDC_LAT_DEG, IDC_LAT_MIN, IDC_LAT_SEC, checked[0], IDC_LON_DEG, IDC_LON_MIN, IDC_LON_SEC, checked[1],
            IDC_DATE, IDC_CALCULER, IDC_INFO, checked[2], IDC_LAT_DECIMAL, checked[3], IDC_LON_DECIMAL, checked[4]};
}

std::string Ids(const std::vector<int>& ids) {
    std::string str;
    for (int nID : ids) str += (str.empty() ? "" : " ") + std::to_string(nID);
    return str;
}

// Tab (or Shift+Tab) once around the dialog from the first field: the focus
// goes through every tab stop in order, reaches each pair once, on its
// checked button, and no button changes state.
void TabAround(Norvane& app, bool bBackward) {
    const std::vector<int> checked = CheckedButtons(app);
    std::vector<int> expected = TabOrder(checked);
    if (bBackward) std::reverse(expected.begin() + 1, expected.end());
    std::vector<int> visited = {app.FocusID()};
    for (size_t n = 1; n <= expected.size(); ++n) {
        visited.push_back(app.Tab(bBackward));
        CheckEq(Ids(CheckedButtons(app)), Ids(checked), std::string(bBackward ? "Shift+Tab" : "Tab") + " to control " +
                                                          std::to_string(visited.back()) + " changes no button");
    }
    expected.push_back(expected.front());
    CheckEq(Ids(visited), Ids(expected), bBackward ? "Shift+Tab order" : "Tab order");
    for (const auto& pair : kRadioPairs)
        Check(std::count(visited.begin(), visited.end() - 1, pair[0]) +
                      std::count(visited.begin(), visited.end() - 1, pair[1]) == 1,
              "pair " + std::to_string(pair[0]) + "/" + std::to_string(pair[1]) + " reached once");
}

void CaseKeyboardTab() {
    Norvane app(Bundle("keyboard_tab"));
    if (!StartMain(app)) return;
    // The dialog opens with the focus in the first field, on no radio button.
    Check(app.FocusID() == IDC_LAT_DEG, "first focus on the latitude degrees, got " + std::to_string(app.FocusID()));
    TabAround(app, false);
    TabAround(app, true);
    // Each pair to its second button with the keyboard: Tab to the pair, then
    // an arrow moves the focus to the other button and checks it.
    for (const auto& pair : kRadioPairs) {
        std::string strPair = std::to_string(pair[0]) + "/" + std::to_string(pair[1]);
        while (app.FocusID() != pair[0] && app.FocusID() != pair[1]) app.Tab();
        CheckEq(std::to_string(app.FocusID()), std::to_string(pair[0]), "Tab reaches " + strPair + " on its checked button");
        CheckEq(std::to_string(app.Arrow(VK_DOWN)), std::to_string(pair[1]), "Down moves to the other button of " + strPair);
        Check(!app.IsChecked(pair[0]) && app.IsChecked(pair[1]), "Down checks the other button of " + strPair);
    }
    // Now each pair is reached on its second button, still without a change.
    while (app.FocusID() != IDC_LAT_DEG) app.Tab();
    TabAround(app, false);
    TabAround(app, true);
    // The arrows stay inside the pair, both ways, and keep exactly one checked.
    const std::vector<int> before = CheckedButtons(app);
    while (app.FocusID() != IDC_DMS_EAST && app.FocusID() != IDC_DMS_WEST) app.Tab();
    for (UINT vk : {VK_RIGHT, VK_LEFT, VK_UP, VK_DOWN, VK_DOWN}) {
        int nFocus = app.Arrow(vk);
        Check(nFocus == IDC_DMS_EAST || nFocus == IDC_DMS_WEST, "arrow " + std::to_string(vk) + " stays in the pair");
        Check(app.IsChecked(nFocus) && !app.IsChecked(nFocus == IDC_DMS_EAST ? IDC_DMS_WEST : IDC_DMS_EAST),
              "the focused button of the pair is the checked one");
    }
    std::vector<int> after = CheckedButtons(app);
    after[1] = before[1];
    CheckEq(Ids(after), Ids(before), "arrows in one pair leave the other pairs");
    CloseAndCheckExit(app);
}

// The same entry with the keyboard alone and with clicks: decimal mode, a
// western longitude, a comma in one field and a point in the other.
void CaseKeyboardCompute() {
    Norvane app(Bundle("keyboard_compute"));
    if (!StartMain(app)) return;
    const Expected brest = Expect(48.3904, -4.4861, 988);
    Check(brest.bInZone, "Brest has data in the synthetic grid");

    Check(app.FocusID() == IDC_LAT_DEG, "first focus on the latitude degrees");
    while (app.FocusID() != IDC_DATE) app.Tab();
    app.Type("15/03/2012");
    while (app.FocusID() != IDC_MODE_DMS) app.Tab();
    CheckEq(std::to_string(app.Arrow(VK_DOWN)), std::to_string(IDC_MODE_DECIMAL), "Down to the decimal mode");
    CheckEq(std::to_string(app.Tab()), std::to_string(IDC_LAT_DECIMAL), "Tab to the decimal latitude");
    app.Type("48,3904");
    app.Tab();
    CheckEq(std::to_string(app.Tab()), std::to_string(IDC_LON_DECIMAL), "Tab over Nord to the decimal longitude");
    app.Type("4.4861");
    CheckEq(std::to_string(app.Tab()), std::to_string(IDC_DEC_EAST), "Tab to Est");
    CheckEq(std::to_string(app.Arrow(VK_RIGHT)), std::to_string(IDC_DEC_WEST), "Right to Ouest");
    Check(app.IsChecked(IDC_MODE_DECIMAL) && app.IsChecked(IDC_DEC_WEST) && app.IsChecked(IDC_DEC_NORTH),
          "decimal mode, north, west");
    // Enter on the radio button runs the default button, "Calculer".
    PressAndExpect(app, brest, app.Focus());
    const std::string strKeyboard = app.Text(IDC_DECLINATION) + " | " + app.Text(IDC_ANNUAL_VARIATION);
    CheckEq(app.Text(IDC_LAT_DECIMAL), "48.3904", "latitude written back with a point");

    // Something else in between, then the same entry with clicks.
    app.Click(IDC_MODE_DMS);
    app.Click(IDC_DEC_EAST);
    SetDms(app, 46, 0, 0, 3, 0, 0);
    PressAndExpect(app, Expect(46.0, 3.0, 988));
    app.Click(IDC_MODE_DECIMAL);
    app.Click(IDC_DEC_WEST);
    app.SetText(IDC_DATE, "15/03/2012");
    app.SetText(IDC_LAT_DECIMAL, "48.3904");
    app.SetText(IDC_LON_DECIMAL, "4.4861");
    PressAndExpect(app, brest);
    CheckEq(strKeyboard, app.Text(IDC_DECLINATION) + " | " + app.Text(IDC_ANNUAL_VARIATION),
            "keyboard and clicks give the same texts");
    CloseAndCheckExit(app);
}

// A French user types a decimal comma in both decimal fields.
void CaseDecimalComma() {
    Norvane app(Bundle("decimal_comma"));
    if (!StartMain(app)) return;
    app.Click(IDC_MODE_DECIMAL);
    app.SetText(IDC_DATE, "15/03/2012");
    auto typeInto = [&](int nID, const std::string& strText) {
        // Moved to the field as the dialog manager moves it, which selects its text.
        ::PostMessageA(app.Dialog(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(app.Dialog(), nID)), TRUE);
        for (int n = 0; n < 500 && app.FocusID() != nID; ++n) ::Sleep(10);
        app.Type(strText);
    };
    struct {
        const char* pszLat;
        const char* pszLon;
        bool bWest;
        double dLat, dLon;
        const char* pszLatBack;
        const char* pszLonBack;
    } entries[] = {
        {"48,8566", "2,3522", false, 48.8566, 2.3522, "48.8566", "2.3522"},
        {"44,8378", "0.5792", true, 44.8378, -0.5792, "44.8378", "0.5792"},
        {"45", "1,", false, 45.0, 1.0, "45", "1"},
    };
    for (const auto& entry : entries) {
        std::printf("%s %s\n", entry.pszLat, entry.pszLon);
        app.Click(entry.bWest ? IDC_DEC_WEST : IDC_DEC_EAST);
        typeInto(IDC_LAT_DECIMAL, entry.pszLat);
        typeInto(IDC_LON_DECIMAL, entry.pszLon);
        PressAndExpect(app, Expect(entry.dLat, entry.dLon, 988), app.Focus());
        CheckEq(app.Text(IDC_LAT_DECIMAL), entry.pszLatBack, "latitude written back");
        CheckEq(app.Text(IDC_LON_DECIMAL), entry.pszLonBack, "longitude written back");
    }
    // One separator at most, and the range still holds.
    typeInto(IDC_LAT_DECIMAL, "48,8,5");
    PressAndExpectMessage(app, "Entrez un nombre.", kszFrameworkCaption, IDC_LAT_DECIMAL);
    typeInto(IDC_LAT_DECIMAL, "45");
    typeInto(IDC_LON_DECIMAL, "180,5");
    PressAndExpectMessage(app, "Entrez un nombre compris entre 0 et 180.", kszFrameworkCaption, IDC_LON_DECIMAL);
    CloseAndCheckExit(app);
}

void CaseDates() {
    Norvane app(Bundle("dates"));
    if (!StartMain(app)) return;
    SetDms(app, 47, 13, 0, 1, 33, 0);
    const double dLat = Dms(47, 13, 0), dLon = Dms(1, 33, 0);
    struct { const char* pszDate; long nDays; } valid[] = {
        {"01/01/2009", -181}, {"01/07/2009", 0}, {"31/12/2015", 2374}, {"29/02/2012", 973}, {"31/12/2015 23:59:59", 2374}};
    for (const auto& date : valid) {
        std::printf("date %s\n", date.pszDate);
        app.SetText(IDC_DATE, date.pszDate);
        PressAndExpect(app, Expect(dLat, dLon, date.nDays));
    }
    for (const char* pszDate : {"31/12/2008", "01/01/2016", "01/01/1990"}) {
        std::printf("date %s\n", pszDate);
        app.SetText(IDC_DATE, pszDate);
        PressAndExpectMessage(app, kszPeriod, kszErreur);
    }
    for (const char* pszDate : {"abc", "", "31/02/2012", "32/01/2010"}) {
        std::printf("date \"%s\"\n", pszDate);
        app.SetText(IDC_DATE, pszDate);
        PressAndExpectMessage(app, kszDateNotValid, kszErreur);
    }
    // The date field refuses a 21st character; the 20th is typed.
    HWND hDate = ::GetDlgItem(app.Dialog(), IDC_DATE);
    app.SetText(IDC_DATE, "0123456789012345678");
    ::SendMessageA(hDate, EM_SETSEL, 19, 19);
    ::SendMessageA(hDate, WM_CHAR, 'x', 1);
    CheckEq(app.Text(IDC_DATE), "0123456789012345678x", "20th character typed");
    ::SendMessageA(hDate, WM_CHAR, 'y', 1);
    CheckEq(app.Text(IDC_DATE), "0123456789012345678x", "21st character refused");
    CloseAndCheckExit(app);
}

void CaseValidation() {
    Norvane app(Bundle("validation"));
    if (!StartMain(app)) return;
    app.SetText(IDC_DATE, "01/07/2009");
    struct { int nID; const char* pszText; const char* pszMessage; } failures[] = {
        {IDC_LAT_DEG, "91", "Entrez un entier compris entre 0 et 90."},
        {IDC_LAT_DEG, "-1", "Entrez un entier compris entre 0 et 90."},
        {IDC_LAT_DEG, "abc", "Entrez un entier."},
        {IDC_LAT_DEG, "", "Entrez un entier."},
        {IDC_LAT_MIN, "60", "Entrez un entier compris entre 0 et 59."},
        {IDC_LAT_MIN, "-1", "Entrez un entier positif."},
        {IDC_LAT_SEC, "60", "Entrez un entier compris entre 0 et 59."},
        {IDC_LAT_SEC, "1.5", "Entrez un entier positif."},
        {IDC_LON_DEG, "181", "Entrez un entier compris entre 0 et 180."},
        {IDC_LON_MIN, "99", "Entrez un entier compris entre 0 et 59."},
        {IDC_LON_SEC, "60", "Entrez un entier compris entre 0 et 59."},
        // Decimal fields are validated in degrees-minutes-seconds mode too.
        {IDC_LAT_DECIMAL, "abc", "Entrez un nombre."},
        {IDC_LAT_DECIMAL, "90.000001", "Entrez un nombre compris entre 0 et 90."},
        {IDC_LAT_DECIMAL, "-1", "Entrez un nombre compris entre 0 et 90."},
        {IDC_LON_DECIMAL, "180.000001", "Entrez un nombre compris entre 0 et 180."},
        {IDC_LON_DECIMAL, "-0.5", "Entrez un nombre compris entre 0 et 180."},
        {IDC_LON_DECIMAL, "1e999", "Entrez un nombre."},
    };
    for (const auto& failure : failures) {
        std::printf("field %d \"%s\"\n", failure.nID, failure.pszText);
        SetDms(app, 47, 0, 0, 2, 0, 0);
        app.SetText(IDC_LAT_DECIMAL, "0");
        app.SetText(IDC_LON_DECIMAL, "0");
        app.SetText(failure.nID, failure.pszText);
        PressAndExpectMessage(app, failure.pszMessage, kszFrameworkCaption, failure.nID);
    }
    // The first failing field in exchange order is the one reported.
    SetDms(app, 47, 0, 0, 2, 0, 60);
    app.SetText(IDC_LAT_DECIMAL, "abc");
    PressAndExpectMessage(app, "Entrez un entier compris entre 0 et 59.", kszFrameworkCaption, IDC_LON_SEC);
    // The bounds themselves pass.
    SetDms(app, 47, 59, 59, 2, 0, 0);
    app.SetText(IDC_LAT_DECIMAL, "90.0");
    app.SetText(IDC_LON_DECIMAL, "180.0");
    PressAndExpect(app, Expect(Dms(47, 59, 59), 2.0, 0));
    CloseAndCheckExit(app);
}

// A start-up failure: one box, then the end of the process with status 1,
// before the main dialog was ever shown.
void ExpectStartupFailure(const std::string& strBundle, const char* pszMessage) {
    Norvane app(strBundle);
    HWND hBox = app.WaitMessageBox(20000);
    Check(hBox != nullptr, std::string("start-up message ") + pszMessage);
    if (!hBox) return;
    CheckEq(BoxText(hBox), pszMessage, "start-up message");
    CheckEq(WindowText(hBox), kszErreur, "caption");
    Check(ButtonCount(hBox) == 1, "a single button");
    Check(IsExclamationBox(hBox), "an icon");
    Check(app.WaitWindow("Norvane 3.0", 0) == nullptr, "main dialog not shown");
    ::PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    long nExit = app.WaitExit();
    Check(nExit == 1, "exit status 1 after a start-up failure, got " + std::to_string(nExit));
}

void CaseStartupNoEngine() { ExpectStartupFailure(Bundle("no_engine", kAll & ~kWithDll), kszEngineMissing); }
void CaseStartupEngineWithoutResource() {
    ExpectStartupFailure(Bundle("engine_without_resource", kAll, g_paths.strDllNoResource), kszEngineMissing);
}
void CaseStartupEngineWithoutExport() {
    ExpectStartupFailure(Bundle("engine_without_export", kAll, g_paths.strDllNoExport), kszEngineMissing);
}
void CaseStartupNoEpochGrid() { ExpectStartupFailure(Bundle("no_epoch_grid", kAll & ~kWithEpoch), kszEpochMissing); }
void CaseStartupNoVariationGrid() {
    ExpectStartupFailure(Bundle("no_variation_grid", kAll & ~kWithVariation), kszVariationMissing);
}
void CaseStartupNothing() { ExpectStartupFailure(Bundle("nothing", kWithInfo), kszEngineMissing); }
void CaseStartupNoGrids() {
    ExpectStartupFailure(Bundle("no_grids", kWithDll | kWithInfo), kszEpochMissing);
}

// Started from elsewhere, and from a directory whose path is longer than 128
// characters: the files are still found beside the program.
void CaseLocations() {
    std::string strLong = "dossier_au_nom_tres_long_";
    while (JoinPath(g_paths.strWork, strLong).size() < 200) strLong += 'x';
    std::string strDir = Bundle(strLong);
    std::printf("bundle path of %zu characters\n", JoinPath(strDir, "norvane.exe").size());
    {
        Norvane app(strDir, "C:\\windows");
        if (!StartMain(app)) return;
        app.SetText(IDC_DATE, "01/07/2009");
        SetDms(app, 43, 36, 16, 1, 26, 38);
        PressAndExpect(app, Expect(Dms(43, 36, 16), Dms(1, 26, 38), 0));
        // info.txt too comes from the program's directory.
        app.PostClick(IDC_INFO);
        HWND hInfo = app.WaitWindow(kszInfoCaption);
        Check(hInfo != nullptr, "information dialog");
        if (hInfo) {
            Check(ListEntries(::GetDlgItem(hInfo, IDC_INFO_LIST)) == kInfoEntries, "info.txt found beside the program");
            ::PostMessageA(hInfo, WM_CLOSE, 0, 0);
            app.WaitGone(hInfo);
        }
        CloseAndCheckExit(app);
    }
    // A start-up failure from a long path names the right file.
    ExpectStartupFailure(Bundle(strLong + "_y", kAll & ~kWithVariation), kszVariationMissing);
}

// The width in pixels of the widest text in the dialogs' font ("MS Sans
// Serif", 8 points, made as the dialog manager makes it from the template),
// and that font's average character width.
int WidestInDialogFont(const std::vector<std::string>& texts, int& nAveChar) {
    HDC hDC = ::GetDC(nullptr);
    HFONT hFont = ::CreateFontA(-::MulDiv(8, ::GetDeviceCaps(hDC, LOGPIXELSY), 72), 0, 0, 0, 0, FALSE, FALSE, FALSE,
                                DEFAULT_CHARSET, 0, 0, PROOF_QUALITY, FF_DONTCARE, "MS Sans Serif");
    HGDIOBJ hOld = ::SelectObject(hDC, hFont);
    int nWidest = 0;
    for (const std::string& str : texts) {
        SIZE size = {};
        ::GetTextExtentPoint32A(hDC, str.c_str(), static_cast<int>(str.size()), &size);
        if (size.cx > nWidest) nWidest = size.cx;
    }
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(hDC, &tm);
    nAveChar = tm.tmAveCharWidth;
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hFont);
    ::ReleaseDC(nullptr, hDC);
    return nWidest;
}

std::vector<std::string> OpenInfo(Norvane& app, bool bShot = false) {
    app.PostClick(IDC_INFO);
    HWND hInfo = app.WaitWindow(kszInfoCaption);
    Check(hInfo != nullptr, "information dialog opens");
    if (!hInfo) return {};
    HWND hList = ::GetDlgItem(hInfo, IDC_INFO_LIST);
    LONG nStyle = ::GetWindowLongA(hList, GWL_STYLE);
    Check((nStyle & LBS_NOSEL) && !(nStyle & LBS_SORT), "entries cannot be selected and are not sorted");
    std::vector<std::string> entries = ListEntries(hList);
    // The horizontal scroll bar reaches the end of the widest entry, and not
    // much further.
    int nAveChar = 0;
    const int nWidest = WidestInDialogFont(entries, nAveChar);
    const int nExtent = static_cast<int>(::SendMessageA(hList, LB_GETHORIZONTALEXTENT, 0, 0));
    std::printf("  widest entry %d px, horizontal extent %d px\n", nWidest, nExtent);
    Check(nExtent >= nWidest, "horizontal extent " + std::to_string(nExtent) + " covers the widest entry, " +
                                  std::to_string(nWidest) + " px");
    Check(nExtent <= nWidest + 3 * nAveChar, "horizontal extent " + std::to_string(nExtent) + " near the widest entry");
    if (bShot) Screenshot(hInfo, g_paths.strUnixShots + "/norvane-info.png");
    ::PostMessageA(hInfo, WM_CLOSE, 0, 0);
    Check(app.WaitGone(hInfo), "information dialog closes");
    return entries;
}

void CaseInfo() {
    std::string strDir = Bundle("info");
    std::string strInfo = JoinPath(strDir, "info.txt");
    Norvane app(strDir);
    if (!StartMain(app)) return;
    std::vector<std::string> entries = OpenInfo(app, true);
    Check(entries.size() == kInfoEntries.size(), "entry count " + std::to_string(entries.size()));
    for (size_t n = 0; n < entries.size() && n < kInfoEntries.size(); ++n)
        CheckEq(entries[n], kInfoEntries[n], "entry " + std::to_string(n));
    // Read again at each opening.
    WriteFile(strInfo, "autre contenu\n");
    entries = OpenInfo(app);
    Check(entries == std::vector<std::string>{"autre contenu"}, "re-read on opening");
    WriteFile(strInfo, "");
    Check(OpenInfo(app).empty(), "empty file, empty list");
    RemoveFile(strInfo);
    Check(OpenInfo(app).empty(), "missing file, empty list");
    Check(app.WaitMessageBox(200) == nullptr, "no message for a missing info.txt");
    // Enter and Escape close it too (the framework's OK and cancel handling),
    // pressed on the list, which has the focus.
    for (UINT vk : {VK_RETURN, VK_ESCAPE}) {
        app.PostClick(IDC_INFO);
        HWND hInfo = app.WaitWindow(kszInfoCaption);
        Check(hInfo != nullptr, "information dialog opens");
        if (!hInfo) continue;
        Check(app.FocusID() == IDC_INFO_LIST, "the list has the focus");
        app.PostKey(vk);
        Check(app.WaitGone(hInfo), "key " + std::to_string(vk) + " closes the information dialog");
    }
    CloseAndCheckExit(app);
}

void CaseMap() {
    Norvane app(Bundle("map"));
    if (!StartMain(app)) return;
    HWND hThumb = ::GetDlgItem(app.Dialog(), IDC_MAP_SMALL);
    RECT rect;
    ::GetClientRect(hThumb, &rect);
    Check(rect.right == 150 && rect.bottom == 115, "thumbnail takes its bitmap's size");
    Check(::SendMessageA(hThumb, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0, "thumbnail shows a bitmap");
    ::PostMessageA(hThumb, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    ::PostMessageA(hThumb, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    HWND hMap = app.WaitWindow(kszMapCaption);
    Check(hMap != nullptr, "map dialog opens from the thumbnail");
    if (hMap) {
        HWND hPicture = ::GetWindow(hMap, GW_CHILD);
        ::GetClientRect(hPicture, &rect);
        Check(rect.right == 908 && rect.bottom == 836, "map picture of 908 x 836");
        LONG nStyle = ::GetWindowLongA(hMap, GWL_STYLE);
        Check((nStyle & WS_MINIMIZEBOX) && (nStyle & WS_MAXIMIZEBOX), "minimise and maximise boxes");
        Screenshot(hMap, g_paths.strUnixShots + "/norvane-map.png");
        ::PostMessageA(hMap, WM_CLOSE, 0, 0);
        Check(app.WaitGone(hMap), "map dialog closes");
    }
    CloseAndCheckExit(app);
}

// The dialogs as Windows draws them. Each dialog template names its font:
// wine must find that font under its own name (a substitute has other metrics,
// and cuts texts and pictures), each label's text must fit its control in it,
// and every control must lie inside its dialog.
struct DialogFont {
    std::string strCaption, strFace;
    int nPoints;
};

const WORD* SkipSzOrOrd(const WORD* p) {
    if (*p == 0xFFFF) return p + 2;
    while (*p) ++p;
    return p + 1;
}

std::string TemplateText(const WORD* p) {
    std::wstring wide;
    for (; *p; ++p) wide += static_cast<wchar_t>(*p);
    char sz[256] = "";
    ::WideCharToMultiByte(1252, 0, wide.c_str(), -1, sz, sizeof sz, nullptr, nullptr);
    return sz;
}

// Reads the caption and font of a DIALOG or DIALOGEX template.
BOOL CALLBACK CollectDialogFont(HMODULE hModule, LPCSTR, LPSTR pszName, LONG_PTR lParam) {
    HRSRC hResource = ::FindResourceA(hModule, pszName, MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    const WORD* p = hResource ? static_cast<const WORD*>(::LockResource(::LoadResource(hModule, hResource))) : nullptr;
    if (!p) return TRUE;
    bool bEx = p[0] == 1 && p[1] == 0xFFFF;
    DWORD dwStyle = bEx ? MAKELONG(p[6], p[7]) : MAKELONG(p[0], p[1]);
    p += bEx ? 13 : 9;                // the fixed header, up to the dialog's size
    p = SkipSzOrOrd(SkipSzOrOrd(p));  // menu, window class
    DialogFont font = {TemplateText(p), std::string(), 0};
    p = SkipSzOrOrd(p);
    if (dwStyle & DS_SETFONT) {
        font.nPoints = p[0];
        font.strFace = TemplateText(p + (bEx ? 3 : 1));  // DIALOGEX: weight, italic and charset first
    }
    reinterpret_cast<std::vector<DialogFont>*>(lParam)->push_back(font);
    return TRUE;
}

std::vector<DialogFont> DialogFonts() {
    std::vector<DialogFont> fonts;
    HMODULE hExe = ::LoadLibraryExA(g_paths.strExe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    Check(hExe != nullptr, "read the dialog templates of " + g_paths.strExe);
    if (!hExe) return fonts;
    ::EnumResourceNamesA(hExe, MAKEINTRESOURCEA(5), CollectDialogFont, reinterpret_cast<LONG_PTR>(&fonts));
    ::FreeLibrary(hExe);
    return fonts;
}

// The font the dialog manager makes from a template's font, selected into hdc.
HFONT SelectDialogFont(HDC hdc, const DialogFont& font) {
    HFONT hFont = ::CreateFontA(-::MulDiv(font.nPoints, ::GetDeviceCaps(hdc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL,
                                FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font.strFace.c_str());
    ::SelectObject(hdc, hFont);
    return hFont;
}

void CheckDialogLayout(HWND hDlg, const std::vector<DialogFont>& fonts) {
    std::string strCaption = WindowText(hDlg);
    const DialogFont* pFont = nullptr;
    for (const DialogFont& font : fonts) if (font.strCaption == strCaption) pFont = &font;
    Check(pFont != nullptr, "a template with the caption \"" + Show(strCaption) + "\"");
    if (!pFont) return;
    HDC hdc = ::GetDC(nullptr);
    SelectDialogFont(hdc, *pFont);
    RECT client;
    ::GetClientRect(hDlg, &client);
    for (HWND hChild = ::GetWindow(hDlg, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        RECT rect;
        ::GetWindowRect(hChild, &rect);
        ::MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rect), 2);
        std::string strText = WindowText(hChild);
        std::string strWhat = strCaption + ", control " + std::to_string(::GetDlgCtrlID(hChild)) + " \"" +
                              Show(strText) + "\"";
        Check(rect.left >= 0 && rect.top >= 0 && rect.right <= client.right && rect.bottom <= client.bottom,
              strWhat + " lies inside the dialog's " + std::to_string(client.right) + " x " +
                  std::to_string(client.bottom) + " pixels");
        char szClass[64] = "";
        ::GetClassNameA(hChild, szClass, sizeof szClass);
        LONG nType = ::GetWindowLongA(hChild, GWL_STYLE) & SS_TYPEMASK;
        bool bLabel = lstrcmpiA(szClass, "Static") == 0 &&
                      (nType == SS_LEFT || nType == SS_CENTER || nType == SS_RIGHT || nType == SS_LEFTNOWORDWRAP);
        if (!bLabel || strText.empty()) continue;
        SIZE size;
        ::GetTextExtentPoint32A(hdc, strText.c_str(), static_cast<int>(strText.size()), &size);
        RECT inside;
        ::GetClientRect(hChild, &inside);
        Check(size.cx <= inside.right && size.cy <= inside.bottom,
              strWhat + " needs " + std::to_string(size.cx) + " x " + std::to_string(size.cy) + " pixels, has " +
                  std::to_string(inside.right) + " x " + std::to_string(inside.bottom));
    }
    ::DeleteObject(::SelectObject(hdc, ::GetStockObject(SYSTEM_FONT)));
    ::ReleaseDC(nullptr, hdc);
}

void CaseDialogLayout() {
    std::vector<DialogFont> fonts = DialogFonts();
    Check(fonts.size() == 3, "three dialog templates, found " + std::to_string(fonts.size()));
    HDC hdc = ::GetDC(nullptr);
    for (const DialogFont& font : fonts) {
        SelectDialogFont(hdc, font);
        char szFace[LF_FACESIZE] = "";
        ::GetTextFaceA(hdc, sizeof szFace, szFace);
        CheckEq(szFace, font.strFace, "the font of \"" + Show(font.strCaption) + "\" as wine draws it");
        ::DeleteObject(::SelectObject(hdc, ::GetStockObject(SYSTEM_FONT)));
    }
    ::ReleaseDC(nullptr, hdc);

    Norvane app(Bundle("dialog_layout"));
    if (!StartMain(app)) return;
    CheckDialogLayout(app.Dialog(), fonts);
    // The other two, opened as a user opens them: the Info button, a click on the thumbnail.
    HWND hThumb = ::GetDlgItem(app.Dialog(), IDC_MAP_SMALL);
    struct { const char* pszCaption; std::function<void()> open; } dialogs[] = {
        {kszInfoCaption, [&] { app.PostClick(IDC_INFO); }},
        {kszMapCaption, [&] {
             ::PostMessageA(hThumb, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
             ::PostMessageA(hThumb, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
         }},
    };
    for (const auto& dialog : dialogs) {
        dialog.open();
        HWND hDlg = app.WaitWindow(dialog.pszCaption);
        Check(hDlg != nullptr, Show(dialog.pszCaption) + " opens");
        if (!hDlg) continue;
        CheckDialogLayout(hDlg, fonts);
        ::PostMessageA(hDlg, WM_CLOSE, 0, 0);
        Check(app.WaitGone(hDlg), Show(dialog.pszCaption) + " closes");
    }
    CloseAndCheckExit(app);
}

// The shipped grids and info.txt: results agree with the grid files' nodes.
void LoadGrid(const std::string& strPath, float (*pGrid)[kRows]) {
    static bool abReceived[kGridNodes];
    Check(LoadGridFile(strPath.c_str(), &pGrid[0][0], abReceived), "open " + strPath);
}

void CaseShippedData() {
    std::string strDir = JoinPath(g_paths.strWork, "shipped_data");
    MakeDirectory(g_paths.strWork);
    MakeDirectory(strDir);
    for (const char* pszFile : {"norvane.exe", "geokern.dll", "Grid2009_5.dat", "GridVS2013Poly.dat", "info.txt"})
        CopyTo(JoinPath(g_paths.strData, pszFile), JoinPath(strDir, pszFile));
    LoadGrid(JoinPath(strDir, "Grid2009_5.dat"), g_epoch);
    LoadGrid(JoinPath(strDir, "GridVS2013Poly.dat"), g_variation);
    Norvane app(strDir);
    if (!StartMain(app)) return;
    app.SetText(IDC_DATE, "01/07/2013");  // 1461 days after the epoch
    struct { const char* pszPlace; double dLat, dLon; } places[] = {
        {"Paris", 48.8566, 2.3522}, {"Brest", 48.3904, -4.4861}, {"Strasbourg", 48.5734, 7.7521},
        {"Perpignan", 42.6887, 2.8948}, {"Ajaccio", 41.9192, 8.7386}, {"Lille", 50.6292, 3.0573},
        {"en mer", 46.0, -8.0}};
    app.Click(IDC_MODE_DECIMAL);
    for (const auto& place : places) {
        std::printf("%s\n", place.pszPlace);
        app.Click(place.dLon < 0 ? IDC_DEC_WEST : IDC_DEC_EAST);
        app.SetText(IDC_LAT_DECIMAL, std::to_string(place.dLat));
        app.SetText(IDC_LON_DECIMAL, std::to_string(std::fabs(place.dLon)));
        Expected expected = Expect(place.dLat, place.dLon, 1461);
        Check(expected.bInZone == (std::string(place.pszPlace) != "en mer"), std::string("in zone: ") + place.pszPlace);
        PressAndExpect(app, expected);
        if (place.dLat == places[0].dLat) Screenshot(app.Dialog(), g_paths.strUnixShots + "/norvane-main-shipped.png");
    }
    app.PostClick(IDC_INFO);
    HWND hInfo = app.WaitWindow(kszInfoCaption);
    if (hInfo) {
        std::vector<std::string> entries = ListEntries(::GetDlgItem(hInfo, IDC_INFO_LIST));
        Check(entries.size() > 5, "the shipped info.txt is listed");
        if (!entries.empty()) CheckEq(entries[0].substr(0, 11), "Norvane 3.0", "first line of info.txt");
        Screenshot(hInfo, g_paths.strUnixShots + "/norvane-info-shipped.png");
        ::PostMessageA(hInfo, WM_CLOSE, 0, 0);
        app.WaitGone(hInfo);
    }
    CloseAndCheckExit(app);
}

// Runs once before the others: creates the wine prefix's windows stack.
void CaseWarmUp() {}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 9) {
        std::printf("usage: %s CASE EXE DLL DLL_NO_RESOURCE DLL_NO_EXPORT WORKDIR SHOTDIR DATADIR\n", argv[0]);
        return 2;
    }
    std::map<std::string, std::function<void()>> cases = {
        {"warm_up", CaseWarmUp},
        {"defaults", CaseDefaults},
        {"compute_dms", CaseComputeDms},
        {"compute_decimal", CaseComputeDecimal},
        {"radios", CaseRadios},
        {"keyboard_tab", CaseKeyboardTab},
        {"keyboard_compute", CaseKeyboardCompute},
        {"decimal_comma", CaseDecimalComma},
        {"dates", CaseDates},
        {"validation", CaseValidation},
        {"startup_no_engine", CaseStartupNoEngine},
        {"startup_engine_without_resource", CaseStartupEngineWithoutResource},
        {"startup_engine_without_export", CaseStartupEngineWithoutExport},
        {"startup_no_epoch_grid", CaseStartupNoEpochGrid},
        {"startup_no_variation_grid", CaseStartupNoVariationGrid},
        {"startup_nothing", CaseStartupNothing},
        {"startup_no_grids", CaseStartupNoGrids},
        {"locations", CaseLocations},
        {"info", CaseInfo},
        {"map", CaseMap},
        {"dialog_layout", CaseDialogLayout},
        {"shipped_data", CaseShippedData},
    };
    auto it = cases.find(argv[1]);
    if (it == cases.end()) {
        std::printf("unknown case %s\n", argv[1]);
        return 2;
    }
    g_paths = {WinPath(argv[2]), WinPath(argv[3]), WinPath(argv[4]), WinPath(argv[5]),
               WinPath(argv[6]), WinPath(argv[7]), argv[7], WinPath(argv[8])};
    g_strEpochGrid = GridText(true);
    g_strVariationGrid = GridText(false);
    it->second();
    std::printf("%s: %d failed check(s)\n", argv[1], FailureCount());
    return FailureCount() == 0 ? 0 : 1;
}
