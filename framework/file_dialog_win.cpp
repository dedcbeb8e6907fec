#include "framework/file_dialog_win.h"

#include <cderr.h>

#include <cstdio>
#include <cstring>

#include "framework/application_win.h"
#include "framework/wnd_win.h"

namespace {

const char* FailureText(DWORD error, char* buffer, std::size_t size) {
    switch (error) {
        case FNERR_BUFFERTOOSMALL:
            return "The file name is too long.";
        case FNERR_INVALIDFILENAME:
            return "The file name is not valid.";
        default:
            std::snprintf(buffer, size, "The file dialog could not be shown (error 0x%04lX).",
                          static_cast<unsigned long>(error));
            return buffer;
    }
}

}  // namespace

CFileDialog::CFileDialog(bool openFileDialog, const char* defaultExt, const char* fileName,
                         DWORD flags, const char* filter, CWnd* parent)
    : m_ofn{}, m_bOpenFileDialog(openFileDialog), m_pParentWnd(parent) {
    if (filter != nullptr) {
        // '|' separates the entries; the system wants NUL characters and a
        // double NUL at the end.
        m_strFilter = filter;
        for (char& c : m_strFilter) {
            if (c == '|') {
                c = '\0';
            }
        }
        m_strFilter.push_back('\0');
    }
    if (defaultExt != nullptr) {
        m_strDefaultExt = defaultExt;
    }
    if (fileName != nullptr) {
        std::strncpy(m_szFileName, fileName, sizeof m_szFileName - 1);
    }
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.lpstrFilter = m_strFilter.empty() ? nullptr : m_strFilter.c_str();
    m_ofn.nFilterIndex = 0;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = sizeof m_szFileName;
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = sizeof m_szFileTitle;
    m_ofn.lpstrDefExt = defaultExt != nullptr ? m_strDefaultExt.c_str() : nullptr;
    m_ofn.Flags = flags | OFN_EXPLORER;
}

INT_PTR CFileDialog::DoModal() {
    CWnd* owner = m_pParentWnd;
    if (owner == nullptr && AfxGetApp() != nullptr) {
        owner = AfxGetApp()->m_pMainWnd;
    }
    m_ofn.hwndOwner = owner != nullptr ? owner->m_hWnd : nullptr;
    m_ofn.hInstance = AfxGetResourceHandle();
    const BOOL chosen = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    if (chosen) {
        return IDOK;
    }
    const DWORD error = ::CommDlgExtendedError();
    if (error != 0) {
        char buffer[96];
        ::MessageBoxA(m_ofn.hwndOwner, FailureText(error, buffer, sizeof buffer), AfxGetAppName(),
                      MB_OK | MB_ICONEXCLAMATION);
    }
    return IDCANCEL;
}
