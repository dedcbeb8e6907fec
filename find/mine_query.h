#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "geo/lazy_mine_index.h"
#include "geo/route.h"
#include "minedata/mine_array.h"

// The questions the program's "Find Mines" window asks of the loaded mines,
// answered by the rules and code of vemra-cli's `nearest`, `along` and
// filters.

enum class FindMode { Near, Along, Matching };

// What the window's boxes hold, as typed (UTF-8).
struct FindRequest {
    FindMode mode = FindMode::Near;
    std::string latitude, longitude;  // Near: decimal degrees
    std::string count = "20";         // Near: how many
    std::string withinKm;   // Near: optional limit; Along: the corridor (the window fills "1")
    std::string routePath;  // Along: GPX rte/trk, .rte, .plt, LAT,LON lines
    std::string name, commodity, state, status;  // filters, each optional (blank = not used)
};

// One mine found, with what its mode tells about it.
struct FindRow {
    std::size_t index = 0;                      // element of the mines
    double distanceKm = 0, bearingDegrees = 0;  // Near: from the point
    double alongKm = 0, fromRouteKm = 0;        // Along: at its nearest point of the route
    RouteSide side{};
    std::size_t leg = 0;
};

struct FindResult {
    bool ok = false;
    // When !ok, why, naming the field ("Latitude: not a decimal number: x"),
    // or the route file and its line or point as vemra-cli along says it.
    std::string message;
    FindMode mode = FindMode::Near;
    // In vemra-cli's order: nearest first; route order; file order. Empty
    // when nothing was found, which is still ok.
    std::vector<FindRow> rows;
};

// The field names the messages start with, as the window labels its boxes.
inline constexpr const char* kLatitudeField = "Latitude";
inline constexpr const char* kLongitudeField = "Longitude";
inline constexpr const char* kCountField = "Count";
inline constexpr const char* kWithinField = "Within";
inline constexpr const char* kRouteField = "Route file";
inline constexpr const char* kNameField = "Name";
inline constexpr const char* kCommodityField = "Commodity";
inline constexpr const char* kStateField = "State";
inline constexpr const char* kStatusField = "Status";

// Answers `request` over `mines`, through `index` (bound to `mines`) for the
// near and along modes. Every value is checked, and the route file read,
// before any mine is looked at; a bad one gives !ok and its message. Throws
// only what memory or CLazyMineIndex::Get throws.
FindResult RunFind(const FindRequest& request, const CMineArray& mines, CLazyMineIndex& index);
