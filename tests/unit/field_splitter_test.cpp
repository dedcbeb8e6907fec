// The loader's fast field splitter must split every line exactly as the
// general line splitter does.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "minedata/csv_line.h"
#include "minedata/field_splitter.h"

namespace {

// Field `index` as CCsvLine gives it; missing fields read as empty.
void ExpectSameFields(const std::string& line, std::size_t maxFields) {
    const CCsvLine reference(line, ',', '"');
    std::vector<std::string_view> room;
    const auto fields = SplitLeadingFields(line, maxFields, ',', '"', room);
    ASSERT_FALSE(fields.empty());
    EXPECT_EQ(fields[0], line);
    ASSERT_LE(fields.size(), maxFields + 1);
    for (std::size_t i = 1; i <= maxFields + 1; ++i) {
        const std::string_view got = i < fields.size() ? fields[i] : std::string_view();
        const std::string_view want =
            i <= maxFields ? reference.FieldView(static_cast<int>(i)) : std::string_view();
        ASSERT_EQ(got, want) << "field " << i << " of [" << line << "], first " << maxFields;
    }
}

TEST(FieldSplitterTest, AgreesWithTheLineSplitterOnChosenLines) {
    for (const std::string line :
         {"", ",", ",,", "a", "a,b", "a,b,", "\"a,b\",c", "\"a\"\"b\",c", "\"a\"x\"y,z\",w",
          "ab\"c,d", "\"unclosed,x,y", "12345678,9", "1234567,89", "123456789012345,x",
          "\"\",\"\",", "x,\"y\"", ",,,,,,,,,,,,,,,,,,"}) {
        for (const std::size_t maxFields : {0u, 1u, 2u, 3u, 50u}) {
            ExpectSameFields(line, maxFields);
        }
    }
}

TEST(FieldSplitterTest, AgreesWithTheLineSplitterOnRandomLines) {
    // Lines of commas, quotes and letters at every offset within the chunks
    // the splitter reads, across their bounds, from a fixed sequence.
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
        ExpectSameFields(line, next() % 120);
    }
}

TEST(FieldSplitterTest, LooksNoFurtherThanTheFieldsWanted) {
    // Ten million separators, of which two fields are wanted.
    const std::string line = "a,b" + std::string(10'000'000, ',');
    std::vector<std::string_view> room;
    const auto fields = SplitLeadingFields(line, 2, ',', '"', room);
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_LE(room.size(), 3u);
    EXPECT_EQ(fields[1], "a");
    EXPECT_EQ(fields[2], "b");
}

}  // namespace
