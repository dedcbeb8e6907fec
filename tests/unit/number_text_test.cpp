#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

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
