#pragma once

#include "framework/application_win.h"
#include "geo/lazy_mine_index.h"
#include "minedata/mine_array.h"

// The program: runs the main dialog modally and ends when it closes. Owns
// the loaded mines for the whole life of the process, and the spatial index
// of them that the "Find Mines" window builds when it first needs it.
class CMineApp : public CWinApp {
public:
    // Takes the data file name from the command line and runs the main
    // dialog; always false, so the program then ends.
    BOOL InitInstance() override;

    CMineArray m_mines;
    // Reset by every load, so that it never indexes mines that are gone.
    CLazyMineIndex m_mineIndex{m_mines};
};

extern CMineApp theApp;
