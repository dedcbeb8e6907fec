#include "framework/modeless_registry_win.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace {

std::vector<HWND>& Sheets() {
    thread_local std::vector<HWND> sheets;
    return sheets;
}

std::vector<HWND>& Dialogs() {
    thread_local std::vector<HWND> dialogs;
    return dialogs;
}

}  // namespace

void RegisterModelessSheet(HWND sheet) {
    std::vector<HWND>& sheets = Sheets();
    if (sheet != nullptr && std::find(sheets.begin(), sheets.end(), sheet) == sheets.end()) {
        sheets.push_back(sheet);
    }
}

void UnregisterModelessSheet(HWND sheet) {
    std::vector<HWND>& sheets = Sheets();
    sheets.erase(std::remove(sheets.begin(), sheets.end(), sheet), sheets.end());
}

bool PreTranslateModelessSheets(MSG* msg) {
    // A copy: destroying a sheet may run code that changes the list.
    const std::vector<HWND> sheets = Sheets();
    for (HWND sheet : sheets) {
        if (!::IsWindow(sheet)) {
            UnregisterModelessSheet(sheet);
            continue;
        }
        const bool taken = PropSheet_IsDialogMessage(sheet, msg) != FALSE;
        if (PropSheet_GetCurrentPageHwnd(sheet) == nullptr) {
            UnregisterModelessSheet(sheet);
            ::DestroyWindow(sheet);
        }
        if (taken) {
            return true;
        }
    }
    return false;
}

void RegisterModelessDialog(HWND dialog) {
    std::vector<HWND>& dialogs = Dialogs();
    if (dialog != nullptr && std::find(dialogs.begin(), dialogs.end(), dialog) == dialogs.end()) {
        dialogs.push_back(dialog);
    }
}

void UnregisterModelessDialog(HWND dialog) {
    std::vector<HWND>& dialogs = Dialogs();
    dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), dialog), dialogs.end());
}

bool PreTranslateModelessDialogs(MSG* msg) {
    const std::vector<HWND> dialogs = Dialogs();
    for (HWND dialog : dialogs) {
        if (msg->hwnd != dialog && !::IsChild(dialog, msg->hwnd)) {
            continue;
        }
        return ::IsDialogMessageW(dialog, msg) != FALSE;
    }
    return false;
}
