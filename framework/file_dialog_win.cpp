#include "framework/file_dialog_win.h"

#include <cderr.h>

#include <algorithm>
#include <cstdio>

#include "framework/application_win.h"
#include "framework/wnd_win.h"
#include "text/wide_text_win.h"

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
        m_strFilter = WideFromUtf8(filter);
        std::replace(m_strFilter.begin(), m_strFilter.end(), L'|', L'\0');
        m_strFilter.push_back(L'\0');
    }
    if (defaultExt != nullptr) {
        m_strDefaultExt = WideFromUtf8(defaultExt);
    }
    if (fileName != nullptr) {
        const std::wstring name = WideFromUtf8(fileName);
        name.copy(m_szFileName, std::min<std::size_t>(name.size(), MAX_PATH - 1));
    }
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.lpstrFilter = m_strFilter.empty() ? nullptr : m_strFilter.c_str();
    m_ofn.nFilterIndex = 0;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = MAX_PATH;
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = MAX_PATH;
    m_ofn.lpstrDefExt = defaultExt != nullptr ? m_strDefaultExt.c_str() : nullptr;
    m_ofn.Flags = flags | OFN_EXPLORER;
}

void CFileDialog::SetTitle(const char* title) {
    m_strTitle = title != nullptr ? WideFromUtf8(title) : std::wstring();
    m_ofn.lpstrTitle = title != nullptr ? m_strTitle.c_str() : nullptr;
}

INT_PTR CFileDialog::DoModal() {
    CWnd* owner = m_pParentWnd;
    if (owner == nullptr && AfxGetApp() != nullptr) {
        owner = AfxGetApp()->m_pMainWnd;
    }
    m_ofn.hwndOwner = owner != nullptr ? owner->m_hWnd : nullptr;
    m_ofn.hInstance = AfxGetResourceHandle();
    const BOOL chosen = m_bOpenFileDialog ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
    if (chosen) {
        return IDOK;
    }
    const DWORD error = ::CommDlgExtendedError();
    if (error != 0) {
        char buffer[96];
        ::MessageBoxW(m_ofn.hwndOwner,
                      WideFromUtf8(FailureText(error, buffer, sizeof buffer)).c_str(),
                      WideFromUtf8(AfxGetAppName()).c_str(), MB_OK | MB_ICONEXCLAMATION);
    }
    return IDCANCEL;
}

std::string CFileDialog::GetPathName() const {
    return Utf8FromWide(m_szFileName);
}

std::optional<std::string> AskSaveFileName(CWnd& owner, const char* defaultExt,
                                           const char* defaultName, const char* filter,
                                           const char* title) {
    CFileDialog dlg(false, defaultExt, defaultName,
                    OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_LONGNAMES, filter,
                    &owner);
    dlg.SetTitle(title);
    if (dlg.DoModal() != IDOK) {
        return std::nullopt;
    }
    return dlg.GetPathName();
}
