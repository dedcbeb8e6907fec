#include "cli/arguments.h"

#include <string>

#include "minedata/number_text.h"

CLI::Validator NumberArgument() {
    return CLI::Validator(
        [](const std::string& text) {
            return ParseWholeDecimal(text) ? std::string() : "not a decimal number: " + text;
        },
        "NUMBER");
}
