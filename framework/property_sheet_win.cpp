#include "framework/property_sheet_win.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <utility>

#include "framework/application_win.h"
#include "framework/fit_labels_win.h"
#include "framework/live_objects.h"
#include "framework/modeless_registry_win.h"
#include "framework/top_level_error_win.h"
#include "text/wide_text_win.h"

namespace {

// The window property that leads from a sheet's window to its object.
constexpr wchar_t kSheetProperty[] = L"Vemra.CPropertySheet";

// Single-threaded like all the windows of the program: a count per class.
int g_nLiveSheets = 0;
int g_nLivePages = 0;

// The sheet that Create is making on this thread, and the hook that finds
// its window.
thread_local CPropertySheet* t_pSheetInCreation = nullptr;
thread_local HHOOK t_hCreationHook = nullptr;

constexpr DWORD kModelessStyle =
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK;

bool IsDialogFrame(HWND hWnd, const CREATESTRUCTW& create) {
    if ((create.style & WS_CHILD) != 0) {
        return false;
    }
    wchar_t className[16] = {};
    ::GetClassNameW(hWnd, className, static_cast<int>(std::size(className)));
    return std::wstring_view(className) == L"#32770";
}

}  // namespace

CPropertyPage::CPropertyPage(UINT templateId) : CDialog(templateId) {
    m_psp.dwSize = sizeof m_psp;
    m_psp.dwFlags = PSP_DEFAULT | PSP_HASHELP;
    m_psp.hInstance = AfxGetResourceHandle();
    m_psp.pszTemplate = MAKEINTRESOURCEW(templateId);
    m_psp.pfnDlgProc = &CPropertyPage::PageProc;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
    ++g_nLivePages;
}

CPropertyPage::~CPropertyPage() {
    --g_nLivePages;
}

int CPropertyPage::LiveCount() {
    return g_nLivePages;
}

BOOL CPropertyPage::OnInitDialog() {
    const BOOL result = CDialog::OnInitDialog();
    FitLabels(m_hWnd);
    return result;
}

INT_PTR CALLBACK CPropertyPage::PageProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        lParam = reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam;
    }
    return DialogProc(hWnd, message, wParam, lParam);
}

CPropertySheet::CPropertySheet(const char* caption, CWnd* parent, UINT selectPage)
    : m_strCaption(caption != nullptr ? WideFromUtf8(caption) : std::wstring()),
      m_pParentWnd(parent) {
    m_psh.dwSize = sizeof m_psh;
    m_psh.dwFlags = PSH_HASHELP;
    m_psh.nStartPage = selectPage;
    ++g_nLiveSheets;
}

CPropertySheet::~CPropertySheet() {
    --g_nLiveSheets;
}

int CPropertySheet::LiveCount() {
    return g_nLiveSheets;
}

void CPropertySheet::AddPage(CPropertyPage* page) {
    m_pages.push_back(page);
}

BOOL CPropertySheet::Create(CWnd* parent, DWORD style, DWORD exStyle) {
    if (m_hWnd != nullptr || m_pages.empty() || t_pSheetInCreation != nullptr) {
        return FALSE;
    }
    if (parent == nullptr) {
        parent = m_pParentWnd;
    }
    if (style == static_cast<DWORD>(-1)) {
        style = kModelessStyle;
        if ((m_psh.dwFlags & PSH_HASHELP) != 0) {
            style |= DS_CONTEXTHELP;
        }
    }
    m_dwCreateStyle = style;
    m_dwCreateExStyle = exStyle;

    // The system copies the pages' descriptions; the array may go after.
    std::vector<PROPSHEETPAGEW> pages;
    pages.reserve(m_pages.size());
    for (const CPropertyPage* page : m_pages) {
        pages.push_back(page->m_psp);
    }
    m_psh.dwFlags |= PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_USECALLBACK;
    m_psh.dwFlags &= ~static_cast<DWORD>(PSH_WIZARD);
    m_psh.hwndParent = parent != nullptr ? parent->m_hWnd : nullptr;
    m_psh.hInstance = AfxGetResourceHandle();
    m_psh.pszCaption = m_strCaption.c_str();
    m_psh.nPages = static_cast<UINT>(pages.size());
    m_psh.nStartPage = std::min(m_psh.nStartPage, m_psh.nPages - 1);
    m_psh.ppsp = pages.data();
    m_psh.pfnCallback = &CPropertySheet::SheetCallback;
    m_bModeless = true;
    m_bInitialised = false;

    t_pSheetInCreation = this;
    t_hCreationHook =
        ::SetWindowsHookExW(WH_CBT, &CPropertySheet::CreationHook, nullptr, ::GetCurrentThreadId());
    INT_PTR created = -1;
    if (t_hCreationHook != nullptr) {
        // A Unicode sheet and pages, so that their controls keep any text.
        created = ::PropertySheetW(&m_psh);
    }
    // The hook lets go once it has found the window; not when creation
    // failed before making one.
    if (t_hCreationHook != nullptr) {
        ::UnhookWindowsHookEx(t_hCreationHook);
        t_hCreationHook = nullptr;
    }
    const bool subclassed = t_pSheetInCreation == nullptr;
    t_pSheetInCreation = nullptr;

    HWND hWnd = created > 0 ? reinterpret_cast<HWND>(created) : nullptr;
    if (hWnd == nullptr || !::IsWindow(hWnd) || !subclassed) {
        if (hWnd != nullptr && ::IsWindow(hWnd)) {
            ::DestroyWindow(hWnd);
        }
        return FALSE;
    }
    m_psh.ppsp = nullptr;
    m_psh.nPages = 0;
    RegisterModelessSheet(hWnd);
    return TRUE;
}

void CPropertySheet::Subclass(HWND hWnd) {
    m_hWnd = hWnd;
    ::SetPropW(hWnd, kSheetProperty, this);
    m_pfnSuper = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
        hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CPropertySheet::SheetWndProc)));
}

// The first dialog frame created while Create runs is the sheet's window: it
// is subclassed before it gets its first message.
LRESULT CALLBACK CPropertySheet::CreationHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_pSheetInCreation != nullptr) {
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
        if (create->lpcs != nullptr && IsDialogFrame(hWnd, *create->lpcs)) {
            std::exchange(t_pSheetInCreation, nullptr)->Subclass(hWnd);
            const HHOOK hook = std::exchange(t_hCreationHook, nullptr);
            const LRESULT result = ::CallNextHookEx(hook, code, wParam, lParam);
            ::UnhookWindowsHookEx(hook);
            return result;
        }
    }
    return ::CallNextHookEx(t_hCreationHook, code, wParam, lParam);
}

// Puts the style that Create was given into the system's sheet template.
int CALLBACK CPropertySheet::SheetCallback(HWND /*hWnd*/, UINT message, LPARAM lParam) {
    if (message != PSCB_PRECREATE || lParam == 0 || t_pSheetInCreation == nullptr) {
        return 0;
    }
    const CPropertySheet& sheet = *t_pSheetInCreation;
    auto* words = reinterpret_cast<WORD*>(lParam);
    // DLGTEMPLATEEX: dlgVer 1, signature 0xFFFF, helpID, exStyle, style.
    const bool extended = words[0] == 1 && words[1] == 0xFFFF;
    auto* exStyle = reinterpret_cast<DWORD*>(lParam + (extended ? 8 : 4));
    auto* style = reinterpret_cast<DWORD*>(lParam + (extended ? 12 : 0));
    // DS_SETFONT says whether the template holds a font: it must stay.
    *style = (sheet.m_dwCreateStyle & ~static_cast<DWORD>(DS_SETFONT)) | (*style & DS_SETFONT);
    *exStyle |= sheet.m_dwCreateExStyle;
    return 0;
}

LRESULT CALLBACK CPropertySheet::SheetWndProc(HWND hWnd, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    auto* sheet = static_cast<CPropertySheet*>(::GetPropW(hWnd, kSheetProperty));
    if (sheet == nullptr) {
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    }
    const WNDPROC super = sheet->m_pfnSuper;
    switch (message) {
        case WM_INITDIALOG: {
            sheet->m_bSystemInit =
                ::CallWindowProcW(super, hWnd, message, wParam, lParam) != 0 ? TRUE : FALSE;
            BOOL result = sheet->m_bSystemInit;
            RunReportingErrors(hWnd, [&] { result = sheet->OnInitDialog(); });
            sheet->m_bInitialised = true;
            return result;
        }
        case WM_COMMAND: {
            // A handler may destroy the sheet, and with it the object.
            BOOL handled = FALSE;
            RunReportingErrors(hWnd, [&] { handled = sheet->OnCommand(wParam, lParam); });
            if (handled) {
                return 0;
            }
            const LRESULT result = ::CallWindowProcW(super, hWnd, message, wParam, lParam);
            sheet->DestroyIfClosed();
            return result;
        }
        case WM_SYSCOMMAND:
            // The close box of a modeless sheet destroys it.
            if ((wParam & 0xFFF0) == SC_CLOSE && sheet->m_bModeless) {
                ::DestroyWindow(hWnd);
                return 0;
            }
            break;
        case WM_NCDESTROY: {
            const LRESULT result = ::CallWindowProcW(super, hWnd, message, wParam, lParam);
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(super));
            ::RemovePropW(hWnd, kSheetProperty);
            UnregisterModelessSheet(hWnd);
            sheet->m_hWnd = nullptr;
            RunReportingErrors(nullptr, [sheet] { sheet->PostNcDestroy(); });
            return result;
        }
        default:
            break;
    }
    return ::CallWindowProcW(super, hWnd, message, wParam, lParam);
}

BOOL CPropertySheet::OnInitDialog() {
    if (m_bModeless) {
        HideButtonRow();
    }
    return m_bSystemInit;
}

BOOL CPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam) {
    LRESULT ignored = 0;
    return DispatchToHandler(WM_COMMAND, wParam, lParam, ignored) ? TRUE : FALSE;
}

void CPropertySheet::HideButtonRow() {
    static constexpr int kButtons[] = {IDOK, IDCANCEL, kApplyButtonId, IDHELP};
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    LONG rowTop = client.bottom;
    for (const int id : kButtons) {
        HWND button = GetDlgItem(id);
        if (button == nullptr) {
            continue;
        }
        RECT rect;
        ::GetWindowRect(button, &rect);
        ScreenToClient(&rect);
        rowTop = std::min(rowTop, rect.top);
        ::ShowWindow(button, SW_HIDE);
        ::EnableWindow(button, FALSE);
    }
    RECT window;
    GetWindowRect(&window);
    // Cut from the buttons' top edge down: the gap above them stays as the
    // margin below the tabs.
    const LONG cut = client.bottom - rowTop;
    SetWindowPos(nullptr, 0, 0, window.right - window.left, window.bottom - window.top - cut,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPropertySheet::DestroyIfClosed() {
    if (m_bModeless && m_bInitialised && m_hWnd != nullptr &&
        PropSheet_GetCurrentPageHwnd(m_hWnd) == nullptr) {
        ::DestroyWindow(m_hWnd);
    }
}

UINT LiveSheetObjectsMessage() {
    static const UINT message = ::RegisterWindowMessageA(kLiveSheetObjectsMessage);
    return message;
}

LRESULT LiveSheetObjectsReply() {
    return EncodeLiveObjects(CPropertySheet::LiveCount(), CPropertyPage::LiveCount());
}
