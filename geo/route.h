#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A route on the globe: points in travel order, grouped into parts (the
// routes or track segments of a file). Consecutive points of one part are
// joined by a leg, the shorter great-circle arc between them; between parts
// there is a gap, which is no leg and adds nothing to the distance along.

// Which side of the direction of travel a place lies on.
enum class RouteSide { kLeft, kRight, kOn };

// "left", "right" or "on", as listings name the side.
const char* RouteSideName(RouteSide side);

// A place closer to the route than this (1 m) lies on it.
inline constexpr double kOnRouteKm = 0.001;

// A point of a route as a unit vector from the Earth's centre.
struct GlobeVector {
    double x, y, z;
};

// The unit vector of a latitude and longitude in degrees.
GlobeVector ToGlobeVector(double latitude, double longitude);

// One leg with what every distance to it needs, all unit vectors: its ends,
// the pole of its great circle (to the left of travel) and the directions of
// travel at both ends.
struct RouteLeg {
    GlobeVector start, end, pole, startHeading, endHeading;
    double startLatitude, startLongitude, endLatitude, endLongitude;
    double lengthKm;
    double startAlongKm;  // distance along the route to `start`
    std::size_t number;   // from 1, counting every pair of consecutive points of a part
};

// Where the point of a leg nearest to some place lies.
struct LegNearest {
    double distanceKm;  // great-circle distance from the place
    double alongKm;     // distance along the route to that point
    RouteSide side;
};

// The nearest point of `leg` to the place at `place`: its foot on the leg's
// great circle when that falls between the ends, otherwise the nearer end
// (the start when both are as near). The side is that of the leg's great
// circle, or kOn within kOnRouteKm.
LegNearest NearestOnLeg(const RouteLeg& leg, const GlobeVector& place);

class CRoute {
public:
    // Appends a point in degrees (latitude within ±90, longitude within
    // ±180). `startsPart` says that a gap, not a leg, lies between it and the
    // point before; the first point always starts a part. Returns false, and
    // adds nothing, when the point is antipodal to the one before it in its
    // part: no single arc joins them.
    bool Add(double latitude, double longitude, bool startsPart);

    std::size_t PointCount() const { return m_points.size(); }
    // Legs of non-zero length: those that can be nearest to a place. A leg
    // between two equal points has no direction of travel; the legs beside it
    // reach the same point.
    std::size_t UsefulLegCount() const { return m_nUsefulLegs; }
    // Distance along the whole route in km.
    double LengthKm() const { return m_points.empty() ? 0.0 : m_points.back().alongKm; }

    // Calls visit(const RouteLeg&) for every leg of non-zero length in
    // travel order.
    template <typename Visit>
    void ForEachLeg(Visit visit) const {
        std::size_t number = 0;
        for (std::size_t i = 1; i < m_points.size(); ++i) {
            if (m_points[i].startsPart) {
                continue;
            }
            ++number;
            if (m_points[i].endsUsefulLeg) {
                visit(MakeLeg(i - 1, number));
            }
        }
    }

    // Bytes the route holds.
    std::size_t MemoryBytes() const { return sizeof(*this) + m_points.capacity() * sizeof(Point); }

private:
    struct Point {
        double latitude, longitude;
        double alongKm;
        bool startsPart;
        bool endsUsefulLeg;  // the leg from the point before has a length
    };

    RouteLeg MakeLeg(std::size_t first, std::size_t number) const;

    std::vector<Point> m_points;
    std::size_t m_nUsefulLegs = 0;
};
