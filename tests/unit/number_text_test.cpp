#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "framework/float_text.h"
#include "text/number_text.h"

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(DecimalTextToInt32Test, LeadingDecimalNumber) {
    EXPECT_EQ(DecimalTextToInt32("123"), 123);
    EXPECT_EQ(DecimalTextToInt32("-5"), -5);
    EXPECT_EQ(DecimalTextToInt32("+7"), 7);
    EXPECT_EQ(DecimalTextToInt32("12abc"), 12);
    EXPECT_EQ(DecimalTextToInt32("007"), 7);
    EXPECT_EQ(DecimalTextToInt32("1e3"), 1);
    EXPECT_EQ(DecimalTextToInt32("3.9"), 3);
    EXPECT_EQ(DecimalTextToInt32(" \t\n\v\f\r42"), 42);
    EXPECT_EQ(DecimalTextToInt32("-0"), 0);
}

TEST(DecimalTextToInt32Test, NoNumberGivesZero) {
    EXPECT_EQ(DecimalTextToInt32(""), 0);
    EXPECT_EQ(DecimalTextToInt32("abc"), 0);
    EXPECT_EQ(DecimalTextToInt32("\"45\""), 0);
    EXPECT_EQ(DecimalTextToInt32("- 5"), 0);
    EXPECT_EQ(DecimalTextToInt32("+-5"), 0);
    EXPECT_EQ(DecimalTextToInt32("0x10"), 0);
    EXPECT_EQ(DecimalTextToInt32("\xA0"
                                 "5"),
              0);
}

TEST(DecimalTextToInt32Test, ClampsToThe32BitRange) {
    EXPECT_EQ(DecimalTextToInt32("2147483647"), 2147483647);
    EXPECT_EQ(DecimalTextToInt32("2147483648"), 2147483647);
    EXPECT_EQ(DecimalTextToInt32("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(DecimalTextToInt32("-2147483649"), -2147483647 - 1);
    EXPECT_EQ(DecimalTextToInt32(std::string(400, '9')), 2147483647);
    EXPECT_EQ(DecimalTextToInt32("-" + std::string(400, '9') + "x"), -2147483647 - 1);
    EXPECT_EQ(DecimalTextToInt32(std::string(400, '0') + "17"), 17);
}

TEST(DecimalTextToFloatTest, LeadingDecimalNumber) {
    EXPECT_EQ(DecimalTextToFloat("34.5"), 34.5f);
    EXPECT_EQ(DecimalTextToFloat("-112.25"), -112.25f);
    EXPECT_EQ(DecimalTextToFloat("45.5N"), 45.5f);
    EXPECT_EQ(DecimalTextToFloat("  +2.5"), 2.5f);
    EXPECT_EQ(DecimalTextToFloat(".5"), 0.5f);
    EXPECT_EQ(DecimalTextToFloat("5."), 5.0f);
    EXPECT_EQ(DecimalTextToFloat("1.5e3x"), 1500.0f);
    EXPECT_EQ(DecimalTextToFloat("2E-1"), 0.2f);
    EXPECT_EQ(DecimalTextToFloat("1e"), 1.0f);
    EXPECT_EQ(DecimalTextToFloat("1e+"), 1.0f);
    EXPECT_EQ(DecimalTextToFloat("7.-3"), 7.0f);
    // Rounded once, from the double, to the nearest float.
    EXPECT_EQ(DecimalTextToFloat("0.1"), 0.1f);
    EXPECT_EQ(DecimalTextToDouble("0.1"), 0.1);

    const float negativeZero = DecimalTextToFloat("-0");
    EXPECT_EQ(negativeZero, 0.0f);
    EXPECT_TRUE(std::signbit(negativeZero));
}

TEST(DecimalTextToFloatTest, NoDecimalNumberGivesZero) {
    for (const char* text : {"", "abc", ".", "-", "+.", "e5", "\"45.5\"", "nan", "NAN", "inf",
                             "-Infinity", "0x10", "0X1p3"}) {
        EXPECT_EQ(DecimalTextToDouble(text), 0.0) << text;
        EXPECT_EQ(DecimalTextToFloat(text), 0.0f) << text;
    }
}

TEST(DecimalTextToFloatTest, OutOfRange) {
    EXPECT_EQ(DecimalTextToDouble("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(DecimalTextToFloat("1e400"), kInf);
    EXPECT_EQ(DecimalTextToFloat("-1e400"), -kInf);
    EXPECT_EQ(DecimalTextToDouble("1e-400"), 0.0);
    EXPECT_EQ(DecimalTextToFloat("1e-46"), 0.0f);
    EXPECT_EQ(DecimalTextToFloat("1" + std::string(400, '0')), kInf);

    // Doubles beyond FLT_MAX round to it until halfway to the next power of
    // two, which rounds to infinity.
    EXPECT_EQ(DecimalTextToFloat("3.4028234663852886e38"), FLT_MAX);
    EXPECT_EQ(DecimalTextToFloat("3.4028235e38"), FLT_MAX);
    EXPECT_EQ(DecimalTextToFloat("3.4028235677973362e38"), FLT_MAX);
    EXPECT_EQ(DecimalTextToFloat("-3.4028235677973362e38"), -FLT_MAX);
    EXPECT_EQ(DecimalTextToFloat("3.4028235677973366e38"), kInf);
    EXPECT_EQ(DecimalTextToFloat("-3.4028235677973366e38"), -kInf);
    EXPECT_EQ(DecimalTextToFloat("1e39"), kInf);
    EXPECT_EQ(DecimalTextToFloat("1e308"), kInf);
}

// A typed number is the whole text in the grammar of the field numbers; the
// dialog's float also takes blanks around it and gives an out-of-range value
// as the float it rounds to, where the typed value is refused.
TEST(WholeDecimalTest, OneGrammarForTypedValuesAndTheDialog) {
    struct Case {
        const char* text;
        std::optional<double> whole;
        std::optional<float> dialog;
    };
    const std::optional<double> none;
    const std::optional<float> noFloat;
    const Case cases[] = {
        {"12.5", 12.5, 12.5f},   {"+2", 2.0, 2.0f},        {"-.5", -0.5, -0.5f},
        {"5.", 5.0, 5.0f},       {"1e3", 1000.0, 1000.0f}, {"1E-1", 0.1, 0.1f},
        {" 7\t", none, 7.0f},    {"", none, noFloat},      {".", none, noFloat},
        {"-", none, noFloat},    {"1e", none, noFloat},    {"1e+", none, noFloat},
        {"e5", none, noFloat},   {"+-1", none, noFloat},   {"--1", none, noFloat},
        {"1,5", none, noFloat},  {"1 2", none, noFloat},   {"12abc", none, noFloat},
        {"0x10", none, noFloat}, {"inf", none, noFloat},   {"-nan", none, noFloat},
        {"1e400", none, kInf},   {"1e-400", none, 0.0f},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseWholeDecimal(c.text), c.whole) << c.text;
        EXPECT_EQ(DialogTextToFloat(c.text), c.dialog) << c.text;
    }
}

TEST(DecimalTextToDoubleTest, AgreesWithFromCharsToTheLastBit) {
    // Short decimals take a quicker way than long ones; both must give the
    // correctly rounded value. Random digits, points and signs, from a fixed
    // sequence, around the 15 digits where the ways part.
    std::uint64_t state = 11;
    const auto next = [&state] {
        state = state * 6364136223846793005u + 1442695040888963407u;
        return static_cast<unsigned>(state >> 33);
    };
    for (int round = 0; round < 200000; ++round) {
        std::string text = next() % 2 == 0 ? "-" : "";
        const unsigned digits = 1 + next() % 18;
        const unsigned point = next() % (digits + 1);
        for (unsigned i = 0; i < digits; ++i) {
            if (i == point && i != 0) {
                text += '.';
            }
            text += static_cast<char>('0' + next() % 10);
        }
        double expected = 0.0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        const double got = DecimalTextToDouble(text);
        ASSERT_EQ(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(expected))
            << text;
    }
    // Signed zeros and the edges of the quick way.
    EXPECT_TRUE(std::signbit(DecimalTextToDouble("-0.000")));
    EXPECT_EQ(DecimalTextToDouble("999999999999999"), 999999999999999.0);
    EXPECT_EQ(DecimalTextToDouble(".000000000000001"), 1e-15);
    EXPECT_EQ(DecimalTextToDouble("43.32924x"), 43.32924);
}

}  // namespace
