#include "framework/float_text.h"

#include <charconv>

#include "text/number_text.h"
#include "text/trim.h"

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
