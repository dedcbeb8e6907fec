#include "app/mine_app_win.h"

#include "app/mine_command_line.h"
#include "app/mine_dlg_win.h"

CMineApp theApp;

BOOL CMineApp::InitInstance() {
    CMineDlg dlg(m_mines, m_mineIndex);
    CMineCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    dlg.m_strDataFile = cmdInfo.DataFile();
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
