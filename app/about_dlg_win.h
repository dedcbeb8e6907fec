#pragma once

#include "framework/dialog_win.h"

// The about box: the program's icon, name and version.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();
};
