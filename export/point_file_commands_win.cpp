#include "export/file_menu_commands_win.h"
#include "framework/file_dialog_win.h"
#include "framework/wait_cursor_win.h"

void ExportPointFileCommand(CWnd& owner, const CMineArray& mines, const PositionFilter& onMap,
                            IMessageSink& sink) {
    CFileDialog dlg(false, "pnt", "point.pnt",
                    OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_LONGNAMES,
                    "Ozi Point files (*.pnt)|*.pnt|All Files (*.*)|*.*||", &owner);
    dlg.m_ofn.lpstrTitle = "Ozi Point File Name";
    if (dlg.DoModal() != IDOK) {
        return;
    }
    CWaitCursor wait;
    ExportPointFile(dlg.GetPathName(), mines, onMap, sink);
}
