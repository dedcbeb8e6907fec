#include "cli/arguments.h"

#include <string>
#include <vector>

#include "minedata/number_text.h"

std::optional<double> ParseNumber(std::string_view text) {
    return ParseDecimalNumber(text);
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
