#include "text/number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

namespace {

bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view SkipSpace(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i])) {
        ++i;
    }
    return text.substr(i);
}

std::size_t CountDigits(std::string_view text, std::size_t from) {
    std::size_t i = from;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
    }
    return i - from;
}

// Length of the longest prefix of `text` that is a decimal floating-point
// number: [sign] digits [. digits] [e [sign] digits], at least one digit in
// the mantissa. 0 when there is none.
std::size_t DecimalNumberLength(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    const std::size_t integerDigits = CountDigits(text, i);
    i += integerDigits;
    std::size_t fractionDigits = 0;
    if (i < text.size() && text[i] == '.') {
        fractionDigits = CountDigits(text, i + 1);
        if (integerDigits + fractionDigits > 0) {
            i += 1 + fractionDigits;
        }
    }
    if (integerDigits + fractionDigits == 0) {
        return 0;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        const std::size_t exponentDigits = CountDigits(text, j);
        if (exponentDigits > 0) {
            i = j + exponentDigits;
        }
    }
    return i;
}

// A decimal number without exponent and of at most 15 digits, such as a
// coordinate, converted in one step: its digits make an exact double, and
// so does 10^k for k <= 22, so a single division rounds correctly, exactly
// as from_chars does. Nothing for any other number. `number` is a valid
// decimal prefix without '+'.
std::optional<double> ShortDecimalToDouble(std::string_view number) {
    constexpr int kMaxDigits = 15;
    static constexpr std::array<double, kMaxDigits + 1> kPowersOfTen = {
        1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    std::size_t i = 0;
    const bool negative = number.front() == '-';
    if (negative) {
        ++i;
    }
    std::uint64_t significand = 0;
    int digits = 0;
    int fractionDigits = 0;
    bool inFraction = false;
    for (; i < number.size(); ++i) {
        const char c = number[i];
        if (c == '.') {
            inFraction = true;
            continue;
        }
        if (!IsDigit(c) || ++digits > kMaxDigits) {
            return std::nullopt;
        }
        significand = significand * 10 + static_cast<std::uint64_t>(c - '0');
        fractionDigits += inFraction ? 1 : 0;
    }
    const double value = static_cast<double>(significand) / kPowersOfTen[fractionDigits];
    return negative ? -value : value;
}

}  // namespace

int32_t DecimalTextToInt32(std::string_view text) {
    text = SkipSpace(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate as a negative number, which has room for the full range.
    constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
    int64_t value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kMax + 1) {
            value = kMax + 1;  // saturated; further digits change nothing
        }
    }
    if (negative) {
        return static_cast<int32_t>(-value < kMin ? kMin : -value);
    }
    return static_cast<int32_t>(value > kMax ? kMax : value);
}

double DecimalTextToDouble(std::string_view text) {
    text = SkipSpace(text);
    const std::size_t length = DecimalNumberLength(text);
    if (length == 0) {
        return 0.0;
    }
    std::string_view number = text.substr(0, length);
    const bool hasPlus = number.front() == '+';
    if (hasPlus) {
        number.remove_prefix(1);  // from_chars accepts no '+'
    }
    if (const std::optional<double> quick = ShortDecimalToDouble(number)) {
        return *quick;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range || end != number.data() + number.size()) {
        // Only range errors reach here (the prefix is a valid number): let
        // strtod decide between infinity and zero, as the C runtime does. The
        // prefix holds no hexadecimal or word forms, so strtod reads it as is.
        const std::string copy(number);
        value = std::strtod(copy.c_str(), nullptr);
    }
    return value;
}

float DecimalTextToFloat(std::string_view text) {
    const double value = DecimalTextToDouble(text);
    constexpr double kFloatMax = std::numeric_limits<float>::max();
    // Half an ulp above FLT_MAX rounds to infinity; converting a value out of
    // the float range is undefined in C++, so settle those cases here.
    const double roundsToInfinity = std::ldexp(1.0, 128) - std::ldexp(1.0, 103);
    if (std::isfinite(value) && std::fabs(value) > kFloatMax) {
        const double magnitude = std::fabs(value) >= roundsToInfinity
                                     ? std::numeric_limits<double>::infinity()
                                     : kFloatMax;
        return static_cast<float>(std::copysign(magnitude, value));
    }
    return static_cast<float>(value);
}

bool IsDecimalNumber(std::string_view text) {
    return !text.empty() && DecimalNumberLength(text) == text.size();
}

std::optional<double> ParseWholeDecimal(std::string_view text) {
    if (!IsDecimalNumber(text)) {
        return std::nullopt;
    }
    if (text.front() == '+') {
        text.remove_prefix(1);  // from_chars takes no plus sign
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}
