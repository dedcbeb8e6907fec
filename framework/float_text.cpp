#include "framework/float_text.h"

#include <charconv>

#include "text/number_text.h"
#include "text/trim.h"

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digits from `pos` on; returns how many.
std::size_t SkipDigits(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos])) {
        ++pos;
    }
    return pos - start;
}

bool IsDecimalNumber(std::string_view text) {
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        ++pos;
    }
    std::size_t digits = SkipDigits(text, pos);
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        digits += SkipDigits(text, pos);
    }
    if (digits == 0) {
        return false;
    }
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
            ++pos;
        }
        if (SkipDigits(text, pos) == 0) {
            return false;
        }
    }
    return pos == text.size();
}

}  // namespace

std::string FloatToDialogText(float value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                      std::chars_format::general, 6);
    return std::string(buffer, result.ptr);
}

std::optional<float> DialogTextToFloat(std::string_view text) {
    const std::string_view number = TrimSpacesAndTabs(text);
    if (!IsDecimalNumber(number)) {
        return std::nullopt;
    }
    // The syntax is checked, so the atof-like conversion reads all of it.
    return DecimalTextToFloat(number);
}
