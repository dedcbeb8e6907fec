#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "archive/archive_blocks.h"
#include "archive/archive_format.h"
#include "fileio/byte_file.h"

// The archive's content cannot be what was written: it ends early, or a
// string has a form this program never writes.
class CArchiveException : public std::runtime_error {
public:
    enum class Cause {
        EndOfFile,   // a read ran past the end (also a length beyond the end)
        WideString,  // a 16-bit-character string (prefix 0xFF 0xFFFE)
    };

    explicit CArchiveException(Cause cause);
    Cause GetCause() const { return m_cause; }

private:
    Cause m_cause;
};

// A buffered binary stream over a CFile, in one direction fixed when it is
// made. Numbers are little-endian. Reads throw CArchiveException; the file's
// own errors arrive as CFileException.
//
// A loading archive reads the file in large blocks (CArchiveBlocks), which a
// reader may decode in place and share: the texts of records read from it
// stay in the blocks they were read into.
class CArchive {
public:
    enum class Mode { Store, Load };

    // The file must outlive the archive. A loading archive starts reading at
    // the file's current position.
    CArchive(CFile& file, Mode mode);
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;
    // Does not write what is still buffered: call Close when storing.
    ~CArchive() = default;

    bool IsStoring() const { return m_mode == Mode::Store; }
    bool IsLoading() const { return m_mode == Mode::Load; }

    // Storing only.
    void Write(const void* data, std::size_t count);
    void WriteByte(std::uint8_t value);
    void WriteWord(std::uint16_t value);
    void WriteDWord(std::uint32_t value);
    // The length prefix (1, 3 or 7 bytes), then the bytes. Throws
    // std::length_error for a text of 4 GiB or more, which no prefix holds.
    void WriteString(std::string_view text);
    // Writes out what is buffered.
    void Flush();
    // Flush, then no more use. Loading: nothing to do.
    void Close();

    // Loading only. Each reads exactly what it asks for or throws
    // CArchiveException(EndOfFile).
    void Read(void* buffer, std::size_t count);
    std::uint8_t ReadByte();
    std::uint16_t ReadWord();
    std::uint32_t ReadDWord();
    // Reads one string. A length beyond the bytes left in the file throws
    // EndOfFile before any memory is taken for it; a 0xFF 0xFFFE prefix
    // throws WideString.
    std::string ReadString();
    // The same, appending the text to `out`; returns its length.
    std::size_t ReadStringAppend(std::string& out);

    // Loading: bytes not yet read, buffered ones included.
    std::uint64_t BytesLeft() const;

    // Loading, for a reader that decodes in place: the buffered bytes
    // [BufferBegin(), BufferEnd()), which lie in BufferBlock() and never
    // change. Want makes at least `count` of them available, or throws
    // EndOfFile when the file ends first (before taking room for them);
    // Take consumes them.
    const std::shared_ptr<unsigned char[]>& BufferBlock() const { return m_blocks->Block(); }
    const unsigned char* BufferBegin() const { return m_blocks->Begin(); }
    const unsigned char* BufferEnd() const { return m_blocks->End(); }
    void Want(std::uint64_t count);
    void Take(std::size_t count) { m_blocks->Take(count); }

private:
    void RequireMode(Mode mode) const;

    CFile& m_file;
    Mode m_mode;
    // Storing: m_pStore[0, m_nStored) waits to be written.
    std::unique_ptr<unsigned char[]> m_pStore;
    std::size_t m_nStored = 0;
    // Loading.
    std::optional<CArchiveBlocks> m_blocks;
};
