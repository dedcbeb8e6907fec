#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string_view>
#include <vector>

#include "cli/data_file.h"
#include "minedata/mine.h"

// JSON forms of what the commands report. Keys keep the order given here;
// texts are converted from the data file's code page 1252 to UTF-8.

// {"index", "fields": the 47 columns by name in column-map order,
// "main_page": the texts of "Main Page"}. DEP_ID is a number, LATITUDE and
// LONGITUDE the stored single-precision values (null when not finite), every
// other field a string; a main-page line the page leaves unwritten is null.
nlohmann::ordered_json MineJson(std::size_t index, const CMine& mine);

// {"name", "position", ...}: the texts of "Main Page", as in MineJson.
nlohmann::ordered_json MainPageJson(const CMine& mine);

// A distance rounded to metres, and a bearing rounded to a tenth of a degree
// within [0, 360): as every form of a nearest-mines answer shows them.
double RoundedDistanceKm(double kilometres);
double RoundedBearing(double degrees);

// {"index", "distance_km", "bearing_deg", "main_page"}: one answer of a
// nearest-mines query, rounded as above.
nlohmann::ordered_json NearMineJson(std::size_t index, const CMine& mine, double distanceKm,
                                    double bearingDegrees);

// {"mines", "format": "csv" or "archive", "columns": the known names read,
// "second_names": {known name: the second name it was read under},
// "load_seconds"}.
nlohmann::ordered_json InfoJson(const LoadedData& data, const ColumnsRead& columns);
