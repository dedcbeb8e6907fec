#include "points/text_point_reader.h"

#include <string_view>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

bool CTextPointReader::Next(QueryPoint& point) {
    while (m_lines.Next()) {
        point = QueryPoint{};
        point.number = m_lines.Number();
        const bool tooLong = m_lines.TooLong();
        const std::string_view line = Trimmed(m_lines.Line());
        // A comment is skipped however long; a blank line only when it was
        // read whole, as the dropped rest may hold something.
        if ((line.empty() && !tooLong) || (!line.empty() && line.front() == '#')) {
            continue;
        }
        if (tooLong) {
            point.error = "line longer than " + std::to_string(kMaxLineBytes) + " bytes";
            return true;
        }
        if (line.find('\0') != std::string_view::npos) {
            point.error = "not a line of text (it holds a NUL byte)";
            return true;
        }
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos ||
            line.find(',', comma + 1) != std::string_view::npos) {
            point.error = "expected LAT,LON";
            return true;
        }
        ReadPosition(Trimmed(line.substr(0, comma)), Trimmed(line.substr(comma + 1)), point);
        return true;
    }
    return false;
}
