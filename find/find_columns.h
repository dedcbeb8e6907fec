#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "find/mine_query.h"
#include "minedata/mine_array.h"

// The columns of the "Find Mines" list, the texts of its cells and its
// sorting. The list holds no texts: it asks for those of the rows it shows.

enum class FindColumn {
    Name,
    Commodities,  // major commodities
    Status,       // development status
    State,
    County,
    Distance,   // Near: km from the point
    Bearing,    // Near: degrees from the point
    Along,      // Along: km along the route
    FromRoute,  // Along: km from the route
    Side,       // Along
    Leg         // Along
};

// The columns a mode's list shows, left to right.
std::span<const FindColumn> FindColumnsOf(FindMode mode);

// The column's header text (UTF-8), e.g. "Distance (km)".
const char* FindColumnTitle(FindColumn column);

// Whether the column holds numbers (sorted numerically, aligned right).
bool IsNumericColumn(FindColumn column);

// The UTF-8 text of one cell: a record's text decoded by the data text rule,
// a distance in km with 3 decimals and a bearing with 1, rounded as vemra-cli
// prints them, the side as "left", "right" or "on", the leg from 1.
std::string FindCellText(const FindRow& row, FindColumn column, const CMineArray& mines);

// The line under the list: "No mines found", "1 mine", "N mines".
std::string FindCountText(std::size_t count);

// The indices of the mines in the order `order` shows `rows`, for an
// export of the list as it is shown.
std::vector<std::size_t> MinesInOrder(const std::vector<std::uint32_t>& order,
                                      const std::vector<FindRow>& rows);

// Reorders `order` (positions in `rows`) by `column`, ascending or
// descending; rows of equal keys keep their order in `order`. Texts compare
// by their characters with Latin letter case folded, numbers numerically.
void SortFindOrder(std::vector<std::uint32_t>& order, const std::vector<FindRow>& rows,
                   FindColumn column, bool descending, const CMineArray& mines);

// The order in which the list shows the rows of one result, and the column it
// is sorted by: a header click sorts ascending, a second click on the same
// column descending, and so on.
class CFindRowOrder {
public:
    // The result's own order (0, 1, ... count - 1), sorted by no column.
    void Reset(std::size_t rowCount);

    // A click on the header of `column`.
    void Click(FindColumn column, const std::vector<FindRow>& rows, const CMineArray& mines);

    std::size_t Size() const { return m_order.size(); }
    // The position in the rows of the row shown at `position`.
    std::uint32_t RowAt(std::size_t position) const { return m_order[position]; }
    const std::vector<std::uint32_t>& Order() const { return m_order; }

    bool IsSorted() const { return m_sorted; }
    FindColumn SortColumn() const { return m_column; }
    bool IsDescending() const { return m_descending; }

private:
    std::vector<std::uint32_t> m_order;
    bool m_sorted = false;
    FindColumn m_column = FindColumn::Name;
    bool m_descending = false;
};
