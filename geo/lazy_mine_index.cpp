#include "geo/lazy_mine_index.h"

const CMineIndex& CLazyMineIndex::Get() {
    if (!m_index) {
        m_index = std::make_unique<CMineIndex>(*m_pMines);
    }
    return *m_index;
}
