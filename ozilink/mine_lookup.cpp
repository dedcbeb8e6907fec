#include "ozilink/mine_lookup.h"

#include <cmath>

#include "text/number_text.h"

float SensitivityFromText(std::string_view text) {
    return DecimalTextToFloat(text.substr(0, kSensitivityTextLimit));
}

std::optional<std::size_t> FindMineAt(const CMineArray& mines, double latitude, double longitude,
                                      float sensitivity) {
    const double tolerance = sensitivity;
    const auto coordinates = mines.Coordinates();
    for (std::size_t i = 1; i < coordinates.size(); ++i) {
        // The longitude is looked at only when the latitude already matches.
        if (tolerance > std::fabs(static_cast<double>(coordinates[i].latitude) - latitude) &&
            tolerance > std::fabs(static_cast<double>(coordinates[i].longitude) - longitude)) {
            return i;
        }
    }
    return std::nullopt;
}
