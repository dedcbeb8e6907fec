#include "archive/archive.h"

#include <algorithm>
#include <cstring>

namespace {

const char* CauseText(CArchiveException::Cause cause) {
    switch (cause) {
        case CArchiveException::Cause::EndOfFile:
            return "The archive ends early.";
        case CArchiveException::Cause::WideString:
            return "The archive holds a string of 16-bit characters.";
    }
    return "The archive is damaged.";
}

// Takes a 64-bit value so that the test means something where size_t has 32.
bool FitsDWord(std::uint64_t value) {
    return value <= 0xFFFFFFFFu;
}

}  // namespace

CArchiveException::CArchiveException(Cause cause)
    : std::runtime_error(CauseText(cause)), m_cause(cause) {}

CArchive::CArchive(CFile& file, Mode mode) : m_file(file), m_mode(mode) {}

void CArchive::RequireMode(Mode mode) const {
    if (m_mode != mode) {
        throw std::logic_error(mode == Mode::Store ? "writing to a loading archive"
                                                   : "reading from a storing archive");
    }
}

void CArchive::Write(const void* data, std::size_t count) {
    RequireMode(Mode::Store);
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (count <= m_buffer.size() - m_nEnd) {
        if (count != 0) {
            std::memcpy(m_buffer.data() + m_nEnd, bytes, count);
            m_nEnd += count;
        }
        return;
    }
    Flush();
    if (count >= m_buffer.size()) {
        m_file.Write(bytes, count);
        return;
    }
    std::memcpy(m_buffer.data(), bytes, count);
    m_nEnd = count;
}

void CArchive::WriteByte(std::uint8_t value) {
    Write(&value, 1);
}

void CArchive::WriteWord(std::uint16_t value) {
    const unsigned char bytes[2] = {static_cast<unsigned char>(value & 0xFF),
                                    static_cast<unsigned char>(value >> 8)};
    Write(bytes, sizeof bytes);
}

void CArchive::WriteDWord(std::uint32_t value) {
    const unsigned char bytes[4] = {
        static_cast<unsigned char>(value & 0xFF), static_cast<unsigned char>((value >> 8) & 0xFF),
        static_cast<unsigned char>((value >> 16) & 0xFF), static_cast<unsigned char>(value >> 24)};
    Write(bytes, sizeof bytes);
}

void CArchive::WriteString(std::string_view text) {
    const std::size_t length = text.size();
    if (length <= kLongestShortLength) {
        WriteByte(static_cast<std::uint8_t>(length));
    } else if (length <= kLongestWordLength) {
        WriteByte(kLongLengthMarker);
        WriteWord(static_cast<std::uint16_t>(length));
    } else {
        if (!FitsDWord(length)) {
            throw std::length_error("a text of 4 GiB or more does not fit an archive");
        }
        WriteByte(kLongLengthMarker);
        WriteWord(kDWordLengthMarker);
        WriteDWord(static_cast<std::uint32_t>(length));
    }
    Write(text.data(), length);
}

void CArchive::Flush() {
    if (m_mode == Mode::Store && m_nEnd != 0) {
        // Emptied first: a failed write must not be repeated by a later flush.
        const std::size_t pending = m_nEnd;
        m_nEnd = 0;
        m_file.Write(m_buffer.data(), pending);
    }
}

void CArchive::Close() {
    Flush();
}

void CArchive::Read(void* buffer, std::size_t count) {
    RequireMode(Mode::Load);
    auto* out = static_cast<unsigned char*>(buffer);
    const std::size_t buffered = std::min(count, m_nEnd - m_nBegin);
    if (buffered != 0) {
        std::memcpy(out, m_buffer.data() + m_nBegin, buffered);
        m_nBegin += buffered;
        out += buffered;
        count -= buffered;
    }
    if (count == 0) {
        return;
    }
    if (count >= m_buffer.size()) {
        if (m_file.Read(out, count) < count) {
            throw CArchiveException(CArchiveException::Cause::EndOfFile);
        }
        return;
    }
    m_nBegin = 0;
    m_nEnd = m_file.Read(m_buffer.data(), m_buffer.size());
    if (m_nEnd < count) {
        m_nBegin = m_nEnd;
        throw CArchiveException(CArchiveException::Cause::EndOfFile);
    }
    std::memcpy(out, m_buffer.data(), count);
    m_nBegin = count;
}

std::uint8_t CArchive::ReadByte() {
    std::uint8_t value = 0;
    Read(&value, 1);
    return value;
}

std::uint16_t CArchive::ReadWord() {
    unsigned char bytes[2];
    Read(bytes, sizeof bytes);
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

std::uint32_t CArchive::ReadDWord() {
    unsigned char bytes[4];
    Read(bytes, sizeof bytes);
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
           (static_cast<std::uint32_t>(bytes[2]) << 16) |
           (static_cast<std::uint32_t>(bytes[3]) << 24);
}

std::uint32_t CArchive::ReadLength() {
    const std::uint8_t first = ReadByte();
    if (first != kLongLengthMarker) {
        return first;
    }
    const std::uint16_t word = ReadWord();
    if (word == kWideStringMarker) {
        throw CArchiveException(CArchiveException::Cause::WideString);
    }
    if (word != kDWordLengthMarker) {
        return word;
    }
    return ReadDWord();
}

std::uint64_t CArchive::BytesLeft() const {
    const std::uint64_t length = m_file.GetLength();
    const std::uint64_t position = m_file.GetPosition();
    return (m_nEnd - m_nBegin) + (length > position ? length - position : 0);
}

std::size_t CArchive::ReadStringAppend(std::string& out) {
    const std::uint32_t length = ReadLength();
    // The file is asked only for a text longer than the bytes buffered.
    if (length > m_nEnd - m_nBegin && length > BytesLeft()) {
        throw CArchiveException(CArchiveException::Cause::EndOfFile);
    }
    const std::size_t start = out.size();
    if (length > out.max_size() - start) {
        throw std::length_error("a text too long for memory");
    }
    out.resize(start + length);
    Read(out.data() + start, length);
    return length;
}

std::string CArchive::ReadString() {
    std::string text;
    ReadStringAppend(text);
    return text;
}
