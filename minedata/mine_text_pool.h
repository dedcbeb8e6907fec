#pragma once

#include <cstddef>
#include <memory>

// Room for the texts of many records, handed out from a few large blocks.
// A load builds hundreds of thousands of records: one allocation each would
// cost more than the rest of building them. A block lives as long as any
// record whose texts lie in it; texts are never changed in place, so the
// records stay independent values.
//
// One pool serves one thread at a time; the records it filled may go
// anywhere.
class CMineTextPool {
public:
    static constexpr std::size_t kDefaultBlockSize = std::size_t{1} << 20;

    explicit CMineTextPool(std::size_t blockSize = kDefaultBlockSize) : m_nBlockSize(blockSize) {}

    // `size` bytes of fresh room, at least one, that keep their block alive.
    std::shared_ptr<unsigned char> Allocate(std::size_t size);

private:
    std::size_t m_nBlockSize;
    std::shared_ptr<unsigned char[]> m_pBlock;
    std::size_t m_nUsed = 0;
    std::size_t m_nCapacity = 0;
};
