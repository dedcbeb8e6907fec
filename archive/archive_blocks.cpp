#include "archive/archive_blocks.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "fileio/large_block.h"

namespace {

// Free room at the start of each block for the end of a record begun in the
// block before; records are a few hundred bytes.
constexpr std::size_t kTailRoom = std::size_t{1} << 14;
// Bytes read at a time: with the room before them, one large page. Large
// enough that reads and allocations are few, small enough that a block
// stays cheap when a file is small (it gets a block of its own size).
constexpr std::size_t kChunkSize = kLargePageBytes - kTailRoom;

}  // namespace

CArchiveBlocks::CArchiveBlocks(CFile& file)
    : m_file(file),
      m_nFileLeft(file.GetLength() - std::min(file.GetLength(), file.GetPosition())) {}

CArchiveBlocks::Chunk CArchiveBlocks::ReadChunk(std::size_t asked) {
    Chunk chunk;
    chunk.asked = asked;
    chunk.block = AllocateLargeBlock(kTailRoom + asked);
    while (chunk.got < asked) {
        const std::size_t got =
            m_file.Read(chunk.block.get() + kTailRoom + chunk.got, asked - chunk.got);
        if (got == 0) {
            break;
        }
        chunk.got += got;
    }
    return chunk;
}

void CArchiveBlocks::StartReadAhead() {
    if (m_bAtEnd || m_nFileLeft == 0) {
        return;
    }
    const auto asked = static_cast<std::size_t>(std::min<std::uint64_t>(kChunkSize, m_nFileLeft));
    try {
        m_next = std::async(std::launch::async, [this, asked] { return ReadChunk(asked); });
    } catch (const std::system_error&) {
        // No thread to be had: Want reads the next block itself.
    }
}

void CArchiveBlocks::Consumed(std::size_t asked, std::size_t got) {
    m_nFileLeft -= std::min<std::uint64_t>(got, m_nFileLeft);
    if (got < asked) {
        m_bAtEnd = true;
    }
}

void CArchiveBlocks::FillBlock(std::size_t capacity) {
    while (!m_bAtEnd && m_nEnd < capacity) {
        const std::size_t asked = capacity - m_nEnd;
        const std::size_t got = m_file.Read(m_pBlock.get() + m_nEnd, asked);
        m_nEnd += got;
        Consumed(asked, got);
    }
}

void CArchiveBlocks::Place(Chunk chunk, std::uint64_t count) {
    const std::size_t buffered = m_nEnd - m_nBegin;
    Consumed(chunk.asked, chunk.got);
    if (buffered <= kTailRoom && count <= buffered + chunk.got) {
        // The usual case: the rest of the record goes before the new bytes.
        unsigned char* const start = chunk.block.get() + kTailRoom - buffered;
        if (buffered != 0) {
            std::memcpy(start, Begin(), buffered);
        }
        m_pBlock = std::move(chunk.block);
        m_nBegin = kTailRoom - buffered;
        m_nEnd = kTailRoom + chunk.got;
        return;
    }
    // A record larger than the room: one block for all of it, filled to its
    // end from the file. `count` was checked against the file's size.
    const std::size_t capacity =
        static_cast<std::size_t>(std::max<std::uint64_t>(count, buffered + chunk.got));
    auto block = std::make_shared_for_overwrite<unsigned char[]>(capacity);
    if (buffered != 0) {
        std::memcpy(block.get(), Begin(), buffered);
    }
    if (chunk.got != 0) {
        std::memcpy(block.get() + buffered, chunk.block.get() + kTailRoom, chunk.got);
    }
    m_pBlock = std::move(block);
    m_nBegin = 0;
    m_nEnd = buffered + chunk.got;
    FillBlock(capacity);
}

bool CArchiveBlocks::Want(std::uint64_t count) {
    while (m_nEnd - m_nBegin < count) {
        const std::size_t buffered = m_nEnd - m_nBegin;
        if (count - buffered > m_nFileLeft || (m_bAtEnd && !m_next.valid())) {
            return false;
        }
        if (count > std::numeric_limits<std::size_t>::max() / 2) {
            throw std::length_error("a record too long for memory");
        }
        Chunk chunk;
        if (m_next.valid()) {
            chunk = m_next.get();
        } else {
            chunk = ReadChunk(
                static_cast<std::size_t>(std::min<std::uint64_t>(kChunkSize, m_nFileLeft)));
        }
        Place(std::move(chunk), count);
        StartReadAhead();
    }
    return true;
}
