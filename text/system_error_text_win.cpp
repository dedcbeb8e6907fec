#include "text/system_error_text_win.h"

#include <windows.h>

std::string SystemErrorText(unsigned long error) {
    char* text = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&text),
        0, nullptr);
    std::string result;
    if (length != 0 && text != nullptr) {
        result.assign(text, length);
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
