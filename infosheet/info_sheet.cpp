#include "infosheet/info_sheet.h"

#include <string>

#include "framework/win_app.h"
#include "res/resource.h"

// A plain window with the mine's name, until the property sheet with its
// four pages takes its place.

namespace {

constexpr char kWindowClass[] = "VemraMineInfo";

HWND g_hInfoWnd = nullptr;

LRESULT CALLBACK InfoWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY && hWnd == g_hInfoWnd) {
        g_hInfoWnd = nullptr;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

bool RegisterInfoClass(HINSTANCE instance) {
    WNDCLASSA wc{};
    if (::GetClassInfoA(instance, kWindowClass, &wc)) {
        return true;
    }
    wc.lpfnWndProc = &InfoWndProc;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWindowClass;
    return ::RegisterClassA(&wc) != 0;
}

HWND CreateInfoWindow() {
    HINSTANCE instance = AfxGetResourceHandle();
    if (!RegisterInfoClass(instance)) {
        return nullptr;
    }
    HWND hWnd = ::CreateWindowExA(WS_EX_TOPMOST | WS_EX_DLGMODALFRAME, kWindowClass, "Mine Info",
                                  WS_POPUP | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
                                  360, 110, nullptr, nullptr, instance, nullptr);
    if (hWnd == nullptr) {
        return nullptr;
    }
    HWND name = ::CreateWindowExA(
        0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 16, 20, 320, 40, hWnd,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_MAIN_NAME)), instance, nullptr);
    ::SendMessageA(name, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)),
                   FALSE);
    return hWnd;
}

}  // namespace

BOOL ShowMineInfo(const CMine& mine) {
    if (g_hInfoWnd == nullptr) {
        g_hInfoWnd = CreateInfoWindow();
        if (g_hInfoWnd == nullptr) {
            return FALSE;
        }
    }
    const std::string name = mine.m_strSiteName.Str();
    ::SetDlgItemTextA(g_hInfoWnd, IDC_MAIN_NAME, name.c_str());
    ::ShowWindow(g_hInfoWnd, SW_SHOW);
    return ::SetWindowPos(g_hInfoWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}
