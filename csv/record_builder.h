#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "csv/column_map.h"
#include "csv/csv_line.h"
#include "minedata/mine.h"
#include "minedata/mine_text_pool.h"

// Turns the rows of one comma-separated file into records, following the
// column map of its header. Only the columns the header names are looked at.
// A copy builds on another thread beside the original.
class CRecordBuilder {
public:
    CRecordBuilder(const ColumnMap& columnMap, const ColumnPresence& present);

    // Fills `mine`, an empty record, from the line; its texts go to room
    // from `pool`, or to a block of their own without one.
    void Build(std::string_view line, CMine& mine, CMineTextPool* pool);

private:
    enum class Target { Text, DepId, Latitude, Longitude };
    struct Step {
        int column;
        Target target;
        bool removeQuotes;
        std::size_t textIndex;
        std::size_t fieldIndex;  // in m_columns and the fields split
    };

    std::vector<Step> m_steps;
    std::vector<std::size_t> m_columns;  // ascending
    std::size_t m_nScratchPerByte = 1;
    std::string m_scratch;
    CCsvLine m_splitter{" ", ',', '"'};
    std::span<const ChosenField> m_fields;
    CMine::Texts m_texts{};
};
