#include "infosheet/info_sheet_win.h"

#include <memory>
#include <utility>

#include "infosheet/info_pages_win.h"
#include "res/resource.h"

CInfoSheet* g_pInfoSheet = nullptr;
CInfoPage1* g_pInfoPage1 = nullptr;
CInfoPage2* g_pInfoPage2 = nullptr;
CInfoPage3* g_pInfoPage3 = nullptr;
CInfoPage4* g_pInfoPage4 = nullptr;

namespace {

void CopyMineIntoSheetAndPages(const CMine& mine) {
    g_pInfoSheet->m_mine = mine;
    g_pInfoPage1->m_mine = mine;
    g_pInfoPage2->m_mine = mine;
    g_pInfoPage3->m_mine = mine;
    g_pInfoPage4->m_mine = mine;
}

// Deletes the four pages; their pointers go back to null.
void DeletePages() {
    delete std::exchange(g_pInfoPage1, nullptr);
    delete std::exchange(g_pInfoPage2, nullptr);
    delete std::exchange(g_pInfoPage3, nullptr);
    delete std::exchange(g_pInfoPage4, nullptr);
}

// For a sheet whose window never came to be.
void DeleteSheetAndPages() {
    DeletePages();
    delete std::exchange(g_pInfoSheet, nullptr);
}

// Makes the sheet and its pages and opens the window on the first page.
// False when the window could not be made; then nothing is left.
bool OpenSheet(const CMine& mine) {
    auto sheet = std::make_unique<CInfoSheet>("Mine Info", nullptr, 0);
    auto page1 = std::make_unique<CInfoPage1>();
    auto page2 = std::make_unique<CInfoPage2>();
    auto page3 = std::make_unique<CInfoPage3>();
    auto page4 = std::make_unique<CInfoPage4>();
    g_pInfoSheet = sheet.release();
    g_pInfoPage1 = page1.release();
    g_pInfoPage2 = page2.release();
    g_pInfoPage3 = page3.release();
    g_pInfoPage4 = page4.release();

    // No Help button.
    g_pInfoSheet->m_psh.dwFlags &= ~static_cast<DWORD>(PSH_HASHELP);
    g_pInfoPage1->m_psp.dwFlags &= ~static_cast<DWORD>(PSP_HASHELP);
    g_pInfoPage2->m_psp.dwFlags &= ~static_cast<DWORD>(PSP_HASHELP);
    g_pInfoPage3->m_psp.dwFlags &= ~static_cast<DWORD>(PSP_HASHELP);
    g_pInfoPage4->m_psp.dwFlags &= ~static_cast<DWORD>(PSP_HASHELP);

    bool created = false;
    try {
        CopyMineIntoSheetAndPages(mine);
        g_pInfoSheet->AddPage(g_pInfoPage1);
        g_pInfoSheet->AddPage(g_pInfoPage2);
        g_pInfoSheet->AddPage(g_pInfoPage3);
        g_pInfoSheet->AddPage(g_pInfoPage4);
        created = g_pInfoSheet->Create(nullptr, static_cast<DWORD>(-1), 0) != FALSE;
    } catch (...) {
        DeleteSheetAndPages();
        throw;
    }
    // A window that was made and destroyed again has freed everything.
    if (!created && g_pInfoSheet != nullptr) {
        DeleteSheetAndPages();
    }
    return created;
}

void RefreshSheet(const CMine& mine) {
    CopyMineIntoSheetAndPages(mine);
    // The first page's window exists while the sheet is open; the others
    // only once their tabs have been shown, and else fill themselves then.
    g_pInfoPage1->FillControls();
    if (g_pInfoPage2->GetSafeHwnd() != nullptr) {
        g_pInfoPage2->FillControls();
    }
    if (g_pInfoPage3->GetSafeHwnd() != nullptr) {
        g_pInfoPage3->FillControls();
    }
    if (g_pInfoPage4->GetSafeHwnd() != nullptr) {
        g_pInfoPage4->FillControls();
    }
}

}  // namespace

BOOL ShowMineInfo(const CMine& mine) {
    if (g_pInfoSheet == nullptr) {
        if (!OpenSheet(mine)) {
            return FALSE;
        }
    } else {
        RefreshSheet(mine);
    }
    // Without SWP_NOACTIVATE: every match brings the sheet to the front.
    return g_pInfoSheet->SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

BOOL CInfoSheet::OnInitDialog() {
    const BOOL result = CCustomSht::OnInitDialog();
    HWND apply = GetDlgItem(IDC_SHEET_APPLY);
    HWND ok = GetDlgItem(IDOK);
    if (apply != nullptr && ok != nullptr) {
        RECT rect;
        ::GetWindowRect(apply, &rect);
        ::DestroyWindow(apply);
        ::DestroyWindow(GetDlgItem(IDCANCEL));
        ScreenToClient(&rect);
        ::MoveWindow(ok, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    }
    return result;
}

BOOL CInfoSheet::OnCommand(WPARAM wParam, LPARAM /*lParam*/) {
    // "OK" or Enter. Nothing goes on to the system's sheet, so Escape's
    // Cancel command does nothing.
    if (wParam == IDOK) {
        DestroyWindow();
    }
    return TRUE;
}

void CInfoSheet::PostNcDestroy() {
    DeletePages();
    g_pInfoSheet = nullptr;
    delete this;
}
