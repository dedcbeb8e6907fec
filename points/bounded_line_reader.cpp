#include "points/bounded_line_reader.h"

bool CBoundedLineReader::Next() {
    m_line.clear();
    m_bTooLong = false;
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
        if (m_line.size() < m_nMaxLineBytes) {
            m_line.push_back(byte);
        } else {
            m_bTooLong = true;
        }
    }
    ++m_nNumber;
    return true;
}
