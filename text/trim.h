#pragma once

// Trimming: a text without the blanks at its ends. Which bytes count as
// blanks is the caller's rule, named by one of the sets below.

#include <string_view>

inline constexpr std::string_view kSpaces = " ";
inline constexpr std::string_view kSpacesAndTabs = " \t";
// A line's blanks where a line may end in CR LF: space, tab and CR.
inline constexpr std::string_view kLineBlanks = " \t\r";
// XML's white space: space, tab, CR and LF.
inline constexpr std::string_view kXmlSpace = " \t\r\n";

// `text` without the bytes of `blanks` at its start.
inline std::string_view TrimStart(std::string_view text, std::string_view blanks) {
    const std::size_t begin = text.find_first_not_of(blanks);
    return text.substr(begin == std::string_view::npos ? text.size() : begin);
}

// `text` without the bytes of `blanks` at its end.
inline std::string_view TrimEnd(std::string_view text, std::string_view blanks) {
    const std::size_t last = text.find_last_not_of(blanks);
    return text.substr(0, last == std::string_view::npos ? 0 : last + 1);
}

// `text` without the bytes of `blanks` at either end.
inline std::string_view Trim(std::string_view text, std::string_view blanks) {
    return TrimEnd(TrimStart(text, blanks), blanks);
}

// The text without the spaces and tabs at either end.
inline std::string_view TrimSpacesAndTabs(std::string_view text) {
    return Trim(text, kSpacesAndTabs);
}
