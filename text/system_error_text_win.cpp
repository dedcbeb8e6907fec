#include "text/system_error_text_win.h"

#include <windows.h>

#include "text/wide_text_win.h"

std::string SystemErrorText(unsigned long error) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPWSTR>(&text),
        0, nullptr);
    // UTF-8 like every other text of the program, whatever the system's language.
    std::string result;
    if (length != 0 && text != nullptr) {
        result = Utf8FromWide(std::wstring_view(text, length));
    }
    if (text != nullptr) {
        ::LocalFree(text);
    }
    return result;
}

std::string SystemErrorReason(unsigned long error) {
    std::string reason = SystemErrorText(error);
    // System texts end in ".\r\n"; the caller adds its own full stop.
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                               reason.back() == '.' || reason.back() == ' ')) {
        reason.pop_back();
    }
    if (reason.empty()) {
        reason = "system error " + std::to_string(error);
    }
    return reason;
}
