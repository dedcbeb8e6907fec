#include "points/text_point_reader.h"

#include <string_view>

#include "text/trim.h"

bool CTextPointReader::Next(QueryPoint& point) {
    while (m_lines.Next()) {
        point = QueryPoint{};
        point.number = m_lines.Number();
        const bool tooLong = m_lines.TooLong();
        const std::string_view line = Trim(m_lines.Line(), kLineBlanks);
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
        ReadPosition(Trim(line.substr(0, comma), kLineBlanks),
                     Trim(line.substr(comma + 1), kLineBlanks), point);
        return true;
    }
    return false;
}
