#include "app/mine_app_win.h"
#include "app/mine_dlg_win.h"
#include "framework/file_dialog_win.h"
#include "framework/message_box_sink_win.h"
#include "framework/wait_cursor_win.h"
#include "minedata/mine_archive.h"

void CMineDlg::OnExportArchive() {
    CFileDialog dlg(false, "dat", "mrds.dat",
                    OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_LONGNAMES,
                    "Vemra data (*.dat)|*.dat|All Files (*.*)|*.*||", this);
    dlg.m_ofn.lpstrTitle = "Vemra Data File Name";
    if (dlg.DoModal() != IDOK) {
        return;
    }
    CWaitCursor wait;
    CMessageBoxSink sink(*this);
    WriteMineArchive(dlg.GetPathName(), theApp.m_mines, sink);
}
