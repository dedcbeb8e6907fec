#include "framework/dialog_win.h"

#include <algorithm>

#include "framework/application_win.h"
#include "framework/data_exchange_win.h"
#include "framework/modeless_registry_win.h"
#include "framework/top_level_error_win.h"

namespace {

// Messages whose result a dialog procedure returns itself instead of through
// DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
    switch (message) {
        case WM_INITDIALOG:
        case WM_CHARTOITEM:
        case WM_COMPAREITEM:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_QUERYDRAGICON:
        case WM_VKEYTOITEM:
            return true;
        default:
            return false;
    }
}

// Centres a dialog that its initialisation left where the template put it:
// over its owner when that is visible, else in the work area of the screen.
void CenterDialog(HWND hWnd) {
    if ((::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD) != 0) {
        return;
    }
    RECT area;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT around = area;
    HWND owner = ::GetWindow(hWnd, GW_OWNER);
    if (owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner)) {
        ::GetWindowRect(owner, &around);
    }
    RECT rect;
    ::GetWindowRect(hWnd, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    int x = (around.left + around.right - width) / 2;
    int y = (around.top + around.bottom - height) / 2;
    // Keep it on the screen.
    x = std::max(static_cast<int>(area.left), std::min(x, static_cast<int>(area.right) - width));
    y = std::max(static_cast<int>(area.top), std::min(y, static_cast<int>(area.bottom) - height));
    ::SetWindowPos(hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

INT_PTR CDialog::DoModal() {
    HWND owner = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr;
    if (owner == nullptr && AfxGetApp() != nullptr) {
        const CWnd* mainWnd = AfxGetApp()->m_pMainWnd;
        if (mainWnd != nullptr && mainWnd != this) {
            owner = mainWnd->m_hWnd;
        }
    }
    const bool disableOwner = owner != nullptr && ::IsWindowEnabled(owner);
    if (disableOwner) {
        ::EnableWindow(owner, FALSE);
    }

    m_bEndModal = false;
    m_nModalResult = -1;
    // The template is not visible: the window comes up after OnInitDialog.
    // A Unicode dialog: its controls keep any text set through the wide
    // functions, where an ANSI edit control would store it in the code page.
    HWND hWnd = ::CreateDialogParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nIDTemplate), owner,
                                     &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (hWnd == nullptr) {
        if (disableOwner) {
            ::EnableWindow(owner, TRUE);
        }
        return -1;
    }
    if (!m_bEndModal) {
        ::ShowWindow(hWnd, SW_SHOWNORMAL);
        ::UpdateWindow(hWnd);
    }

    MSG msg;
    while (!m_bEndModal) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // Leave the quit request to the loop outside this one.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got < 0) {
            break;
        }
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }

    // Enable the owner before hiding, so that activation returns to it.
    if (disableOwner) {
        ::EnableWindow(owner, TRUE);
    }
    if (m_hWnd != nullptr) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        if (owner != nullptr && ::GetActiveWindow() == m_hWnd) {
            ::SetActiveWindow(owner);
        }
    }
    DestroyWindow();
    return m_nModalResult;
}

bool CDialog::Create(HWND owner) {
    m_bModeless = true;
    HWND hWnd = ::CreateDialogParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nIDTemplate), owner,
                                     &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (hWnd == nullptr) {
        m_bModeless = false;
        return false;
    }
    RegisterModelessDialog(hWnd);
    ::ShowWindow(hWnd, SW_SHOWNORMAL);
    return true;
}

void CDialog::EndDialog(int result) {
    if (m_bModeless) {
        DestroyWindow();
        return;
    }
    m_nModalResult = result;
    m_bEndModal = true;
    if (m_hWnd != nullptr) {
        // Wakes the modal loop if it waits for a message.
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
    }
}

bool CDialog::UpdateData(bool saveAndValidate) {
    CDataExchange dx(*this, m_attachedControls, saveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CDataExchange::Failure&) {
        return false;
    }
    return true;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(false);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(true)) {
        EndDialog(IDOK);
    }
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    LRESULT ignored = 0;
    return DispatchToHandler(WM_COMMAND, wParam, lParam, ignored) ? TRUE : FALSE;
}

void CDialog::DoDataExchange(CDataExchange* /*pDX*/) {}

bool CDialog::PreTranslateMessage(MSG* msg) {
    if (PreTranslateModelessSheets(msg) || PreTranslateModelessDialogs(msg)) {
        return true;
    }
    return m_hWnd != nullptr && ::IsDialogMessageW(m_hWnd, msg);
}

const MessageMap* CDialog::GetMessageMap() const {
    static const MessageMapEntry entries[] = {
        OnCommandEntry<&CDialog::OnOK>(IDOK),
        OnCommandEntry<&CDialog::OnCancel>(IDCANCEL),
    };
    static const MessageMap map{CWnd::GetMessageMap(), entries};
    return &map;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* dialog = nullptr;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<CDialog*>(lParam);
        dialog->m_hWnd = hWnd;
        ::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
    } else {
        dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    }
    if (dialog == nullptr) {
        return FALSE;
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hWnd, DWLP_USER, 0);
        dialog->OnNcDestroy();
        return FALSE;
    }
    return HandleMessage(dialog, hWnd, message, wParam, lParam);
}

// Touches `dialog` only until its handler returns: a handler may destroy the
// window, and a self-owning dialog deletes itself in PostNcDestroy.
INT_PTR CDialog::HandleMessage(CDialog* dialog, HWND hWnd, UINT message, WPARAM wParam,
                               LPARAM lParam) noexcept {
    try {
        CMessageScope scope;
        LRESULT result = 0;
        bool handled = false;
        if (message == WM_INITDIALOG) {
            RECT before;
            ::GetWindowRect(hWnd, &before);
            result = dialog->OnInitDialog();
            handled = true;
            RECT after;
            if (::IsWindow(hWnd) && ::GetWindowRect(hWnd, &after) && SameRect(before, after)) {
                CenterDialog(hWnd);
            }
        } else if (message == WM_COMMAND) {
            handled = dialog->OnCommand(wParam, lParam) != FALSE;
        } else {
            handled = dialog->DispatchToHandler(message, wParam, lParam, result);
        }
        if (!handled || scope.DefaultRequested()) {
            return FALSE;
        }
        if (ReturnsResultDirectly(message)) {
            return static_cast<INT_PTR>(result);
        }
        ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    } catch (...) {
        ReportCurrentException(hWnd);
        // After a failed initialisation the system still sets the focus.
        return message == WM_INITDIALOG ? TRUE : FALSE;
    }
}

void CDialog::OnNcDestroy() noexcept {
    if (m_bModeless) {
        UnregisterModelessDialog(m_hWnd);
        m_bModeless = false;
    }
    m_hWnd = nullptr;
    for (CWnd* control : m_attachedControls) {
        control->Detach();
    }
    m_attachedControls.clear();
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
    }
    RunReportingErrors(nullptr, [this] { PostNcDestroy(); });
}
