#include "export/file_menu_commands_win.h"
#include "framework/file_dialog_win.h"
#include "framework/wait_cursor_win.h"
#include "minedata/mine_archive.h"

void ExportArchiveCommand(CWnd& owner, const CMineArray& mines, IMessageSink& sink) {
    CFileDialog dlg(false, "dat", "mrds.dat",
                    OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_LONGNAMES,
                    "Vemra data (*.dat)|*.dat|All Files (*.*)|*.*||", &owner);
    dlg.m_ofn.lpstrTitle = "Vemra Data File Name";
    if (dlg.DoModal() != IDOK) {
        return;
    }
    CWaitCursor wait;
    WriteMineArchive(dlg.GetPathName(), mines, sink);
}
