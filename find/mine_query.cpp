#include "find/mine_query.h"

#include <limits>
#include <optional>
#include <string_view>

#include "find/query_values.h"
#include "geo/route_search.h"
#include "minedata/mine_filter.h"
#include "points/route_file.h"
#include "text/trim.h"

namespace {

// Why a query cannot run: the message of its result.
struct BadValue {
    std::string message;
};

[[noreturn]] void Refuse(const char* field, std::string_view why) {
    throw BadValue{std::string(field) + ": " + std::string(why)};
}

// A box's text without the blanks a paste may bring along; an empty box has
// no value.
std::string_view Typed(const std::string& text, const char* field) {
    const std::string_view value = TrimSpacesAndTabs(text);
    if (value.empty()) {
        Refuse(field, "the value is empty");
    }
    return value;
}

template <typename T, typename Parse>
T Parsed(const std::string& text, const char* field, Parse parse) {
    std::string error;
    const std::optional<T> value = parse(Typed(text, field), error);
    if (!value) {
        Refuse(field, error);
    }
    return *value;
}

// A text filter of one box, unused when the box is blank.
std::optional<CaselessText> TextCriterion(const std::string& text, const char* field,
                                          std::string (*parse)(std::string_view)) {
    if (TrimSpacesAndTabs(text).empty()) {
        return std::nullopt;
    }
    try {
        return CaselessText(parse(text));
    } catch (const FilterValueError& error) {
        Refuse(field, error.what());
    }
}

MineFilter FilterOf(const FindRequest& request) {
    MineFilter filter;
    filter.name = TextCriterion(request.name, kNameField, &ParseFilterText);
    filter.commodity = TextCriterion(request.commodity, kCommodityField, &ParseCommodity);
    filter.state = TextCriterion(request.state, kStateField, &ParseFilterText);
    filter.status = TextCriterion(request.status, kStatusField, &ParseFilterText);
    return filter;
}

// The mines an answer may be, or an empty predicate (every mine) when no
// filter is given. `filter` must outlive the predicate.
MinePredicate AcceptedBy(const MineFilter& filter) {
    if (filter.IsEmpty()) {
        return {};
    }
    return [&filter](const CMine& mine) { return filter.Matches(mine); };
}

std::vector<FindRow> FindNear(const FindRequest& request, const MineFilter& filter,
                              CLazyMineIndex& index) {
    const auto degrees = [](double limit) {
        return [limit](std::string_view text, std::string& error) {
            return ParseDegrees(text, limit, error);
        };
    };
    const double latitude = Parsed<double>(request.latitude, kLatitudeField, degrees(90.0));
    const double longitude = Parsed<double>(request.longitude, kLongitudeField, degrees(180.0));
    const std::size_t count = Parsed<std::size_t>(request.count, kCountField, &ParseMineCount);
    const double within = TrimSpacesAndTabs(request.withinKm).empty()
                              ? std::numeric_limits<double>::infinity()
                              : Parsed<double>(request.withinKm, kWithinField, &ParseDistanceKm);
    std::vector<FindRow> rows;
    for (const NearMine& near :
         index.Get().FindNearest(latitude, longitude, count, within, AcceptedBy(filter))) {
        FindRow row;
        row.index = near.index;
        row.distanceKm = near.distanceKm;
        row.bearingDegrees = near.bearingDegrees;
        rows.push_back(row);
    }
    return rows;
}

std::vector<FindRow> FindAlong(const FindRequest& request, const MineFilter& filter,
                               const CMineArray& mines, CLazyMineIndex& index) {
    const double within = Parsed<double>(request.withinKm, kWithinField, &ParseCorridorKm);
    const std::string path(Typed(request.routePath, kRouteField));
    RouteReadResult route = ReadRouteFile(path);
    if (!route.Ok()) {
        throw BadValue{std::move(route.error)};
    }
    std::vector<FindRow> rows;
    for (const AlongMine& along :
         FindAlongRoute(index.Get(), mines, route.route, within, AcceptedBy(filter))) {
        FindRow row;
        row.index = along.index;
        row.alongKm = along.alongKm;
        row.fromRouteKm = along.distanceKm;
        row.side = along.side;
        row.leg = along.leg;
        rows.push_back(row);
    }
    return rows;
}

std::vector<FindRow> FindMatching(const MineFilter& filter, const CMineArray& mines) {
    std::vector<FindRow> rows;
    for (const std::size_t chosen : SelectMines(mines, filter)) {
        FindRow row;
        row.index = chosen;
        rows.push_back(row);
    }
    return rows;
}

}  // namespace

FindResult RunFind(const FindRequest& request, const CMineArray& mines, CLazyMineIndex& index) {
    FindResult result;
    result.mode = request.mode;
    try {
        const MineFilter filter = FilterOf(request);
        switch (request.mode) {
            case FindMode::Near:
                result.rows = FindNear(request, filter, index);
                break;
            case FindMode::Along:
                result.rows = FindAlong(request, filter, mines, index);
                break;
            case FindMode::Matching:
                result.rows = FindMatching(filter, mines);
                break;
        }
    } catch (const BadValue& bad) {
        result.message = bad.message;
        return result;
    }
    result.ok = true;
    return result;
}
