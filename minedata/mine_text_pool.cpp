#include "minedata/mine_text_pool.h"

#include "fileio/large_block.h"

std::shared_ptr<unsigned char> CMineTextPool::Allocate(std::size_t size) {
    if (size == 0) {
        size = 1;
    }
    // A request of more than a quarter block gets a block of its own, so
    // that a very long row neither wastes the rest of the current block nor
    // makes it huge.
    if (size > m_nBlockSize / 4) {
        std::shared_ptr<unsigned char[]> own =
            std::make_shared_for_overwrite<unsigned char[]>(size);
        return std::shared_ptr<unsigned char>(own, own.get());
    }
    if (size > m_nCapacity - m_nUsed) {
        m_pBlock = AllocateLargeBlock(m_nBlockSize);
        m_nUsed = 0;
        m_nCapacity = m_nBlockSize;
    }
    unsigned char* const room = m_pBlock.get() + m_nUsed;
    m_nUsed += size;
    return std::shared_ptr<unsigned char>(m_pBlock, room);
}
