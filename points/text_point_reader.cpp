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

bool CTextPointReader::ReadLine(bool& tooLong) {
    m_line.clear();
    tooLong = false;
    std::streambuf* buffer = m_input.rdbuf();
    if (buffer == nullptr) {
        return false;
    }
    using Traits = std::streambuf::traits_type;
    Traits::int_type c = buffer->sbumpc();
    if (Traits::eq_int_type(c, Traits::eof())) {
        return false;
    }
    for (; !Traits::eq_int_type(c, Traits::eof()); c = buffer->sbumpc()) {
        const char byte = Traits::to_char_type(c);
        if (byte == '\n') {
            break;
        }
        if (m_line.size() < kMaxLineBytes) {
            m_line.push_back(byte);
        } else {
            tooLong = true;
        }
    }
    ++m_nLineNumber;
    return true;
}

bool CTextPointReader::Next(QueryPoint& point) {
    bool tooLong = false;
    while (ReadLine(tooLong)) {
        point = QueryPoint{};
        point.number = m_nLineNumber;
        const std::string_view line = Trimmed(m_line);
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
