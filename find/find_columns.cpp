#include "find/find_columns.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

#include "geo/great_circle.h"
#include "text/latin_case.h"
#include "text/text_encoding.h"

namespace {

constexpr std::array kNearColumns = {
    FindColumn::Name,   FindColumn::Commodities, FindColumn::Status, FindColumn::State,
    FindColumn::County, FindColumn::Distance,    FindColumn::Bearing};
constexpr std::array kAlongColumns = {
    FindColumn::Name,      FindColumn::Commodities, FindColumn::Status,
    FindColumn::State,     FindColumn::County,      FindColumn::Along,
    FindColumn::FromRoute, FindColumn::Side,        FindColumn::Leg};
constexpr std::array kMatchingColumns = {FindColumn::Name, FindColumn::Commodities,
                                         FindColumn::Status, FindColumn::State, FindColumn::County};

// The record text a text column shows, or nullptr for a column of numbers.
CMine::TextField TextFieldOf(FindColumn column) {
    switch (column) {
        case FindColumn::Name:
            return &CMine::m_strSiteName;
        case FindColumn::Commodities:
            return &CMine::m_strComMajor;
        case FindColumn::Status:
            return &CMine::m_strDevStat;
        case FindColumn::State:
            return &CMine::m_strState;
        case FindColumn::County:
            return &CMine::m_strCounty;
        default:
            return nullptr;
    }
}

// The value a column of numbers shows and sorts by.
double NumberOf(const FindRow& row, FindColumn column) {
    switch (column) {
        case FindColumn::Distance:
            return row.distanceKm;
        case FindColumn::Bearing:
            return row.bearingDegrees;
        case FindColumn::Along:
            return row.alongKm;
        case FindColumn::FromRoute:
            return row.fromRouteKm;
        case FindColumn::Leg:
            return static_cast<double>(row.leg);
        default:
            return 0.0;
    }
}

std::string Formatted(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Sorts `keyed` stably by `less`, or by its reverse when `descending`. Keys
// sorted the other way already (a second click on a column) are turned round
// in one pass: the runs of equal keys change places, each keeping its order.
template <typename Keyed, typename Less>
void StableSort(std::vector<Keyed>& keyed, bool descending, Less less) {
    const auto before = [&](const Keyed& a, const Keyed& b) {
        return descending ? less(b, a) : less(a, b);
    };
    // Any two neighbours already in order: not sorted the other way.
    if (std::adjacent_find(keyed.begin(), keyed.end(), before) != keyed.end()) {
        std::stable_sort(keyed.begin(), keyed.end(), before);
        return;
    }
    std::reverse(keyed.begin(), keyed.end());
    for (auto run = keyed.begin(); run != keyed.end();) {
        auto end = std::next(run);
        while (end != keyed.end() && !before(*run, *end)) {
            ++end;
        }
        std::reverse(run, end);
        run = end;
    }
}

// Sorts `order` by keys of `key(row)`, stable in either direction.
template <typename Key, typename MakeKey>
void SortByKey(std::vector<std::uint32_t>& order, bool descending, MakeKey makeKey) {
    struct Keyed {
        Key key;
        std::uint32_t row;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(order.size());
    for (const std::uint32_t row : order) {
        keyed.push_back({makeKey(row), row});
    }
    StableSort(keyed, descending, [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        order[i] = keyed[i].row;
    }
}

// A row's folded text in a buffer of every row's, with its first bytes as
// numbers that order as they do: most comparisons end there.
struct TextKey {
    std::uint64_t head[2];
    std::uint32_t start, length;
    std::uint32_t row;
};

constexpr std::size_t kHeadBytes = 2 * sizeof(std::uint64_t);

// The key's head: the first kHeadBytes of its `bytes`, the first the most
// significant, zeros after their end.
void SetHead(TextKey& key, std::string_view bytes) {
    for (std::size_t half = 0; half < 2; ++half) {
        std::uint64_t head = 0;
        for (std::size_t i = half * 8; i < half * 8 + 8; ++i) {
            head = head << 8 | (i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0u);
        }
        key.head[half] = head;
    }
}

// Whether the folded text of `a` comes before that of `b` in `bytes`.
bool Before(const TextKey& a, const TextKey& b, std::string_view bytes) {
    if (a.head[0] != b.head[0]) {
        return a.head[0] < b.head[0];
    }
    if (a.head[1] != b.head[1]) {
        return a.head[1] < b.head[1];
    }
    // The heads agree: when either key ends within them, it is the shorter
    // key, and all its bytes are the longer one's first.
    if (std::min(a.length, b.length) <= kHeadBytes) {
        return a.length < b.length;
    }
    return bytes.substr(a.start + kHeadBytes, a.length - kHeadBytes) <
           bytes.substr(b.start + kHeadBytes, b.length - kHeadBytes);
}

}  // namespace

std::span<const FindColumn> FindColumnsOf(FindMode mode) {
    switch (mode) {
        case FindMode::Near:
            return kNearColumns;
        case FindMode::Along:
            return kAlongColumns;
        case FindMode::Matching:
            break;
    }
    return kMatchingColumns;
}

const char* FindColumnTitle(FindColumn column) {
    switch (column) {
        case FindColumn::Name:
            return "Name";
        case FindColumn::Commodities:
            return "Major commodities";
        case FindColumn::Status:
            return "Development status";
        case FindColumn::State:
            return "State";
        case FindColumn::County:
            return "County";
        case FindColumn::Distance:
            return "Distance (km)";
        case FindColumn::Bearing:
            return "Bearing (\u00B0)";
        case FindColumn::Along:
            return "Along (km)";
        case FindColumn::FromRoute:
            return "From route (km)";
        case FindColumn::Side:
            return "Side";
        case FindColumn::Leg:
            break;
    }
    return "Leg";
}

bool IsNumericColumn(FindColumn column) {
    return TextFieldOf(column) == nullptr && column != FindColumn::Side;
}

std::string FindCellText(const FindRow& row, FindColumn column, const CMineArray& mines) {
    if (const CMine::TextField field = TextFieldOf(column)) {
        return DataTextToUtf8(mines[row.index].*field);
    }
    switch (column) {
        case FindColumn::Distance:
            return Formatted("%.3f", RoundedDistanceKm(row.distanceKm));
        case FindColumn::Bearing:
            return Formatted("%.1f", RoundedBearing(row.bearingDegrees));
        case FindColumn::Along:
            return Formatted("%.3f", RoundedDistanceKm(row.alongKm));
        case FindColumn::FromRoute:
            return Formatted("%.3f", RoundedDistanceKm(row.fromRouteKm));
        case FindColumn::Side:
            return RouteSideName(row.side);
        case FindColumn::Leg:
            return std::to_string(row.leg);
        default:
            return {};
    }
}

std::string FindCountText(std::size_t count) {
    if (count == 0) {
        return "No mines found";
    }
    return count == 1 ? "1 mine" : std::to_string(count) + " mines";
}

std::vector<std::size_t> MinesInOrder(const std::vector<std::uint32_t>& order,
                                      const std::vector<FindRow>& rows) {
    std::vector<std::size_t> indices;
    indices.reserve(order.size());
    for (const std::uint32_t row : order) {
        indices.push_back(rows[row].index);
    }
    return indices;
}

void SortFindOrder(std::vector<std::uint32_t>& order, const std::vector<FindRow>& rows,
                   FindColumn column, bool descending, const CMineArray& mines) {
    if (const CMine::TextField field = TextFieldOf(column)) {
        // Every key is folded once, into one buffer, so that a comparison
        // compares bytes; the records are read in the rows' order, which is
        // near their order in memory, not in the order shown.
        std::string folded;
        folded.reserve(rows.size() * kHeadBytes);
        std::vector<std::uint32_t> ends(rows.size());
        for (std::size_t row = 0; row < rows.size(); ++row) {
            AppendFoldedText(folded, mines[rows[row].index].*field);
            ends[row] = static_cast<std::uint32_t>(folded.size());
        }
        std::vector<TextKey> keys;
        keys.reserve(order.size());
        for (const std::uint32_t row : order) {
            const std::uint32_t start = row == 0 ? 0 : ends[row - 1];
            keys.push_back({{0, 0}, start, ends[row] - start, row});
        }
        const std::string_view bytes = folded;
        for (TextKey& key : keys) {
            SetHead(key, bytes.substr(key.start, key.length));
        }
        StableSort(keys, descending,
                   [bytes](const TextKey& a, const TextKey& b) { return Before(a, b, bytes); });
        for (std::size_t i = 0; i < keys.size(); ++i) {
            order[i] = keys[i].row;
        }
    } else if (column == FindColumn::Side) {
        SortByKey<std::string_view>(order, descending, [&](std::uint32_t row) {
            return std::string_view(RouteSideName(rows[row].side));
        });
    } else {
        SortByKey<double>(order, descending,
                          [&](std::uint32_t row) { return NumberOf(rows[row], column); });
    }
}

void CFindRowOrder::Reset(std::size_t rowCount) {
    m_order.resize(rowCount);
    for (std::size_t i = 0; i < rowCount; ++i) {
        m_order[i] = static_cast<std::uint32_t>(i);
    }
    m_sorted = false;
    m_column = FindColumn::Name;
    m_descending = false;
}

void CFindRowOrder::Click(FindColumn column, const std::vector<FindRow>& rows,
                          const CMineArray& mines) {
    m_descending = m_sorted && m_column == column && !m_descending;
    m_sorted = true;
    m_column = column;
    SortFindOrder(m_order, rows, column, m_descending, mines);
}
