#pragma once

#include <string>
#include <vector>

// The splitting rules of CCsvLine written the straightforward way: take a
// field off the front of a copy of the rest of the line, again and again.
// Quadratic, but obviously right; the splitter must give the same fields.
inline std::vector<std::string> ReferenceSplit(const std::string& line, char separator,
                                               char quote) {
    std::vector<std::string> fields;
    if (separator == '\0') {
        return {line};
    }
    const bool trailingEmpty = line.empty() || line.back() == separator;
    std::string rest = line;
    while (!rest.empty()) {
        const std::size_t pos = rest.find(separator);
        if (pos == std::string::npos) {
            fields.push_back(rest);
            rest.clear();
        } else if (quote == '\0' || rest[0] != quote) {
            fields.push_back(rest.substr(0, pos));
            rest = rest.substr(pos + 1);
        } else {
            std::size_t i = 0;
            bool inside = true;
            bool complete = false;
            std::string field;
            for (;;) {
                const char ch = rest[i];
                if (inside) {
                    field += ch;
                    ++i;
                    if (ch == quote && i > 1) {
                        if (i < rest.size() && rest[i] == quote) {
                            field += rest[i];
                            ++i;
                        } else {
                            inside = false;
                        }
                    }
                } else if (ch == separator) {
                    complete = true;
                } else {
                    field += ch;
                    ++i;
                }
                if (i == rest.size()) {
                    rest.clear();
                    break;
                }
                if (complete) {
                    rest = rest.substr(i + 1);
                    break;
                }
            }
            fields.push_back(field);
        }
    }
    if (trailingEmpty) {
        fields.emplace_back();
    }
    return fields;
}
