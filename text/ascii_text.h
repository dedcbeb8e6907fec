#pragma once

// Letter case of 8-bit texts by ASCII rules alone: bytes above 0x7F, the code
// page's own letters, are compared as they are.

#include <cstddef>
#include <string_view>

inline char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Equal texts once A-Z are taken as a-z.
inline bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

// True when `part` stands anywhere in `text`, A-Z taken as a-z; an empty
// `part` stands everywhere.
inline bool ContainsIgnoringAsciiCase(std::string_view text, std::string_view part) {
    if (part.size() > text.size()) {
        return false;
    }
    for (std::size_t at = 0; at + part.size() <= text.size(); ++at) {
        if (EqualIgnoringAsciiCase(text.substr(at, part.size()), part)) {
            return true;
        }
    }
    return false;
}

// True when `text` ends in `suffix`, A-Z taken as a-z.
inline bool EndsWithIgnoringAsciiCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           EqualIgnoringAsciiCase(text.substr(text.size() - suffix.size()), suffix);
}
