#pragma once

#include <cstddef>
#include <cstdint>
#include <future>
#include <memory>

#include "fileio/byte_file.h"

// The bytes of an archive being read (a loading CArchive's buffer), in large
// blocks that the records read from them go on sharing, so that their texts
// are never copied. While the records of one block are taken, the next block
// is read on another thread.
//
// A block never changes once it is handed out. The few bytes left at a
// block's end (part of a record) are copied into room kept free at the start
// of the next one. Room is taken beyond a block's usual size only for a
// record that needs it, and only after the file's size shows that it holds
// that many bytes more, so a damaged length costs no memory.
class CArchiveBlocks {
public:
    // Reads `file` from its current position; the file must outlive this.
    explicit CArchiveBlocks(CFile& file);
    // Waits for a read still under way, as a future of std::async does.
    ~CArchiveBlocks() = default;
    CArchiveBlocks(const CArchiveBlocks&) = delete;
    CArchiveBlocks& operator=(const CArchiveBlocks&) = delete;

    // The block that holds [Begin(), End()), the bytes not yet taken.
    const std::shared_ptr<unsigned char[]>& Block() const { return m_pBlock; }
    const unsigned char* Begin() const { return m_pBlock.get() + m_nBegin; }
    const unsigned char* End() const { return m_pBlock.get() + m_nEnd; }
    // Precondition: count <= End() - Begin().
    void Take(std::size_t count) { m_nBegin += count; }
    // Bytes not yet taken, by the file's size.
    std::uint64_t Left() const { return (m_nEnd - m_nBegin) + (m_bAtEnd ? 0 : m_nFileLeft); }

    // Makes at least `count` bytes available from Begin(), in one block.
    // Returns false when the file ends first, or when its size says that it
    // would, before any room is taken. The file's errors arrive as
    // CFileException.
    bool Want(std::uint64_t count);

private:
    struct Chunk {
        std::shared_ptr<unsigned char[]> block;  // kTailRoom bytes, then the bytes read
        std::size_t asked = 0;
        std::size_t got = 0;
    };

    Chunk ReadChunk(std::size_t asked);
    void StartReadAhead();
    // Appends to [m_nBegin, m_nEnd) until `count` bytes are there or the file ends.
    void Place(Chunk chunk, std::uint64_t count);
    // Reads into [m_nEnd, capacity) of the current block until it is full or
    // the file ends.
    void FillBlock(std::size_t capacity);
    void Consumed(std::size_t asked, std::size_t got);

    CFile& m_file;
    // Bytes of the file (by its size) not yet placed in a block.
    std::uint64_t m_nFileLeft;
    bool m_bAtEnd = false;
    std::shared_ptr<unsigned char[]> m_pBlock;
    std::size_t m_nBegin = 0;
    std::size_t m_nEnd = 0;
    std::future<Chunk> m_next;
};
