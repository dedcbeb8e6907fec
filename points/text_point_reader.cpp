#include "points/text_point_reader.h"

#include <string_view>

#include "text/trim.h"

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
        const std::string_view line = Trim(m_line, kLineBlanks);
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
