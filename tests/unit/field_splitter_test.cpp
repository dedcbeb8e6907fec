// The loader's fast field splitter must split every line exactly as the
// general line splitter does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "csv/csv_line.h"
#include "csv/field_splitter.h"

namespace {

// Where the quotes of `text` are, judged byte by byte.
FieldQuotes QuotesOf(std::string_view text) {
    const auto count = std::count(text.begin(), text.end(), '"');
    if (count == 0) {
        return FieldQuotes::None;
    }
    const bool atEnds = count == 2 && text.size() >= 2 && text.front() == '"' && text.back() == '"';
    return atEnds ? FieldQuotes::AtBothEndsOnly : FieldQuotes::Elsewhere;
}

// The fields numbered in `columns` as CCsvLine gives them, missing fields
// read as empty, and where their quotes are.
void ExpectSameFields(const std::string& line, const std::vector<std::size_t>& columns) {
    const CCsvLine reference(line, ',', '"');
    std::vector<ChosenField> room(3, {"stale", FieldQuotes::Elsewhere});
    const auto fields = SplitChosenFields(line, columns, ',', '"', room);
    ASSERT_EQ(fields.size(), columns.size());
    for (std::size_t i = 0; i < columns.size(); ++i) {
        ASSERT_EQ(fields[i].text, reference.FieldView(static_cast<int>(columns[i])))
            << "field " << columns[i] << " of [" << line << "]";
        ASSERT_EQ(fields[i].quotes, QuotesOf(fields[i].text))
            << "field " << columns[i] << " of [" << line << "]";
    }
}

// Fields 1 to n.
std::vector<std::size_t> FirstFields(std::size_t n) {
    std::vector<std::size_t> columns;
    for (std::size_t column = 1; column <= n; ++column) {
        columns.push_back(column);
    }
    return columns;
}

TEST(FieldSplitterTest, AgreesWithTheLineSplitterOnChosenLines) {
    for (const std::string line :
         {"", ",", ",,", "a", "a,b", "a,b,", "\"a,b\",c", "\"a\"\"b\",c", "\"a\"x\"y,z\",w",
          "ab\"c,d", "\"unclosed,x,y", "12345678,9", "1234567,89", "123456789012345,x",
          "\"\",\"\",", "x,\"y\"", ",,,,,,,,,,,,,,,,,,"}) {
        for (const std::size_t n : {0u, 1u, 2u, 3u, 50u}) {
            ExpectSameFields(line, FirstFields(n));
        }
        ExpectSameFields(line, {2, 2, 4});
    }
}

TEST(FieldSplitterTest, AgreesWithTheLineSplitterOnRandomLines) {
    // Lines of commas, quotes and letters at every offset within the chunks
    // the splitter reads, across their bounds, and random choices of
    // fields, from a fixed sequence.
    std::uint32_t state = 7;
    const auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    // '-' is the separator's code plus one, where a carry could mark a false match.
    const char alphabet[] = {',', ',', '"', '-', 'a', 'b', ' ', '\xE9'};
    for (int round = 0; round < 3000; ++round) {
        std::string line(next() % 200, ' ');
        for (char& c : line) {
            c = alphabet[next() % sizeof alphabet];
        }
        std::vector<std::size_t> columns;
        for (std::size_t column = 1; column < 130; column += 1 + next() % 12) {
            columns.push_back(column);
        }
        ExpectSameFields(line, columns);
    }
}

TEST(FieldSplitterTest, KeepsOnlyTheFieldsChosen) {
    // Ten million separators, of which two fields before and one after are
    // wanted: the fields between take no room.
    const std::string line = "a,b" + std::string(10'000'000, ',') + "z";
    const std::vector<std::size_t> columns = {1, 2, 10'000'002, 10'000'003};
    std::vector<ChosenField> room;
    const auto fields = SplitChosenFields(line, columns, ',', '"', room);
    ASSERT_EQ(fields.size(), 4u);
    EXPECT_EQ(fields[0].text, "a");
    EXPECT_EQ(fields[1].text, "b");
    EXPECT_EQ(fields[2].text, "z");
    EXPECT_EQ(fields[3].text, "");
    EXPECT_EQ(room.size(), 4u);
}

TEST(FieldSplitterTest, WithoutSeparatorTheLineIsFieldOne) {
    std::vector<ChosenField> room;
    const std::vector<std::size_t> columns = {0, 1, 2};
    const auto fields = SplitChosenFields("a,\"b", columns, '\0', '"', room);
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_EQ(fields[0].text, "");
    EXPECT_EQ(fields[1].text, "a,\"b");
    EXPECT_EQ(fields[1].quotes, FieldQuotes::Elsewhere);
    EXPECT_EQ(fields[2].text, "");
}

}  // namespace
