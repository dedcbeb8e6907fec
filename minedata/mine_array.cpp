#include "minedata/mine_array.h"

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
    const std::size_t index = m_nSize;
    SetAtGrow(index, std::move(mine));
    return index;
}

void CMineArray::SetSize(std::size_t n, std::size_t /*growBy*/) {
    // Elements from n on become empty records again, so that a later growth
    // finds them as new elements must be.
    for (std::size_t i = n; i < m_nSize; ++i) {
        Slot(i) = CMine();
    }
    const std::size_t chunksNeeded = (n + kChunkSize - 1) >> kChunkShift;
    while (m_chunks.size() < chunksNeeded) {
        m_chunks.push_back(std::make_unique<CMine[]>(kChunkSize));
    }
    m_chunks.resize(chunksNeeded);
    m_coordinates.resize(n);
    if (n < m_nSize) {
        m_coordinates.shrink_to_fit();
    }
    m_nSize = n;
}

void CMineArray::RemoveAll() {
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
