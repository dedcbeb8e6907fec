#include "ozilink/start_ozi_win.h"

#include <windows.h>

#include <algorithm>

#include "ozilink/ozi_start_rules.h"
#include "text/system_error_text_win.h"

namespace {

bool FileExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
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

OziStartResult StartOziExplorerProcess() {
    std::string path = RegisteredOziExePath();
    if (path.empty()) {
        return {};
    }
    if (!FileExists(path)) {
        path = kOziExeName;
        if (!FileExists(path)) {
            return {};
        }
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (::CreateProcessA(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &process)) {
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        return {true, {}};
    }
    return {false, "Error startin '" + path + "'\r\n" + SystemErrorText(::GetLastError())};
}
