#include "cli/arguments.h"

#include <string>

#include "text/number_text.h"

CLI::Validator NumberArgument() {
    return CLI::Validator(
        [](const std::string& text) {
            return ParseWholeDecimal(text) ? std::string() : "not a decimal number: " + text;
        },
        "NUMBER");
}
