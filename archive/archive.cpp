#include "archive/archive.h"

#include <algorithm>
#include <cstring>

#include "fileio/little_endian.h"
#include "minedata/length_prefix.h"

namespace {

// Storing hands the file pieces of this size.
constexpr std::size_t kStoreBufferSize = std::size_t{1} << 20;

const char* CauseText(CArchiveException::Cause cause) {
    switch (cause) {
        case CArchiveException::Cause::EndOfFile:
            return "The archive ends early.";
        case CArchiveException::Cause::WideString:
            return "The archive holds a string of 16-bit characters.";
    }
    return "The archive is damaged.";
}

}  // namespace

CArchiveException::CArchiveException(Cause cause)
    : std::runtime_error(CauseText(cause)), m_cause(cause) {}

CArchive::CArchive(CFile& file, Mode mode) : m_file(file), m_mode(mode) {
    if (mode == Mode::Store) {
        m_pStore = std::make_unique_for_overwrite<unsigned char[]>(kStoreBufferSize);
    } else {
        m_blocks.emplace(file);
    }
}

void CArchive::RequireMode(Mode mode) const {
    if (m_mode != mode) {
        throw std::logic_error(mode == Mode::Store ? "writing to a loading archive"
                                                   : "reading from a storing archive");
    }
}

void CArchive::Write(const void* data, std::size_t count) {
    RequireMode(Mode::Store);
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (count <= kStoreBufferSize - m_nStored) {
        if (count != 0) {
            std::memcpy(m_pStore.get() + m_nStored, bytes, count);
            m_nStored += count;
        }
        return;
    }
    Flush();
    if (count >= kStoreBufferSize) {
        m_file.Write(bytes, count);
        return;
    }
    std::memcpy(m_pStore.get(), bytes, count);
    m_nStored = count;
}

void CArchive::WriteByte(std::uint8_t value) {
    Write(&value, 1);
}

void CArchive::WriteWord(std::uint16_t value) {
    unsigned char bytes[2];
    WriteLittleEndian(bytes, value);
    Write(bytes, sizeof bytes);
}

void CArchive::WriteDWord(std::uint32_t value) {
    unsigned char bytes[4];
    WriteLittleEndian(bytes, value);
    Write(bytes, sizeof bytes);
}

void CArchive::WriteString(std::string_view text) {
    // Takes a 64-bit value so that the test means something where size_t has 32.
    if (static_cast<std::uint64_t>(text.size()) > kLongestArchiveLength) {
        throw std::length_error("a text of 4 GiB or more does not fit an archive");
    }
    unsigned char prefix[kLongestLengthPrefix];
    Write(prefix, PutLengthPrefix(prefix, text.size()));
    Write(text.data(), text.size());
}

void CArchive::Flush() {
    if (m_mode == Mode::Store && m_nStored != 0) {
        // Emptied first: a failed write must not be repeated by a later flush.
        const std::size_t pending = m_nStored;
        m_nStored = 0;
        m_file.Write(m_pStore.get(), pending);
    }
}

void CArchive::Close() {
    Flush();
}

void CArchive::Want(std::uint64_t count) {
    RequireMode(Mode::Load);
    if (!m_blocks->Want(count)) {
        throw CArchiveException(CArchiveException::Cause::EndOfFile);
    }
}

void CArchive::Read(void* buffer, std::size_t count) {
    Want(count);
    if (count != 0) {
        std::memcpy(buffer, BufferBegin(), count);
        Take(count);
    }
}

std::uint8_t CArchive::ReadByte() {
    std::uint8_t value = 0;
    Read(&value, 1);
    return value;
}

std::uint16_t CArchive::ReadWord() {
    Want(2);
    const auto value = ReadLittleEndian<std::uint16_t>(BufferBegin());
    Take(2);
    return value;
}

std::uint32_t CArchive::ReadDWord() {
    Want(4);
    const auto value = ReadLittleEndian<std::uint32_t>(BufferBegin());
    Take(4);
    return value;
}

std::uint64_t CArchive::BytesLeft() const {
    return m_blocks ? m_blocks->Left() : 0;
}

std::size_t CArchive::ReadStringAppend(std::string& out) {
    RequireMode(Mode::Load);
    DecodedPrefix prefix = DecodeLengthPrefix(BufferBegin(), BufferEnd());
    while (prefix.status == PrefixStatus::Cut) {
        Want(prefix.size);
        prefix = DecodeLengthPrefix(BufferBegin(), BufferEnd());
    }
    if (prefix.status == PrefixStatus::Wide) {
        throw CArchiveException(CArchiveException::Cause::WideString);
    }
    Take(prefix.size);
    // Checked against the file before any room is taken.
    if (prefix.length > BytesLeft()) {
        throw CArchiveException(CArchiveException::Cause::EndOfFile);
    }
    const auto length = static_cast<std::size_t>(prefix.length);
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
