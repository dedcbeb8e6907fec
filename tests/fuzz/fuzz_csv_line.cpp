// libFuzzer target: the comma-separated line splitter on arbitrary bytes.
// The first byte picks fields by its bits; the rest is the line. Checks that
// the fields tile the line, one separator between neighbours, that they are
// those of the straightforward reference split, and that the loader's
// chosen-fields split finds the same.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "csv/column_map.h"
#include "csv/csv_line.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/unit/csv_reference_split.h"

using fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view line(reinterpret_cast<const char*>(data) + 1, size - 1);

    const CCsvLine full(line, ',', '"');
    const int count = full.GetFieldCount();
    Require(count >= 1);
    Require(full.FieldView(0) == line);
    Require(full.GetField(count + 1, false).empty());
    Require(full.GetField(-1, false).empty());

    // Field k ends where field k + 1 begins, one separator apart, and the
    // last one ends with the line.
    // The fields are views into the splitter's own copy of the line.
    const std::string_view copy = full.FieldView(0);
    std::size_t start = 0;
    for (int i = 1; i <= count; ++i) {
        const std::string_view field = full.FieldView(i);
        Require(field.empty() || field.data() == copy.data() + start);
        Require(CsvFieldEnd(line, start, ',', '"') == start + field.size() || start >= line.size());
        const std::string unquoted = full.GetField(i, true);
        Require(unquoted.find('"') == std::string::npos);
        Require(unquoted.size() <= field.size());
        start += field.size();
        if (i < count) {
            if (start < line.size()) {
                Require(line[start] == ',');
                ++start;
            } else {
                // An unclosed quote took the last separator into its field;
                // the line still ends in one, so an empty field follows.
                Require(i + 1 == count && full.FieldView(count).empty() && line.back() == ',');
            }
        }
    }
    Require(start == line.size());

    const std::vector<std::string> reference = ReferenceSplit(std::string(line), ',', '"');
    Require(reference.size() == static_cast<std::size_t>(count));
    for (int i = 1; i <= count; ++i) {
        Require(full.FieldView(i) == reference[static_cast<std::size_t>(i) - 1]);
    }

    // The loader's splitter finds the same fields, those chosen by the bits
    // of the first byte.
    std::vector<std::size_t> columns;
    for (std::size_t bit = 0; bit < 8; ++bit) {
        if ((data[0] >> bit & 1u) != 0) {
            columns.push_back(bit + 1);
        }
    }
    CCsvLine splitter(" ", ',', '"');
    const auto chosen = splitter.SplitChosenFields(line, columns);
    Require(chosen.size() == columns.size());
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const std::string_view text = chosen[i].text;
        Require(text == full.FieldView(static_cast<int>(columns[i])));
        const auto quotes = std::count(text.begin(), text.end(), '"');
        const bool atEnds = quotes == 2 && text.front() == '"' && text.back() == '"';
        Require(chosen[i].quotes == (quotes == 0 ? FieldQuotes::None
                                     : atEnds    ? FieldQuotes::AtBothEndsOnly
                                                 : FieldQuotes::Elsewhere));
    }

    // Without quoting and without splitting.
    const CCsvLine plain(line, ',', '\0');
    Require(plain.GetFieldCount() >= count);
    const CCsvLine whole(line, '\0', '"');
    Require(whole.GetFieldCount() == 1 && whole.FieldView(1) == line);

    ColumnMap map;
    const ColumnPresence present = BuildColumnMap(line, map);
    for (int slot = 1; slot <= kKnownColumnCount; ++slot) {
        const int column = map[static_cast<std::size_t>(slot)];
        if (present.test(static_cast<std::size_t>(slot))) {
            Require(column >= 1 && column <= count);
        } else {
            Require(column == kNoColumn);
        }
    }
    return 0;
}
