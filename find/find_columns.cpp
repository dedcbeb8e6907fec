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
    if (descending) {
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const Keyed& a, const Keyed& b) { return b.key < a.key; });
    } else {
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
    }
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        order[i] = keyed[i].row;
    }
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
        // compares bytes; the views are taken once the buffer has stopped growing.
        std::string folded;
        std::vector<std::size_t> ends(rows.size());
        for (const std::uint32_t row : order) {
            AppendFoldedText(folded, mines[rows[row].index].*field);
            ends[row] = folded.size();
        }
        std::vector<std::size_t> starts(rows.size());
        std::size_t start = 0;
        for (const std::uint32_t row : order) {
            starts[row] = start;
            start = ends[row];
        }
        const std::string_view keys = folded;
        SortByKey<std::string_view>(order, descending, [&](std::uint32_t row) {
            return keys.substr(starts[row], ends[row] - starts[row]);
        });
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
