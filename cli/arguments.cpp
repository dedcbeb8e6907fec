#include "cli/arguments.h"

#include <string>

#include "text/number_text.h"

CLI::Validator NumberArgument(double& value) {
    return CLI::Validator(
        [&value](const std::string& text) {
            const auto number = ParseWholeDecimal(text);
            if (!number) {
                return "not a decimal number: " + text;
            }
            value = *number;
            return std::string();
        },
        "NUMBER");
}
