#include "ozilink/start_ozi_win.h"

#include <windows.h>

#include <algorithm>

#include "ozilink/ozi_start_rules.h"
#include "text/system_error_text_win.h"
#include "text/wide_text_win.h"

namespace {

bool FileExists(const std::string& path) {
    return ::GetFileAttributesW(WideFromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// OziExplorer's executable from its registry entry; empty when the key, the
// value or a usable path is missing.
std::string RegisteredOziExePath() {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\OziExplorer", 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return {};
    }
    wchar_t buffer[kOziPathBufferSize];
    DWORD size = sizeof buffer;
    const LONG status =
        ::RegQueryValueExW(key, L"Path", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS) {
        return {};
    }
    const std::size_t places = std::min<std::size_t>(size / sizeof(wchar_t), kOziPathBufferSize);
    const std::string value = Utf8FromWide(std::wstring_view(buffer, places));
    // The buffer holds kOziPathBufferSize UTF-16 places; a character that
    // takes more bytes in UTF-8 than places in the buffer widens the limit
    // by as many bytes, so the rule counts the places.
    const std::size_t widened =
        kOziPathBufferSize + (value.size() - std::min(value.size(), places));
    const auto path = OziExePathFromRegistryValue(value, widened);
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
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (::CreateProcessW(WideFromUtf8(path).c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                         nullptr, &startup, &process)) {
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        return {true, {}};
    }
    return {false, "Error startin '" + path + "'\r\n" + SystemErrorText(::GetLastError())};
}
