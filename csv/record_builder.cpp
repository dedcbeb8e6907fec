#include "csv/record_builder.h"

#include <algorithm>
#include <cstring>

#include "text/number_text.h"

namespace {

constexpr char kQuote = '"';
constexpr std::size_t kShortValue = 32;

// `value` without any of its quotes, copied to `out`, which advances
// past the copy. In long values, such as references with quoted titles,
// the runs between quotes are copied whole.
std::string_view RemoveQuotesTo(std::string_view value, char*& out) {
    char* const begin = out;
    if (value.size() <= kShortValue) {
        for (const char c : value) {
            *out = c;
            out += c != kQuote ? 1 : 0;
        }
    } else {
        std::size_t from = 0;
        while (from < value.size()) {
            const std::size_t quote = std::min(value.find(kQuote, from), value.size());
            std::memcpy(out, value.data() + from, quote - from);
            out += quote - from;
            from = quote + 1;
        }
    }
    return std::string_view(begin, static_cast<std::size_t>(out - begin));
}

}  // namespace

CRecordBuilder::CRecordBuilder(const ColumnMap& columnMap, const ColumnPresence& present) {
    std::vector<int> columns;
    for (int slot = 1; slot <= kKnownColumnCount; ++slot) {
        // An absent column stays empty however wide the row, even one
        // whose field count reaches kNoColumn; a column that stands at
        // number kNoColumn is read like any other.
        if (!present.test(static_cast<std::size_t>(slot))) {
            continue;
        }
        const int column = columnMap[static_cast<std::size_t>(slot)];
        Step step{column, Target::Text, true, 0, 0};
        if (slot == kSlotDepId) {
            step.target = Target::DepId;
        } else if (slot == kSlotLatitude) {
            step.target = Target::Latitude;
        } else if (slot == kSlotLongitude) {
            step.target = Target::Longitude;
        } else {
            // The identifiers and the name keep their quotes; the number
            // columns lose them too, so that a quoted number reads.
            step.removeQuotes = slot >= kFirstSlotWithoutQuotes;
            step.textIndex = TextIndexOf(TextFieldOfSlot(slot));
        }
        m_steps.push_back(step);
        columns.push_back(column);
    }
    // The splitter takes the columns left to right along the line.
    std::stable_sort(m_steps.begin(), m_steps.end(),
                     [](const Step& a, const Step& b) { return a.column < b.column; });
    // The line is split into the columns read, each once.
    for (Step& step : m_steps) {
        const auto column = static_cast<std::size_t>(step.column);
        if (m_columns.empty() || m_columns.back() != column) {
            m_columns.push_back(column);
        }
        step.fieldIndex = m_columns.size() - 1;
    }
    // Texts without quotes are copies in the scratch buffer. Distinct
    // columns are disjoint parts of the line, so a buffer as long as the
    // line times the largest number of slots sharing a column holds them.
    for (const int column : columns) {
        const auto sharing =
            static_cast<std::size_t>(std::count(columns.begin(), columns.end(), column));
        m_nScratchPerByte = std::max(m_nScratchPerByte, sharing);
    }
}

void CRecordBuilder::Build(std::string_view line, CMine& mine, CMineTextPool* pool) {
    m_fields = m_splitter.SplitChosenFields(line, m_columns);
    const std::size_t needed = line.size() * m_nScratchPerByte;
    if (m_scratch.size() < needed) {
        m_scratch.resize(needed);
    }
    // From here on the scratch buffer must not move: the texts point
    // into it.
    char* out = m_scratch.data();
    // Every line sets the same texts; those of absent columns stay empty.
    CMine::Texts& texts = m_texts;
    for (const Step& step : m_steps) {
        const ChosenField& field = m_fields[step.fieldIndex];
        std::string_view value = field.text;
        if (step.removeQuotes && field.quotes != FieldQuotes::None) {
            value = field.quotes == FieldQuotes::AtBothEndsOnly ? value.substr(1, value.size() - 2)
                                                                : RemoveQuotesTo(value, out);
        }
        switch (step.target) {
            case Target::Text:
                texts[step.textIndex] = value;
                break;
            case Target::DepId:
                mine.m_nDepId = DecimalTextToInt32(value);
                break;
            case Target::Latitude:
                mine.m_fLatitude = DecimalTextToFloat(value);
                break;
            case Target::Longitude:
                mine.m_fLongitude = DecimalTextToFloat(value);
                break;
        }
    }
    if (pool != nullptr) {
        mine.SetTexts(texts, *pool);
    } else {
        mine.SetTexts(texts);
    }
}
