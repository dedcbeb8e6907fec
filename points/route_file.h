#pragma once

#include <istream>
#include <string>
#include <string_view>

#include "geo/route.h"

// The kinds of file a route is read from.
enum class RouteFormat {
    kGpx,        // GPX routes and tracks
    kOziTrack,   // OziExplorer track file (.plt)
    kOziRoute,   // OziExplorer route file (.rte)
    kPointLines  // "LAT,LON" lines, as a points file
};

// The format a file name stands for, by its ending in any letter case:
// ".gpx", ".plt", ".rte"; "LAT,LON" lines for any other.
RouteFormat RouteFormatOfName(std::string_view path);

// A route read from a file, or why it could not be read.
struct RouteReadResult {
    CRoute route;
    std::string error;  // empty when the route was read

    bool Ok() const { return error.empty(); }
};

// Reads the route of a file in `format`, walking every route and track
// segment in the file's order as one trip with a gap between each two (GPX
// waypoints are passed over; "LAT,LON" lines are one part). Fails at the
// first entry that is not a point ("line N: why" or, in GPX, "point N: why"),
// at a point antipodal to the one before it, when there are fewer than two
// points, and when no two consecutive points of one part are apart.
RouteReadResult ReadRoute(std::istream& input, RouteFormat format);

// The message of a route that `path` names and ReadRoute refused for
// `error`: "route file 'PATH': ERROR".
std::string RouteFileError(std::string_view path, std::string_view error);

// Reads the route file `path` (UTF-8) whole, in the format its name stands
// for. On failure, the error names the file: "cannot open route file 'PATH'",
// "route file 'PATH' is a folder", or RouteFileError's.
RouteReadResult ReadRouteFile(const std::string& path);
