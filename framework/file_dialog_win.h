#pragma once

// The common open and save dialogs over GetOpenFileNameW / GetSaveFileNameW,
// with file name buffers of MAX_PATH characters. Every text in and out is
// UTF-8; the dialogs themselves work in UTF-16, so any file name works.

#include <windows.h>

#include <commdlg.h>

#include <optional>
#include <string>

class CWnd;

class CFileDialog {
public:
    // `filter`: pairs of description and pattern separated by '|', ending
    // in "||", e.g. "Text (*.txt)|*.txt|All Files (*.*)|*.*||". `defaultExt`
    // and `fileName` may be null. OFN_EXPLORER is always added to `flags`.
    // `parent` null: the application's main window owns the dialog.
    CFileDialog(bool openFileDialog, const char* defaultExt, const char* fileName, DWORD flags,
                const char* filter, CWnd* parent = nullptr);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // The dialog's caption, set before DoModal.
    void SetTitle(const char* title);

    // IDOK when the user chose a file, IDCANCEL otherwise. When the dialog
    // fails for another reason than the user's cancel (a name too long for
    // the buffer, for one), the user is told so in a message box.
    INT_PTR DoModal();

    // The chosen file's full path.
    std::string GetPathName() const;

    // Set other fields (flags and the like) before DoModal.
    OPENFILENAMEW m_ofn;

private:
    bool m_bOpenFileDialog;
    CWnd* m_pParentWnd;
    std::wstring m_strFilter;
    std::wstring m_strDefaultExt;
    std::wstring m_strTitle;
    wchar_t m_szFileName[MAX_PATH] = {};
    wchar_t m_szFileTitle[MAX_PATH] = {};
};

// The file name chosen in a save dialog owned by `owner`, which asks before
// overwriting; nothing when the user cancels. `defaultName` may be null.
std::optional<std::string> AskSaveFileName(CWnd& owner, const char* defaultExt,
                                           const char* defaultName, const char* filter,
                                           const char* title);
