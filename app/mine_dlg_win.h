#pragma once

#include <optional>
#include <string>

#include "export/waypoint_file_export.h"
#include "find/find_mines_dlg_win.h"
#include "framework/controls_win.h"
#include "framework/dialog_win.h"
#include "ozilink/ozi_api_win.h"

class CMineArray;

// The main window: the data file name, the sensitivity, capture on and off,
// the File menu's exports and the binding of OziAPI.dll. Its modal run is the
// program's working life.
class CMineDlg : public CDialog {
public:
    // `mines`: the application object's mines, which the dialog loads,
    // empties and exports; the application runs the dialog with them.
    CMineDlg(CMineArray& mines, CLazyMineIndex& mineIndex, CWnd* parent = nullptr);

    // Loads the file named by m_strDataFile into the application's mines,
    // with the wait cursor; reports its own failures. Negative: failed. On
    // failure, and when an exception escapes, the loaded mines are as before.
    int LoadMineData();

    // Binds OziAPI.dll into m_oziApi: 0 bound, -1 library missing, -2 a
    // function missing (the library is unloaded again).
    int BindOziApi();
    // Starts OziExplorer from the path it keeps in the registry, else from
    // the current directory; nonzero when a process was started. A failed
    // start is reported in a message box.
    int StartOziExplorer();
    // Makes sure OziExplorer runs, asking the user and starting it if need
    // be; false when the dialog must end.
    bool EnsureOziExplorerRunning();

    CMineArray& m_mines;
    CLazyMineIndex& m_mineIndex;
    std::string m_strDataFile;
    COziApi m_oziApi;

    CEdit m_editDataFile;
    float m_fSensitivity = 0.0f;
    BOOL m_bStopped = FALSE;
    HICON m_hIcon;

    BOOL DestroyWindow() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    const MessageMap* GetMessageMap() const override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnBrowse();
    void OnAbout();
    void OnExit();
    void OnStartStop();
    void OnLoadNewDataFile();
    // For the end-to-end tests: the counts of live property sheets and pages
    // (framework/live_objects.h).
    LRESULT OnQueryLiveSheetObjects();
    // File menu (export/).
    void OnExportPointFile();
    void OnExportMapPointFile();
    void OnExportArchive();
    void OnSaveImage();
    void OnExportGpx();
    void OnExportMapGpx();
    void OnExportKml();
    void OnExportMapKml();
    void OnExportWaypoints();
    void OnExportMapWaypoints();
    // Find menu: the "Find Mines" window in one of its modes (find/).
    void OnFindNear();
    void OnFindAlong();
    void OnFindMatching();

private:
    // A map click (ozilink/): shows the first mine within the sensitivity.
    void OnMapClick(double latitude, double longitude);
    // The sensitivity that a map click uses: the text of its box, read as the
    // lookup reads it.
    float LookupSensitivity() const;
    // Whether OziExplorer's current map shows the position (oziIsPositionOnMap
    // above 0): the test of the "for loaded map" commands.
    PositionFilter CurrentMapFilter() const;
    // A waypoint export of the File menu: all mines, or those `onMap` accepts.
    void ExportWaypoints(ExportKind kind, const PositionFilter& onMap);

    CFindMinesDlg m_findDlg;
    // The point of the last map click, which "Mines near the last click..."
    // starts from.
    std::optional<MapPoint> m_lastClick;
};
