#include "cli/json_output.h"

#include <cmath>
#include <optional>
#include <string>

#include "infosheet/page_texts.h"
#include "minedata/column_map.h"
#include "text/text_encoding.h"

namespace {

using Json = nlohmann::ordered_json;

Json Coordinate(float value) {
    // JSON has no infinities or NaNs.
    return std::isfinite(value) ? Json(static_cast<double>(value)) : Json(nullptr);
}

Json OptionalText(const std::optional<std::string>& text) {
    return text ? Json(Cp1252ToUtf8(*text)) : Json(nullptr);
}

Json FieldValue(const CMine& mine, int slot) {
    switch (slot) {
        case kSlotDepId:
            return mine.m_nDepId;
        case kSlotLatitude:
            return Coordinate(mine.m_fLatitude);
        case kSlotLongitude:
            return Coordinate(mine.m_fLongitude);
        default:
            return Cp1252ToUtf8((mine.*TextFieldOfSlot(slot)).View());
    }
}

}  // namespace

Json MainPageJson(const CMine& mine) {
    const MainPageTexts page = MakeMainPageTexts(mine);
    return {
        {"name", Cp1252ToUtf8(page.name)},
        {"position", Cp1252ToUtf8(page.position)},
        {"location", Cp1252ToUtf8(page.location)},
        {"commodity_type", OptionalText(page.commodityType)},
        {"major", Cp1252ToUtf8(page.major)},
        {"minor", Cp1252ToUtf8(page.minor)},
        {"trace", Cp1252ToUtf8(page.trace)},
        {"discovery", Cp1252ToUtf8(page.discovery)},
        {"production", OptionalText(page.production)},
        {"production_years", Cp1252ToUtf8(page.productionYears)},
    };
}

Json MineJson(std::size_t index, const CMine& mine) {
    Json fields = Json::object();
    for (int slot = 1; slot <= kKnownColumnCount; ++slot) {
        fields[std::string(kKnownColumnNames[static_cast<std::size_t>(slot)])] =
            FieldValue(mine, slot);
    }
    return {{"index", index}, {"fields", std::move(fields)}, {"main_page", MainPageJson(mine)}};
}

double RoundedDistanceKm(double kilometres) {
    return std::round(kilometres * 1000.0) / 1000.0;
}

double RoundedBearing(double degrees) {
    // A bearing that rounds up to 360 is north.
    const double rounded = std::round(degrees * 10.0) / 10.0;
    return rounded >= 360.0 ? 0.0 : rounded;
}

Json NearMineJson(std::size_t index, const CMine& mine, double distanceKm, double bearingDegrees) {
    return {{"index", index},
            {"distance_km", RoundedDistanceKm(distanceKm)},
            {"bearing_deg", RoundedBearing(bearingDegrees)},
            {"main_page", MainPageJson(mine)}};
}

Json InfoJson(const LoadedData& data, const ColumnsRead& columns) {
    Json names = Json::array();
    for (std::string_view name : columns.names) {
        names.push_back(std::string(name));
    }
    Json secondNames = Json::object();
    for (const auto& [name, secondName] : columns.secondNames) {
        secondNames[std::string(name)] = std::string(secondName);
    }
    const bool zipped = !data.zipMember.empty();
    Json info = {{"mines", data.MineCount()},
                 {"format", zipped                ? "zip"
                            : data.commaSeparated ? "csv"
                                                  : "archive"}};
    if (zipped) {
        info["zip_member"] = data.zipMember;
    }
    info["columns"] = std::move(names);
    info["second_names"] = std::move(secondNames);
    info["load_seconds"] = data.loadSeconds;
    return info;
}
