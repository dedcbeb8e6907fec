#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "csv/csv_line.h"

namespace {

std::vector<std::string> Fields(const CCsvLine& line, bool removeQuotes) {
    std::vector<std::string> fields;
    for (int i = 1; i <= line.GetFieldCount(); ++i) {
        fields.push_back(line.GetField(i, removeQuotes));
    }
    return fields;
}

// The splitting rules written the straightforward way: take a field off the
// front of a copy of the rest of the line, again and again. Quadratic, but
// obviously right; the splitter must give the same fields.
std::vector<std::string> ReferenceSplit(const std::string& line, char separator, char quote) {
    std::vector<std::string> fields;
    if (separator == '\0') {
        return {line};
    }
    const bool trailingEmpty = line.empty() || line.back() == separator;
    std::string rest = line;
    while (!rest.empty()) {
        const std::size_t pos = rest.find(separator);
        if (pos == std::string::npos) {
            fields.push_back(rest);
            rest.clear();
        } else if (quote == '\0' || rest[0] != quote) {
            fields.push_back(rest.substr(0, pos));
            rest = rest.substr(pos + 1);
        } else {
            std::size_t i = 0;
            bool inside = true;
            bool complete = false;
            std::string field;
            for (;;) {
                const char ch = rest[i];
                if (inside) {
                    field += ch;
                    ++i;
                    if (ch == quote && i > 1) {
                        if (i < rest.size() && rest[i] == quote) {
                            field += rest[i];
                            ++i;
                        } else {
                            inside = false;
                        }
                    }
                } else if (ch == separator) {
                    complete = true;
                } else {
                    field += ch;
                    ++i;
                }
                if (i == rest.size()) {
                    rest.clear();
                    break;
                }
                if (complete) {
                    rest = rest.substr(i + 1);
                    break;
                }
            }
            fields.push_back(field);
        }
    }
    if (trailingEmpty) {
        fields.emplace_back();
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

}  // namespace
