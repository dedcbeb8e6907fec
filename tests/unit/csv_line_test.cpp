#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "csv/csv_line.h"
#include "tests/unit/csv_reference_split.h"

namespace {

std::vector<std::string> Fields(const CCsvLine& line, bool removeQuotes) {
    std::vector<std::string> fields;
    for (int i = 1; i <= line.GetFieldCount(); ++i) {
        fields.push_back(line.GetField(i, removeQuotes));
    }
    return fields;
}

struct SplitCase {
    std::string line;
    std::vector<std::string> stored;
    std::vector<std::string> unquoted;
};

// Without it GoogleTest prints the case's raw bytes, unset padding included.
void PrintTo(const SplitCase& c, std::ostream* out) {
    *out << "line \"" << c.line << '"';
}

// In the lines below ' stands for the double quote, to keep them readable.
std::string Q(std::string text) {
    for (char& c : text) {
        if (c == '\'') {
            c = '"';
        }
    }
    return text;
}

class CsvLineSplitTest : public testing::TestWithParam<SplitCase> {};

TEST_P(CsvLineSplitTest, FieldsStoredAndUnquoted) {
    const SplitCase& c = GetParam();
    std::vector<std::string> stored;
    std::vector<std::string> unquoted;
    for (const std::string& field : c.stored) {
        stored.push_back(Q(field));
    }
    for (const std::string& field : c.unquoted) {
        unquoted.push_back(Q(field));
    }
    const CCsvLine line(Q(c.line), ',', '"');
    EXPECT_EQ(Fields(line, false), stored);
    EXPECT_EQ(Fields(line, true), unquoted);
    EXPECT_EQ(ReferenceSplit(Q(c.line), ',', '"'), stored);
}

INSTANTIATE_TEST_SUITE_P(
    QuoteRules, CsvLineSplitTest,
    testing::Values(SplitCase{"a,b,c", {"a", "b", "c"}, {"a", "b", "c"}},
                    SplitCase{"a,,b", {"a", "", "b"}, {"a", "", "b"}},
                    SplitCase{"a,b,", {"a", "b", ""}, {"a", "b", ""}},
                    SplitCase{",a", {"", "a"}, {"", "a"}}, SplitCase{",", {"", ""}, {"", ""}},
                    SplitCase{"", {""}, {""}}, SplitCase{"'x,y',z", {"'x,y'", "z"}, {"x,y", "z"}},
                    SplitCase{"'He said ''hi''',1", {"'He said ''hi'''", "1"}, {"He said hi", "1"}},
                    SplitCase{"'',x", {"''", "x"}, {"", "x"}}, SplitCase{"'a,b", {"'a,b"}, {"a,b"}},
                    SplitCase{"'ab'cd,e", {"'ab'cd", "e"}, {"abcd", "e"}},
                    SplitCase{"ab'c,d", {"ab'c", "d"}, {"abc", "d"}},
                    SplitCase{" 'a,b'", {" 'a", "b'"}, {" a", "b"}},
                    SplitCase{"'a,b',", {"'a,b'", ""}, {"a,b", ""}},
                    // The last byte decides the trailing field, even inside
                    // an unclosed quote.
                    SplitCase{"'a,", {"'a,", ""}, {"a,", ""}}, SplitCase{"'", {"'"}, {""}},
                    SplitCase{"''''", {"''''"}, {""}},
                    SplitCase{"'a''''',b", {"'a'''''", "b"}, {"a", "b"}},
                    SplitCase{" a , b ", {" a ", " b "}, {" a ", " b "}},
                    SplitCase{",,'x',,", {"", "", "'x'", "", ""}, {"", "", "x", "", ""}}));

TEST(CsvLineTest, FieldZeroAndIndexesOutsideTheFields) {
    const CCsvLine line("a,\"b\",c", ',', '"');
    ASSERT_EQ(line.GetFieldCount(), 3);
    EXPECT_EQ(line.GetField(0, false), "a,\"b\",c");
    EXPECT_EQ(line.GetField(0, true), "a,b,c");
    EXPECT_EQ(line.GetField(4, false), "");
    EXPECT_EQ(line.GetField(999, true), "");
    EXPECT_EQ(line.GetField(-1, false), "");
    EXPECT_EQ(line.FieldView(-5), "");
    EXPECT_EQ(line.FieldView(4), "");
}

TEST(CsvLineTest, SeparatorOrQuoteZero) {
    const CCsvLine whole("a,\"b,c\"", '\0', '"');
    ASSERT_EQ(whole.GetFieldCount(), 1);
    EXPECT_EQ(whole.GetField(1, false), "a,\"b,c\"");

    const CCsvLine unquoted("\"x,y\",z", ',', '\0');
    EXPECT_EQ(Fields(unquoted, false), (std::vector<std::string>{"\"x", "y\"", "z"}));
    // Without a quote character nothing is removed.
    EXPECT_EQ(unquoted.GetField(1, true), "\"x");
}

TEST(CsvLineTest, NewLineReplacesEveryField) {
    CCsvLine line(" ", ',', '"');
    EXPECT_EQ(line.GetFieldCount(), 1);
    line.SetLine("a,b,c,d", ',', '"');
    line.SetLine("x", ',', '"');
    EXPECT_EQ(line.GetFieldCount(), 1);
    EXPECT_EQ(line.GetField(2, false), "");
    EXPECT_EQ(line.GetField(1, false), "x");
    line.Clear();
    EXPECT_EQ(line.GetFieldCount(), 0);
    EXPECT_EQ(line.GetField(0, false), "");
}

TEST(CsvLineTest, LineTakenFromItsOwnField) {
    CCsvLine line("a,\"b,c\",d", ',', '"');
    line.SetLine(line.FieldView(2), ',', '\0');
    EXPECT_EQ(Fields(line, false), (std::vector<std::string>{"\"b", "c\""}));
}

TEST(CsvLineTest, BytesAreNotCharacters) {
    const std::string text("\xE9t\xE9,\0x,\xFF", 8);
    const CCsvLine line(text, ',', '"');
    EXPECT_EQ(Fields(line, false),
              (std::vector<std::string>{"\xE9t\xE9", std::string("\0x", 2), "\xFF"}));
}

TEST(CsvLineTest, AgreesWithTheStraightforwardSplitOnRandomLines) {
    std::mt19937 random(12345);
    const std::string alphabet = "a,\" ";
    for (int round = 0; round < 20000; ++round) {
        std::string text(random() % 12, ' ');
        for (char& c : text) {
            c = alphabet[random() % alphabet.size()];
        }
        const CCsvLine line(text, ',', '"');
        ASSERT_EQ(Fields(line, false), ReferenceSplit(text, ',', '"')) << "line: " << text;
    }
}

// These would take hours if each field copied the rest of the line.
TEST(CsvLineTest, HugeLinesSplitInLinearTime) {
    std::string many;
    for (int i = 0; i < 100000; ++i) {
        many += std::to_string(i);
        many += ',';
    }
    const CCsvLine fields(many, ',', '"');
    ASSERT_EQ(fields.GetFieldCount(), 100001);
    EXPECT_EQ(fields.GetField(1, false), "0");
    EXPECT_EQ(fields.GetField(100000, false), "99999");
    EXPECT_EQ(fields.GetField(100001, false), "");

    std::string commas(10'000'000, ',');
    const CCsvLine empties(commas, ',', '"');
    EXPECT_EQ(empties.GetFieldCount(), 10'000'001);

    // One quoted field of 10 MB full of separators and doubled quotes.
    std::string quoted = "\"";
    while (quoted.size() < 10'000'000) {
        quoted += "x,\"\"";
    }
    quoted += "\",end";
    const CCsvLine longField(quoted, ',', '"');
    ASSERT_EQ(longField.GetFieldCount(), 2);
    EXPECT_EQ(longField.FieldView(1).size(), quoted.size() - 4);
    EXPECT_EQ(longField.GetField(2, false), "end");
}

// Where the quotes of `text` are, judged byte by byte.
FieldQuotes QuotesOf(std::string_view text) {
    const auto count = std::count(text.begin(), text.end(), '"');
    if (count == 0) {
        return FieldQuotes::None;
    }
    const bool atEnds = count == 2 && text.size() >= 2 && text.front() == '"' && text.back() == '"';
    return atEnds ? FieldQuotes::AtBothEndsOnly : FieldQuotes::Elsewhere;
}

// The fields numbered in `columns` as the reference split gives them,
// missing fields read as empty, and where their quotes are; the whole line
// split by the same splitter agrees too.
void ExpectChosenFields(CCsvLine& splitter, const std::string& line,
                        const std::vector<std::size_t>& columns) {
    const std::vector<std::string> reference = ReferenceSplit(line, ',', '"');
    const auto fields = splitter.SplitChosenFields(line, columns);
    ASSERT_EQ(fields.size(), columns.size());
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const std::string expected =
            columns[i] <= reference.size() ? reference[columns[i] - 1] : std::string();
        ASSERT_EQ(fields[i].text, expected) << "field " << columns[i] << " of [" << line << "]";
        ASSERT_EQ(fields[i].quotes, QuotesOf(expected))
            << "field " << columns[i] << " of [" << line << "]";
    }
    splitter.SetLine(line, ',', '"');
    ASSERT_EQ(Fields(splitter, false), reference) << "line: " << line;
}

// Fields 1 to n.
std::vector<std::size_t> FirstFields(std::size_t n) {
    std::vector<std::size_t> columns;
    for (std::size_t column = 1; column <= n; ++column) {
        columns.push_back(column);
    }
    return columns;
}

TEST(CsvLineTest, ChosenFieldsOfChosenLines) {
    CCsvLine splitter(" ", ',', '"');
    for (const std::string line :
         {"", ",", ",,", "a", "a,b", "a,b,", "\"a,b\",c", "\"a\"\"b\",c", "\"a\"x\"y,z\",w",
          "ab\"c,d", "\"unclosed,x,y", "12345678,9", "1234567,89", "123456789012345,x",
          "\"\",\"\",", "x,\"y\"", ",,,,,,,,,,,,,,,,,,"}) {
        for (const std::size_t n : {0u, 1u, 2u, 3u, 50u}) {
            ExpectChosenFields(splitter, line, FirstFields(n));
        }
        ExpectChosenFields(splitter, line, {2, 2, 4});
    }
}

TEST(CsvLineTest, ChosenFieldsOfRandomLinesAcrossChunks) {
    // Lines of commas, quotes and letters at every offset within the 64-byte
    // chunks the splitter reads, across their bounds, and random choices of
    // fields, from a fixed sequence.
    std::uint32_t state = 7;
    const auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    // '-' is the separator's code plus one, where a carry could mark a false match.
    const char alphabet[] = {',', ',', '"', '-', 'a', 'b', ' ', '\xE9'};
    CCsvLine splitter(" ", ',', '"');
    for (int round = 0; round < 3000; ++round) {
        std::string line(next() % 200, ' ');
        for (char& c : line) {
            c = alphabet[next() % sizeof alphabet];
        }
        std::vector<std::size_t> columns;
        for (std::size_t column = 1; column < 130; column += 1 + next() % 12) {
            columns.push_back(column);
        }
        ExpectChosenFields(splitter, line, columns);
    }
}

TEST(CsvLineTest, ChosenFieldsKeepOnlyThoseChosen) {
    // Ten million separators, of which two fields before and one after are
    // wanted: the fields between take no room.
    const std::string line = "a,b" + std::string(10'000'000, ',') + "z";
    const std::vector<std::size_t> columns = {1, 2, 10'000'002, 10'000'003};
    CCsvLine splitter(" ", ',', '"');
    const auto fields = splitter.SplitChosenFields(line, columns);
    ASSERT_EQ(fields.size(), 4u);
    EXPECT_EQ(fields[0].text, "a");
    EXPECT_EQ(fields[1].text, "b");
    EXPECT_EQ(fields[2].text, "z");
    EXPECT_EQ(fields[3].text, "");
    EXPECT_EQ(splitter.GetFieldCount(), 1);
}

TEST(CsvLineTest, ChosenFieldsWithoutSeparatorTheLineIsFieldOne) {
    CCsvLine splitter(" ", '\0', '"');
    const std::vector<std::size_t> columns = {0, 1, 2};
    const auto fields = splitter.SplitChosenFields("a,\"b", columns);
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_EQ(fields[0].text, "");
    EXPECT_EQ(fields[1].text, "a,\"b");
    EXPECT_EQ(fields[1].quotes, FieldQuotes::Elsewhere);
    EXPECT_EQ(fields[2].text, "");
}

}  // namespace
