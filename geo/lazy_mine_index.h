#pragma once

#include <memory>

#include "geo/mine_index.h"
#include "minedata/mine_array.h"

// The spatial index of a collection that lives as long as the program, built
// by the first query that needs it: a user who never asks pays nothing. The
// owner of the collection calls Reset whenever the collection changes (every
// load), so an index never outlives the mines it indexes.
class CLazyMineIndex {
public:
    // `mines` must outlive the holder.
    explicit CLazyMineIndex(const CMineArray& mines) : m_pMines(&mines) {}
    explicit CLazyMineIndex(CMineArray&&) = delete;
    CLazyMineIndex(const CLazyMineIndex&) = delete;
    CLazyMineIndex& operator=(const CLazyMineIndex&) = delete;

    // The index of the collection, built on the first call after
    // construction or Reset. Throws what CMineIndex's constructor throws.
    const CMineIndex& Get();

    // Drops the index; the next Get builds it again.
    void Reset() { m_index.reset(); }

    bool IsBuilt() const { return m_index != nullptr; }

private:
    const CMineArray* m_pMines;
    std::unique_ptr<CMineIndex> m_index;
};
