#include <algorithm>
#include <memory>
#include <string>

#include "app/mine_dlg_win.h"
#include "framework/wait_cursor_win.h"
#include "ozilink/ozi_start_rules.h"

namespace {

bool FileExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

struct LocalFreeDeleter {
    void operator()(char* text) const { ::LocalFree(text); }
};

// The system's text for `error`, in the user's default language.
std::unique_ptr<char, LocalFreeDeleter> SystemErrorText(DWORD error) {
    char* text = nullptr;
    ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&text),
        0, nullptr);
    return std::unique_ptr<char, LocalFreeDeleter>(text);
}

// OziExplorer's executable from its registry entry; empty when the key, the
// value or a usable path is missing.
std::string RegisteredOziExePath() {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\OziExplorer", 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return {};
    }
    char buffer[kOziPathBufferSize];
    DWORD size = sizeof buffer;
    const LONG status =
        ::RegQueryValueExA(key, "Path", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS) {
        return {};
    }
    const auto path = OziExePathFromRegistryValue(
        std::string_view(buffer, std::min<std::size_t>(size, sizeof buffer)));
    return path ? *path : std::string();
}

}  // namespace

int CMineDlg::StartOziExplorer() {
    std::string path = RegisteredOziExePath();
    if (path.empty()) {
        return 0;
    }
    if (!FileExists(path)) {
        path = kOziExeName;
        if (!FileExists(path)) {
            return 0;
        }
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (::CreateProcessA(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &process)) {
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        return 1;
    }
    const auto reason = SystemErrorText(::GetLastError());
    const std::string text =
        "Error startin '" + path + "'\r\n" + (reason != nullptr ? reason.get() : "");
    MessageBox(text.c_str(), "Vemra");
    return 0;
}

bool CMineDlg::EnsureOziExplorerRunning() {
    if (oziFindOzi() >= 0) {
        return true;
    }
    if (MessageBox("Can't find OziExplorer.\n\nAttempt to start it?", "Warning", MB_YESNO) !=
        IDYES) {
        return false;
    }
    if (StartOziExplorer() == 0) {
        MessageBox(
            "Can't start OziExplorer. Please try to\nstart it manually, then try this utility "
            "again",
            "WARNING");
        return false;
    }
    // Not found after all attempts: go on all the same.
    CWaitCursor wait;
    WaitForOziExplorer([this] { return oziFindOzi(); },
                       [](unsigned milliseconds) { ::Sleep(milliseconds); });
    return true;
}
