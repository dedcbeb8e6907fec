#include "find/query_values.h"

#include <cmath>

#include "minedata/number_text.h"

std::optional<double> ParseDegrees(std::string_view text, double limit, std::string& error) {
    const std::optional<double> value = ParseWholeDecimal(text);
    if (!value) {
        error = "not a decimal number: " + std::string(text);
        return std::nullopt;
    }
    if (!(std::fabs(*value) <= limit)) {
        const std::string bound = std::to_string(static_cast<int>(limit));
        error = "outside -" + bound + " to " + bound + ": " + std::string(text);
        return std::nullopt;
    }
    return value;
}

std::optional<std::size_t> ParseMineCount(std::string_view text, std::string& error) {
    // At most 15 digits: the value fits any std::size_t of 64 bits and is
    // exact in a double.
    const bool digits = !text.empty() && text.size() <= 15 &&
                        text.find_first_not_of("0123456789") == std::string_view::npos;
    if (!digits || text.find_first_not_of('0') == std::string_view::npos) {
        error = "expected a whole number of mines, 1 or more: " + std::string(text);
        return std::nullopt;
    }
    unsigned long long count = 0;
    for (const char c : text) {
        count = count * 10 + static_cast<unsigned>(c - '0');
    }
    if (count > static_cast<unsigned long long>(static_cast<std::size_t>(-1))) {
        return static_cast<std::size_t>(-1);
    }
    return static_cast<std::size_t>(count);
}

std::optional<double> ParseDistanceKm(std::string_view text, std::string& error) {
    const std::optional<double> value = ParseWholeDecimal(text);
    if (!value || !(*value >= 0)) {
        error = "expected a distance of 0 km or more: " + std::string(text);
        return std::nullopt;
    }
    return value;
}

std::optional<double> ParseCorridorKm(std::string_view text, std::string& error) {
    const std::optional<double> value = ParseWholeDecimal(text);
    if (!value || !(*value >= 0 && *value <= kMaxCorridorKm)) {
        error = "expected a distance from 0 to 1000 km: " + std::string(text);
        return std::nullopt;
    }
    return value;
}
