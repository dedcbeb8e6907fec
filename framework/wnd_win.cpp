#include "framework/wnd_win.h"

#include <vector>

#include "framework/application_win.h"
#include "text/wide_text_win.h"

namespace {

thread_local CMessageScope* t_pCurrentScope = nullptr;

std::string TextOfWindow(HWND hWnd) {
    const int length = ::GetWindowTextLengthW(hWnd);
    if (length <= 0) {
        return {};
    }
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
    const int copied = ::GetWindowTextW(hWnd, buffer.data(), length + 1);
    return Utf8FromWide(
        std::wstring_view(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0));
}

}  // namespace

CMessageScope::CMessageScope() : m_pOuter(t_pCurrentScope) {
    t_pCurrentScope = this;
}

CMessageScope::~CMessageScope() {
    t_pCurrentScope = m_pOuter;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr) {
        return FALSE;
    }
    return ::DestroyWindow(m_hWnd);
}

std::string CWnd::GetWindowText() const {
    return TextOfWindow(m_hWnd);
}

void CWnd::SetWindowText(std::string_view text) {
    ::SetWindowTextW(m_hWnd, WideFromText(text).c_str());
}

std::string CWnd::GetDlgItemText(int id) const {
    return TextOfWindow(GetDlgItem(id));
}

void CWnd::SetDlgItemText(int id, std::string_view text) {
    ::SetDlgItemTextW(m_hWnd, id, WideFromText(text).c_str());
}

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
    return reinterpret_cast<HICON>(::SendMessageA(
        m_hWnd, WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

int CWnd::MessageBox(std::string_view text, const char* caption, UINT type) const {
    return ::MessageBoxW(m_hWnd, WideFromText(text).c_str(),
                         WideFromText(caption != nullptr ? caption : AfxGetAppName()).c_str(),
                         type);
}

const MessageMap* CWnd::GetMessageMap() const {
    static const MessageMap map{nullptr, {}};
    return &map;
}

bool CWnd::DispatchToHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    for (const MessageMap* map = GetMessageMap(); map != nullptr; map = map->base) {
        for (const MessageMapEntry& entry : map->entries) {
            if (entry.message != message) {
                continue;
            }
            if (message == WM_COMMAND && (entry.id != id || entry.code != code)) {
                continue;
            }
            result = entry.invoke(*this, wParam, lParam);
            return true;
        }
    }
    return false;
}

void CWnd::Default() {
    if (t_pCurrentScope != nullptr) {
        t_pCurrentScope->m_bDefault = true;
    }
}
