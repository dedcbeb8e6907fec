#include "points/query_point.h"

#include <cmath>
#include <optional>

#include "text/number_text.h"

namespace {

constexpr std::size_t kQuotedTextLimit = 40;

// The text in quotes when it can be shown safely in any output; a
// placeholder otherwise (too long, control characters, 8-bit bytes).
std::string Quoted(std::string_view text) {
    if (text.size() > kQuotedTextLimit) {
        return "a text of " + std::to_string(text.size()) + " bytes";
    }
    for (const char c : text) {
        if (c < ' ' || c > '~') {
            return "a text that is not printable";
        }
    }
    return "'" + std::string(text) + "'";
}

std::optional<double> ReadDegrees(std::string_view text, std::string_view name, double limit,
                                  QueryPoint& point) {
    const std::optional<double> value = ParseWholeDecimal(text);
    if (!value) {
        point.error = name;
        point.error += text.empty() ? " is missing" : " is not a decimal number: " + Quoted(text);
        return std::nullopt;
    }
    if (!(std::fabs(*value) <= limit)) {
        const std::string bound = limit == 90.0 ? "90" : "180";
        point.error = std::string(name) + " " + Quoted(text) + " is outside -" + bound + " to " +
                      bound + " degrees";
        return std::nullopt;
    }
    return value;
}

}  // namespace

void ReadPosition(std::string_view latitudeText, std::string_view longitudeText,
                  QueryPoint& point) {
    point.error.clear();
    const auto latitude = ReadDegrees(latitudeText, "latitude", 90.0, point);
    if (!latitude) {
        return;
    }
    const auto longitude = ReadDegrees(longitudeText, "longitude", 180.0, point);
    if (!longitude) {
        return;
    }
    point.latitude = *latitude;
    point.longitude = *longitude;
}
