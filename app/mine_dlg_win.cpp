#include "app/mine_dlg_win.h"

#include "app/about_dlg_win.h"
#include "app/message_box_sink_win.h"
#include "export/file_menu_commands_win.h"
#include "framework/application_win.h"
#include "framework/data_exchange_win.h"
#include "framework/file_dialog_win.h"
#include "framework/paint_dc_win.h"
#include "framework/property_sheet_win.h"
#include "framework/top_level_error_win.h"
#include "framework/wait_cursor_win.h"
#include "infosheet/info_sheet_win.h"
#include "load/mine_loader.h"
#include "minedata/mine_array.h"
#include "ozilink/map_click_win.h"
#include "ozilink/mine_lookup.h"
#include "ozilink/ozi_start_rules.h"
#include "ozilink/start_ozi_win.h"
#include "res/resource.h"

namespace {

constexpr float kInitialSensitivity = 0.001f;

}  // namespace

CMineDlg::CMineDlg(CMineArray& mines, CLazyMineIndex& mineIndex, CWnd* parent)
    : CDialog(IDD_VEMRA_DIALOG, parent),
      m_mines(mines),
      m_mineIndex(mineIndex),
      m_hIcon(::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME))),
      m_findDlg(mines, mineIndex, [](const CWnd& owner, const ExportResult& result) {
          ShowExportResult(owner, result);
      }) {}

const MessageMap* CMineDlg::GetMessageMap() const {
    using D = CMineDlg;
    static const MessageMapEntry entries[] = {
        OnMessageEntry<&D::OnSysCommand>(WM_SYSCOMMAND),
        OnMessageEntry<&D::OnPaint>(WM_PAINT),
        OnMessageEntry<&D::OnQueryDragIcon>(WM_QUERYDRAGICON),
        OnCommandEntry<&D::OnBrowse>(IDC_BROWSE),
        OnCommandEntry<&D::OnAbout>(IDC_ABOUT),
        OnCommandEntry<&D::OnExit>(IDC_EXIT),
        // Enter ends the dialog like "Exit", also when IDOK comes without the
        // default button.
        OnCommandEntry<&D::OnExit>(IDOK),
        OnCommandEntry<&D::OnStartStop>(IDC_START_STOP),
        OnCommandEntry<&D::OnLoadNewDataFile>(IDC_LOAD_NEW_DATA_FILE),
        OnCommandEntry<&D::OnExportPointFile>(ID_FILE_EXPORT_POINT_FILE),
        OnCommandEntry<&D::OnExportMapPointFile>(ID_FILE_EXPORT_MAP_POINT_FILE),
        OnCommandEntry<&D::OnExportArchive>(ID_FILE_EXPORT_ARCHIVE),
        OnCommandEntry<&D::OnSaveImage>(ID_FILE_SAVE_IMAGE),
        OnCommandEntry<&D::OnExportGpx>(ID_FILE_EXPORT_GPX),
        OnCommandEntry<&D::OnExportMapGpx>(ID_FILE_EXPORT_MAP_GPX),
        OnCommandEntry<&D::OnExportKml>(ID_FILE_EXPORT_KML),
        OnCommandEntry<&D::OnExportMapKml>(ID_FILE_EXPORT_MAP_KML),
        OnCommandEntry<&D::OnExportWaypoints>(ID_FILE_EXPORT_WAYPOINTS),
        OnCommandEntry<&D::OnExportMapWaypoints>(ID_FILE_EXPORT_MAP_WAYPOINTS),
        OnCommandEntry<&D::OnFindNear>(ID_FIND_NEAR),
        OnCommandEntry<&D::OnFindAlong>(ID_FIND_ALONG),
        OnCommandEntry<&D::OnFindMatching>(ID_FIND_MATCHING),
        OnMessageEntry<&D::OnQueryLiveSheetObjects>(LiveSheetObjectsMessage()),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

void CMineDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DATA_FILE, m_editDataFile);
    DDX_Text(pDX, IDC_SENSITIVITY, m_fSensitivity);
    DDV_MinMaxFloat(pDX, m_fSensitivity, 0.0f, 1.0f);
}

BOOL CMineDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    if (HMENU sysMenu = GetSystemMenu(FALSE)) {
        char about[256] = {};
        if (::LoadStringA(AfxGetResourceHandle(), IDS_ABOUTBOX, about, sizeof about) > 0) {
            ::AppendMenuA(sysMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuA(sysMenu, MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    if (BindOziApi() != 0) {
        MessageBox("Error loading OziAPI.dll");
        EndDialog(-1);
        return FALSE;
    }

    // A load that fails in any way, also by running out of memory, is
    // reported and the dialog goes on with what it has.
    int loaded = -1;
    if (!RunReportingErrors(m_hWnd, [&] { loaded = LoadMineData(); })) {
        loaded = 0;
    }
    CMessageBoxSink sink(*this);
    ReportLoadResult(loaded, sink);

    if (!EnsureOziExplorerRunning()) {
        EndDialog(-1);
        return FALSE;
    }
    SetMapClickHandler(
        m_hWnd, [this](double latitude, double longitude) { OnMapClick(latitude, longitude); });
    m_oziApi.oziMapSingleClickON(OnMapSingleClick);

    m_bStopped = FALSE;
    m_editDataFile.SetWindowText(m_strDataFile);
    m_fSensitivity = kInitialSensitivity;
    UpdateData(false);
    return TRUE;
}

int CMineDlg::LoadMineData() {
    CWaitCursor wait;
    const LoadResult result = ::LoadMineData(m_strDataFile, m_mines);
    m_mineIndex.Reset();
    m_findDlg.ClearList();
    CMessageBoxSink sink(*this);
    ReportLoaderMessages(result, sink);
    return LoadResultCode(result);
}

void CMineDlg::OnSysCommand(UINT nID, LPARAM /*lParam*/) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        Default();
    }
}

void CMineDlg::OnPaint() {
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(m_hWnd);
    ::SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const int cxIcon = ::GetSystemMetrics(SM_CXICON);
    const int cyIcon = ::GetSystemMetrics(SM_CYICON);
    RECT rect;
    ::GetClientRect(m_hWnd, &rect);
    const int x = (rect.right - rect.left - cxIcon + 1) / 2;
    const int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    ::DrawIcon(dc.GetSafeHdc(), x, y, m_hIcon);
}

HCURSOR CMineDlg::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_hIcon);
}

void CMineDlg::OnBrowse() {
    // A failed check has told the user; the file dialog opens all the same.
    UpdateData(true);
    CFileDialog dlg(true, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    "CSV files (*.csv)|*.csv|DAT files (*.dat)|*.dat|Zip files (*.zip)|*.zip|All "
                    "Files (*.*)|*.*||",
                    this);
    dlg.SetTitle("Open Mine Data File");
    if (dlg.DoModal() == IDOK) {
        m_strDataFile = dlg.GetPathName();
        m_editDataFile.SetWindowText(m_strDataFile);
        UpdateData(false);
    }
}

void CMineDlg::OnAbout() {
    CAboutDlg dlgAbout;
    dlgAbout.DoModal();
}

void CMineDlg::OnExit() {
    EndDialog(1);
}

void CMineDlg::OnStartStop() {
    if (m_bStopped) {
        m_oziApi.oziMapSingleClickON(OnMapSingleClick);
        SetDlgItemText(IDC_START_STOP, "Stop");
        m_bStopped = FALSE;
    } else {
        m_oziApi.oziMapSingleClickOFF();
        SetDlgItemText(IDC_START_STOP, "Start");
        m_bStopped = TRUE;
    }
}

void CMineDlg::OnLoadNewDataFile() {
    // The loader replaces the mines only when the new file loaded, so a
    // failed load leaves the old ones in place.
    m_strDataFile = m_editDataFile.GetWindowText();
    CMessageBoxSink sink(*this);
    ReportLoadResult(LoadMineData(), sink);
}

LRESULT CMineDlg::OnQueryLiveSheetObjects() {
    return LiveSheetObjectsReply();
}

BOOL CMineDlg::DestroyWindow() {
    SetMapClickHandler(nullptr, {});
    if (m_oziApi.IsBound()) {
        m_oziApi.oziCloseApi();
    }
    return CDialog::DestroyWindow();
}

int CMineDlg::BindOziApi() {
    return ::BindOziApi(m_oziApi);
}

int CMineDlg::StartOziExplorer() {
    const OziStartResult result = StartOziExplorerProcess();
    if (!result.failure.empty()) {
        MessageBox(result.failure.c_str(), kProgramCaption);
    }
    return result.started ? 1 : 0;
}

bool CMineDlg::EnsureOziExplorerRunning() {
    if (m_oziApi.oziFindOzi() >= 0) {
        return true;
    }
    if (MessageBox("Can't find OziExplorer.\n\nAttempt to start it?", "Warning", MB_YESNO) !=
        IDYES) {
        return false;
    }
    if (StartOziExplorer() == 0) {
        MessageBox(
            "Can't start OziExplorer. Please try to\nstart it manually, then try this utility "
            "again",
            "WARNING");
        return false;
    }
    // Not found after all attempts: go on all the same.
    CWaitCursor wait;
    WaitForOziExplorer([this] { return m_oziApi.oziFindOzi(); },
                       [](unsigned milliseconds) { ::Sleep(milliseconds); });
    return true;
}

void CMineDlg::OnMapClick(double latitude, double longitude) {
    const CMineArray& mines = m_mines;
    if (const auto index = FindMineAt(mines, latitude, longitude, LookupSensitivity())) {
        ShowMineInfo(mines[*index]);
    }
    m_lastClick = MapPoint{latitude, longitude};
    m_findDlg.TakeMapClick(*m_lastClick);
}

float CMineDlg::LookupSensitivity() const {
    char text[kSensitivityTextLimit + 1] = {};
    ::GetDlgItemTextA(m_hWnd, IDC_SENSITIVITY, text, sizeof text);
    return SensitivityFromText(text);
}

void CMineDlg::OnExportPointFile() {
    ShowExportResult(*this, ExportPointFileCommand(*this, m_mines, {}));
}

void CMineDlg::OnExportMapPointFile() {
    ShowExportResult(*this, ExportPointFileCommand(*this, m_mines, CurrentMapFilter()));
}

PositionFilter CMineDlg::CurrentMapFilter() const {
    const OziIsPositionOnMapProc isOnMap = m_oziApi.oziIsPositionOnMap;
    return
        [isOnMap](double latitude, double longitude) { return isOnMap(latitude, longitude) > 0; };
}

void CMineDlg::OnExportArchive() {
    ShowExportResult(*this, ExportArchiveCommand(*this, m_mines));
}

void CMineDlg::OnSaveImage() {
    SaveMapImageCommand(m_oziApi.oziSaveMapImage);
}

void CMineDlg::ExportWaypoints(ExportKind kind, const PositionFilter& onMap) {
    ShowExportResult(*this, ExportWaypointFileCommand(*this, kind, m_mines, onMap));
}

void CMineDlg::OnExportGpx() {
    ExportWaypoints(ExportKind::Gpx, {});
}

void CMineDlg::OnExportMapGpx() {
    ExportWaypoints(ExportKind::Gpx, CurrentMapFilter());
}

void CMineDlg::OnExportKml() {
    ExportWaypoints(ExportKind::Kml, {});
}

void CMineDlg::OnExportMapKml() {
    ExportWaypoints(ExportKind::Kml, CurrentMapFilter());
}

void CMineDlg::OnExportWaypoints() {
    ExportWaypoints(ExportKind::OziWaypoints, {});
}

void CMineDlg::OnExportMapWaypoints() {
    ExportWaypoints(ExportKind::OziWaypoints, CurrentMapFilter());
}

void CMineDlg::OnFindNear() {
    m_findDlg.Show(m_hWnd, FindMode::Near, m_lastClick);
}

void CMineDlg::OnFindAlong() {
    m_findDlg.Show(m_hWnd, FindMode::Along, m_lastClick);
}

void CMineDlg::OnFindMatching() {
    m_findDlg.Show(m_hWnd, FindMode::Matching, m_lastClick);
}
