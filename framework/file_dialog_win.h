#pragma once

// The common open and save dialogs over GetOpenFileNameA / GetSaveFileNameA,
// with file name buffers of MAX_PATH bytes.

#include <windows.h>

#include <commdlg.h>

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

    // IDOK when the user chose a file, IDCANCEL otherwise. When the dialog
    // fails for another reason than the user's cancel (a name too long for
    // the buffer, for one), the user is told so in a message box.
    INT_PTR DoModal();

    // The chosen file's full path.
    std::string GetPathName() const { return m_szFileName; }

    // Set lpstrTitle and the like before DoModal.
    OPENFILENAMEA m_ofn;

private:
    bool m_bOpenFileDialog;
    CWnd* m_pParentWnd;
    std::string m_strFilter;
    std::string m_strDefaultExt;
    char m_szFileName[MAX_PATH] = {};
    char m_szFileTitle[MAX_PATH] = {};
};
