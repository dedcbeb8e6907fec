#include "minedata/mine_array.h"

#include <algorithm>
#include <memory>
#include <utility>

void CMineArray::SetAt(std::size_t index, CMine&& mine) {
    m_coordinates[index] = {mine.m_fLatitude, mine.m_fLongitude};
    Slot(index) = std::move(mine);
}

void CMineArray::SetAtGrow(std::size_t index, CMine&& mine) {
    if (index >= m_nSize) {
        SetSize(index + 1);
    }
    SetAt(index, std::move(mine));
}

std::size_t CMineArray::Add(CMine&& mine) {
    // Moved straight into its place: a load adds hundreds of thousands.
    const std::size_t index = m_nSize;
    if ((index >> kChunkShift) == m_chunks.size()) {
        ChunkRoom room(std::allocator<CMine>().allocate(kChunkSize));
        m_chunks.push_back(std::move(room));
    }
    m_coordinates.push_back({mine.m_fLatitude, mine.m_fLongitude});
    std::construct_at(&Slot(index), std::move(mine));
    m_nSize = index + 1;
    return index;
}

CMineArray::CMineArray(CMineArray&& other) noexcept
    : m_chunks(std::move(other.m_chunks)),
      m_coordinates(std::move(other.m_coordinates)),
      m_nSize(std::exchange(other.m_nSize, 0)) {}

CMineArray& CMineArray::operator=(CMineArray&& other) noexcept {
    CMineArray taken(std::move(other));
    Swap(taken);
    return *this;
}

CMineArray::~CMineArray() {
    DestroyFrom(0);
}

void CMineArray::DestroyFrom(std::size_t from) {
    for (std::size_t i = from; i < m_nSize; ++i) {
        std::destroy_at(&Slot(i));
    }
    m_nSize = std::min(m_nSize, from);
}

void CMineArray::SetSize(std::size_t n, std::size_t /*growBy*/) {
    if (n == m_nSize) {
        return;
    }
    if (n < m_nSize) {
        // Elements from n on end, and a later growth makes them new.
        DestroyFrom(n);
        m_chunks.resize((n + kChunkSize - 1) >> kChunkShift);
        m_coordinates.resize(n);
        m_coordinates.shrink_to_fit();
        return;
    }
    // All the room first, so that a failure leaves the collection as it was.
    const std::size_t chunksNeeded = (n + kChunkSize - 1) >> kChunkShift;
    while (m_chunks.size() < chunksNeeded) {
        ChunkRoom room(std::allocator<CMine>().allocate(kChunkSize));
        m_chunks.push_back(std::move(room));
    }
    m_coordinates.resize(n);
    for (; m_nSize < n; ++m_nSize) {
        std::construct_at(&Slot(m_nSize));
    }
}

void CMineArray::RemoveAll() {
    DestroyFrom(0);
    m_chunks.clear();
    m_chunks.shrink_to_fit();
    m_coordinates.clear();
    m_coordinates.shrink_to_fit();
    m_nSize = 0;
}

void CMineArray::Swap(CMineArray& other) noexcept {
    m_chunks.swap(other.m_chunks);
    m_coordinates.swap(other.m_coordinates);
    std::swap(m_nSize, other.m_nSize);
}
