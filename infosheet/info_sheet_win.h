#pragma once

#include <windows.h>

#include "infosheet/custom_sheet_win.h"
#include "minedata/mine.h"

class CInfoPage1;
class CInfoPage2;
class CInfoPage3;
class CInfoPage4;

// Shows `mine` in the modeless, always-on-top "Mine Info" sheet: opens it on
// the first call, refreshes it on later ones (the selected tab stays; pages
// not yet shown fill themselves when first selected). A copy of the mine is
// kept; nothing refers back to the caller's record. The sheet is brought to
// the front and activated every time. Returns the success of the topmost
// placement.
BOOL ShowMineInfo(const CMine& mine);

// The "Mine Info" sheet: one "OK" button where Apply stood, which closes it
// (so does Enter); Escape does nothing. Closing the window in any way
// deletes the sheet and its four pages.
class CInfoSheet : public CCustomSht {
public:
    CInfoSheet(const char* caption, CWnd* parent = nullptr, UINT selectPage = 0)
        : CCustomSht(caption, parent, selectPage) {}
    ~CInfoSheet() override = default;

    // The mine on show; the pages keep copies of their own.
    CMine m_mine;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;
    BOOL OnInitDialog() override;
};

// The open sheet and its pages; g_pInfoSheet is null when no sheet is open,
// and the page pointers are read only while it is set.
extern CInfoSheet* g_pInfoSheet;
extern CInfoPage1* g_pInfoPage1;
extern CInfoPage2* g_pInfoPage2;
extern CInfoPage3* g_pInfoPage3;
extern CInfoPage4* g_pInfoPage4;
