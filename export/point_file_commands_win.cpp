#include "app/mine_app_win.h"
#include "app/mine_dlg_win.h"
#include "export/point_file.h"
#include "framework/file_dialog_win.h"
#include "framework/message_box_sink_win.h"
#include "framework/wait_cursor_win.h"

void CMineDlg::OnExportPointFile() {
    ExportPointFileCommand(false);
}

void CMineDlg::OnExportMapPointFile() {
    ExportPointFileCommand(true);
}

// Asks for the file name, then writes all mines, or only those that lie on
// the map OziExplorer shows.
void CMineDlg::ExportPointFileCommand(bool onlyOnMap) {
    CFileDialog dlg(false, "pnt", "point.pnt",
                    OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_LONGNAMES,
                    "Ozi Point files (*.pnt)|*.pnt|All Files (*.*)|*.*||", this);
    dlg.m_ofn.lpstrTitle = "Ozi Point File Name";
    if (dlg.DoModal() != IDOK) {
        return;
    }
    PositionFilter onMap;
    if (onlyOnMap) {
        onMap = [this](double latitude, double longitude) {
            return oziIsPositionOnMap(latitude, longitude) > 0;
        };
    }
    CWaitCursor wait;
    CMessageBoxSink sink(*this);
    ExportPointFile(dlg.GetPathName(), theApp.m_mines, onMap, sink);
}
