#include "CDeclinationDlg.h"

#include <cstdlib>

#include "CDeclinationApp.h"
#include "CInfoDlg.h"
#include "CMapDlg.h"
#include "Declination.h"
#include "DeclinationGrids.h"
#include "ProgramDirectory.h"
#include "Utf8Text.h"
#include "afxdisp.h"

PFN_SysCoord2SysCoord g_pfnSysCoord2SysCoord = nullptr;

namespace {
const char kszEngineFile[] = "geokern.dll";
const char kszEngineExport[] = "SysCoord2SysCoord";
const char kszMsgEngineMissing[] = "geokern.dll introuvable";
const char kszCaptionError[] = "Erreur";
// Exit status of a start-up failure: the program did not run.
const int kExitStartupFailure = 1;
}  // namespace

CDeclinationDlg::CDeclinationDlg(CWnd* pParent)
    : CDialog(CDeclinationDlg::IDD, pParent),
      m_nLatDeg(0),
      m_uLatMin(0),
      m_uLatSec(0),
      m_nLonDeg(0),
      m_uLonMin(0),
      m_uLonSec(0),
      m_dLatDecimal(0.0),
      m_dLonDecimal(0.0) {
    m_strDate = COleDateTime::GetCurrentTime().Format(VAR_DATEVALUEONLY, LANG_USER_DEFAULT);
    m_hIcon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
}

void CDeclinationDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_MODE_DMS, m_radioDms);
    DDX_Control(pDX, IDC_MODE_DECIMAL, m_radioDecimal);
    DDX_Control(pDX, IDC_DEC_SOUTH, m_radioDecSouth);
    DDX_Control(pDX, IDC_DEC_WEST, m_radioDecWest);
    DDX_Control(pDX, IDC_DEC_NORTH, m_radioDecNorth);
    DDX_Control(pDX, IDC_DEC_EAST, m_radioDecEast);
    DDX_Control(pDX, IDC_DMS_SOUTH, m_radioDmsSouth);
    DDX_Control(pDX, IDC_DMS_WEST, m_radioDmsWest);
    DDX_Control(pDX, IDC_DMS_NORTH, m_radioDmsNorth);
    DDX_Control(pDX, IDC_DMS_EAST, m_radioDmsEast);
    DDX_Text(pDX, IDC_LAT_DEG, m_nLatDeg);
    DDV_MinMaxInt(pDX, m_nLatDeg, 0, 90);
    DDX_Text(pDX, IDC_LAT_MIN, m_uLatMin);
    DDV_MinMaxUInt(pDX, m_uLatMin, 0, 59);
    DDX_Text(pDX, IDC_LAT_SEC, m_uLatSec);
    DDV_MinMaxUInt(pDX, m_uLatSec, 0, 59);
    DDX_Text(pDX, IDC_LON_DEG, m_nLonDeg);
    DDV_MinMaxInt(pDX, m_nLonDeg, 0, 180);
    DDX_Text(pDX, IDC_LON_MIN, m_uLonMin);
    DDV_MinMaxUInt(pDX, m_uLonMin, 0, 59);
    DDX_Text(pDX, IDC_LON_SEC, m_uLonSec);
    DDV_MinMaxUInt(pDX, m_uLonSec, 0, 59);
    DDX_Text(pDX, IDC_DECLINATION, m_strDeclination);
    DDV_MaxChars(pDX, m_strDeclination, 15);
    DDX_Text(pDX, IDC_DATE, m_strDate);
    DDV_MaxChars(pDX, m_strDate, 20);
    DDX_Text(pDX, IDC_ANNUAL_VARIATION, m_strAnnualVariation);
    DDX_Text(pDX, IDC_LAT_DECIMAL, m_dLatDecimal);
    DDV_MinMaxDouble(pDX, m_dLatDecimal, 0.0, 90.0);
    DDX_Text(pDX, IDC_LON_DECIMAL, m_dLonDecimal);
    DDV_MinMaxDouble(pDX, m_dLonDecimal, 0.0, 180.0);
}

BEGIN_MESSAGE_MAP(CDeclinationDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_CALCULER, OnCalculer)
    ON_BN_CLICKED(IDC_DMS_NORTH, OnDmsNorth)
    ON_BN_CLICKED(IDC_DMS_SOUTH, OnDmsSouth)
    ON_BN_CLICKED(IDC_DMS_EAST, OnDmsEast)
    ON_BN_CLICKED(IDC_DMS_WEST, OnDmsWest)
    ON_BN_CLICKED(IDC_INFO, OnInfo)
    ON_BN_CLICKED(IDC_DEC_NORTH, OnDecNorth)
    ON_BN_CLICKED(IDC_DEC_SOUTH, OnDecSouth)
    ON_BN_CLICKED(IDC_DEC_EAST, OnDecEast)
    ON_BN_CLICKED(IDC_DEC_WEST, OnDecWest)
    ON_BN_CLICKED(IDC_MODE_DMS, OnModeDms)
    ON_BN_CLICKED(IDC_MODE_DECIMAL, OnModeDecimal)
    ON_STN_CLICKED(IDC_MAP_SMALL, OnMapSmall)
END_MESSAGE_MAP()

void CDeclinationDlg::ShowError(const char* pszMessage) {
    MessageBox(pszMessage, kszCaptionError, MB_ICONEXCLAMATION | MB_OK);
}

void CDeclinationDlg::FailStartup(const char* pszMessage) {
    ShowError(pszMessage);
    std::exit(kExitStartupFailure);
}

BOOL CDeclinationDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    CString strDirectory = GetProgramDirectory();
    CString strEpochGrid = strDirectory + kszEpochGridFile;
    CString strVariationGrid = strDirectory + kszVariationGridFile;
    m_strEnginePath = strDirectory + kszEngineFile;

    // The library is never freed: the pointer stays valid until the process ends.
    HMODULE hEngine = ::LoadLibraryA(m_strEnginePath);
    if (!hEngine) FailStartup(kszMsgEngineMissing);
    // A library without the export is no engine: every computation would need it.
    g_pfnSysCoord2SysCoord =
        reinterpret_cast<PFN_SysCoord2SysCoord>(reinterpret_cast<void*>(::GetProcAddress(hEngine, kszEngineExport)));
    if (!g_pfnSysCoord2SysCoord) FailStartup(kszMsgEngineMissing);

    const GridLoadStatus eGrids = LoadDeclinationGrids(strEpochGrid, strVariationGrid, g_declinationGrids);
    if (eGrids != kGridsLoaded) FailStartup(GridLoadMessage(eGrids));

    m_radioDmsSouth.SetCheck(0);
    m_radioDmsWest.SetCheck(0);
    m_radioDmsNorth.SetCheck(1);
    m_radioDmsEast.SetCheck(1);
    m_radioDms.SetCheck(1);
    m_radioDecimal.SetCheck(0);
    m_radioDecSouth.SetCheck(0);
    m_radioDecWest.SetCheck(0);
    m_radioDecNorth.SetCheck(1);
    m_radioDecEast.SetCheck(1);

    return TRUE;
}

void CDeclinationDlg::OnPaint() {
    if (IsIconic()) {
        PAINTSTRUCT ps;
        HDC hDC = ::BeginPaint(m_hWnd, &ps);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(hDC), 0);

        int cxIcon = ::GetSystemMetrics(SM_CXICON);
        int cyIcon = ::GetSystemMetrics(SM_CYICON);
        RECT rect;
        GetClientRect(&rect);
        int x = (rect.right - rect.left - cxIcon + 1) / 2;
        int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
        ::DrawIcon(hDC, x, y, m_hIcon);
        ::EndPaint(m_hWnd, &ps);
    } else {
        CDialog::OnPaint();
    }
}

HCURSOR CDeclinationDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

void CDeclinationDlg::OnCalculer() {
    if (!UpdateData(TRUE)) return;

    DeclinationInput input = {};
    COleDateTime date;
    input.m_bDateParsed = date.ParseDateTime(m_strDate, VAR_DATEVALUEONLY, LANG_USER_DEFAULT);
    if (input.m_bDateParsed) {
        input.m_nYear = date.GetYear();
        input.m_nMonth = date.GetMonth();
        input.m_nDay = date.GetDay();
    }
    input.m_nLatDeg = m_nLatDeg;
    input.m_uLatMin = m_uLatMin;
    input.m_uLatSec = m_uLatSec;
    input.m_nLonDeg = m_nLonDeg;
    input.m_uLonMin = m_uLonMin;
    input.m_uLonSec = m_uLonSec;
    input.m_dLatDecimal = m_dLatDecimal;
    input.m_dLonDecimal = m_dLonDecimal;
    input.m_bRadioDms = m_radioDms.GetCheck() == BST_CHECKED;
    input.m_bRadioDmsNorth = m_radioDmsNorth.GetCheck() == BST_CHECKED;
    input.m_bRadioDmsEast = m_radioDmsEast.GetCheck() == BST_CHECKED;
    input.m_bRadioDecNorth = m_radioDecNorth.GetCheck() == BST_CHECKED;
    input.m_bRadioDecEast = m_radioDecEast.GetCheck() == BST_CHECKED;

    // The entry in signed decimal degrees, then the declination by the grids.
    DeclinationOutcome outcome = ComputeDeclination(input, g_declinationGrids, g_pfnSysCoord2SysCoord);
    switch (outcome.m_eStatus) {
    case kDeclinationDateNotValid:
    case kDeclinationDateOutOfPeriod:
        // The fields keep what they show.
        ShowError(Utf8ToWindows1252(DeclinationMessage(outcome.m_eStatus)).c_str());
        return;
    case kDeclinationModelOutOfPeriod:  // the model's outcomes: not asked for here
    case kDeclinationPositionNotValid:
    case kDeclinationPole:
    case kDeclinationModelMissing:
    case kDeclinationOutOfZone:
        ShowError(Utf8ToWindows1252(DeclinationMessage(outcome.m_eStatus)).c_str());
        m_strDeclination.Empty();
        m_strAnnualVariation.Empty();
        break;
    case kDeclinationResult:
        // The core's texts are UTF-8, the controls' Windows-1252.
        m_strDeclination = Utf8ToWindows1252(outcome.m_strDeclination).c_str();
        m_strAnnualVariation = Utf8ToWindows1252(outcome.m_strAnnualVariation).c_str();
        break;
    }
    UpdateData(FALSE);
}

void CDeclinationDlg::OnDmsNorth() {
    m_radioDmsSouth.SetCheck(0);
    m_radioDmsNorth.SetCheck(1);
}

void CDeclinationDlg::OnDmsSouth() {
    m_radioDmsSouth.SetCheck(1);
    m_radioDmsNorth.SetCheck(0);
}

void CDeclinationDlg::OnDmsEast() {
    m_radioDmsWest.SetCheck(0);
    m_radioDmsEast.SetCheck(1);
}

void CDeclinationDlg::OnDmsWest() {
    m_radioDmsWest.SetCheck(1);
    m_radioDmsEast.SetCheck(0);
}

void CDeclinationDlg::OnInfo() {
    CInfoDlg dlg;
    dlg.DoModal();
}

void CDeclinationDlg::OnDecNorth() {
    m_radioDecNorth.SetCheck(1);
    m_radioDecSouth.SetCheck(0);
}

void CDeclinationDlg::OnDecSouth() {
    m_radioDecNorth.SetCheck(0);
    m_radioDecSouth.SetCheck(1);
}

void CDeclinationDlg::OnDecEast() {
    m_radioDecWest.SetCheck(0);
    m_radioDecEast.SetCheck(1);
}

void CDeclinationDlg::OnDecWest() {
    m_radioDecWest.SetCheck(1);
    m_radioDecEast.SetCheck(0);
}

void CDeclinationDlg::OnModeDms() {
    m_radioDms.SetCheck(1);
    m_radioDecimal.SetCheck(0);
}

void CDeclinationDlg::OnModeDecimal() {
    m_radioDms.SetCheck(0);
    m_radioDecimal.SetCheck(1);
}

void CDeclinationDlg::OnMapSmall() {
    CMapDlg dlg;
    dlg.DoModal();
}
