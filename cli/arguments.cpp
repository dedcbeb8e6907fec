#include "cli/arguments.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <string>
#include <vector>

std::optional<double> ParseNumber(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);  // from_chars takes no plus sign
    }
    // from_chars also reads "inf", "nan" and hexadecimal-free forms; only the
    // decimal ones are wanted, and those always start with a digit or a point.
    const std::size_t start = !text.empty() && text.front() == '-' ? 1 : 0;
    if (start >= text.size() ||
        !(std::isdigit(static_cast<unsigned char>(text[start])) || text[start] == '.')) {
        return std::nullopt;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<BoundingBox> ParseBoundingBox(std::string_view text) {
    std::vector<double> values;
    for (;;) {
        const std::size_t comma = text.find(',');
        const auto value = ParseNumber(text.substr(0, comma));
        if (!value) {
            return std::nullopt;
        }
        values.push_back(*value);
        if (comma == std::string_view::npos) {
            break;
        }
        text.remove_prefix(comma + 1);
    }
    if (values.size() != 4) {
        return std::nullopt;
    }
    const BoundingBox box{values[0], values[1], values[2], values[3]};
    if (box.south > box.north || box.west > box.east) {
        return std::nullopt;
    }
    return box;
}

CLI::Validator NumberArgument() {
    return CLI::Validator(
        [](const std::string& text) {
            return ParseNumber(text) ? std::string() : "not a decimal number: " + text;
        },
        "NUMBER");
}

CLI::Validator BoundingBoxArgument() {
    return CLI::Validator(
        [](const std::string& text) {
            return ParseBoundingBox(text)
                       ? std::string()
                       : "expected SOUTH,WEST,NORTH,EAST with SOUTH <= NORTH and WEST <= EAST: " +
                             text;
        },
        "SOUTH,WEST,NORTH,EAST");
}
