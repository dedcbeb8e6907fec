#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// One point of a points file, or the reason it could not be read.
struct QueryPoint {
    // The line number in a text file, or the point's place (from 1) among the
    // waypoints, route points and track points of a GPX document.
    std::size_t number = 0;
    double latitude = 0.0;
    double longitude = 0.0;
    // The route or track segment the point lies on, numbered from 1 in the
    // file's order; 0 for a point on none (a waypoint, a line of LAT,LON).
    std::size_t part = 0;
    // Empty when the point was read; otherwise why not, in one line of ASCII.
    std::string error;
};

// A stream of points read from some source, one at a time, holding a bounded
// amount of memory however long its input.
class IPointReader {
public:
    virtual ~IPointReader() = default;
    // The next point or the next entry that cannot be read as one; false
    // once the input has no more.
    virtual bool Next(QueryPoint& point) = 0;
};

// Reads the two texts as decimal degrees into `point`: a latitude within ±90
// and a longitude within ±180. Otherwise sets point.error, quoting the text
// when it is short printable ASCII.
void ReadPosition(std::string_view latitudeText, std::string_view longitudeText, QueryPoint& point);
