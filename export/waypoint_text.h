#pragma once

#include <cstddef>
#include <functional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "minedata/mine.h"
#include "minedata/mine_array.h"

// What the waypoint exports (GPX, KML, OziExplorer waypoints) say about a
// mine, before each format encodes it.

// Whether the mine's coordinates are a place on the globe: finite, latitude
// within +-90 and longitude within +-180 degrees. Waypoint files have no way
// to write any other, so the exports leave such mines out.
bool HasMapPosition(const CMine& mine);

// Appends a record text (or texts joined, in the data's encoding) to `out` as
// a format writes it.
using AppendText = void (*)(std::string& out, std::string_view text);

// Appends the short description of a waypoint: its parts, each written by
// `appendPart`, in order and without the empty ones: the major, minor and
// trace commodities, the development status and the location (LocationText),
// joined by "; ". Returns whether there was any part.
bool AppendWaypointDescription(std::string& out, const CMine& mine, AppendText appendPart);

// Appends one waypoint's text for `mine`, the `number`th written (from 1).
using AppendWaypoint = std::function<void(std::string& out, std::size_t number, const CMine& mine)>;

// Writes `header`, the waypoint of each mine at `indices` that has a map
// position, in that order, and `footer` to `out`, in large pieces.
void WriteWaypoints(std::ostream& out, std::string_view header, std::string_view footer,
                    const CMineArray& mines, std::span<const std::size_t> indices,
                    const AppendWaypoint& append);
