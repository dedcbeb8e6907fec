#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "minedata/mine.h"

// What the waypoint exports (GPX, KML, OziExplorer waypoints) say about a
// mine, before each format encodes it.

// Whether the mine's coordinates are a place on the globe: finite, latitude
// within +-90 and longitude within +-180 degrees. Waypoint files have no way
// to write any other, so the exports leave such mines out.
bool HasMapPosition(const CMine& mine);

// Appends the coordinate widened to double with six decimals ("%.6f").
// Precondition: the value is finite and within +-180.
void AppendDegrees(std::string& out, float degrees);

// The short description of a waypoint, as parts that are each a record text
// (or texts joined, in the data's encoding), in order and without the empty
// ones: the major, minor and trace commodities, the development status and
// the location (LocationText). Formats join them with kDescriptionSeparator.
std::vector<std::string> WaypointDescriptionParts(const CMine& mine);
inline constexpr std::string_view kDescriptionSeparator = "; ";
