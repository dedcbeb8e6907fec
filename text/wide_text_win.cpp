#include "text/wide_text_win.h"

#include <windows.h>

#include <shellapi.h>

#include <climits>

#include "text/text_encoding.h"

std::wstring WideFromUtf8(std::string_view text) {
    if (text.empty() || text.size() > INT_MAX) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int wideLength = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideLength > 0 ? wideLength : 0), L'\0');
    if (wideLength > 0) {
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), wideLength);
    }
    return wide;
}

std::string Utf8FromWide(std::wstring_view text) {
    if (text.empty() || text.size() > INT_MAX) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int utf8Length =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(utf8Length > 0 ? utf8Length : 0), '\0');
    if (utf8Length > 0) {
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, utf8.data(), utf8Length, nullptr,
                              nullptr);
    }
    return utf8;
}

std::wstring WideFromText(std::string_view text) {
    return WideFromUtf8(DataTextToUtf8(text));
}

std::vector<std::string> Utf8CommandLineArguments() {
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) {
        return arguments;
    }
    arguments.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        arguments.push_back(Utf8FromWide(wide[i]));
    }
    ::LocalFree(wide);
    return arguments;
}
