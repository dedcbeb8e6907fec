#include "geo/route.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "geo/great_circle.h"

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
// Below this length of their cross product (about 6 µm on the ground) two
// points span no great circle of their own: they are the same point, or
// antipodes.
constexpr double kNoCircle = 1e-12;

double Dot(const GlobeVector& a, const GlobeVector& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

GlobeVector Cross(const GlobeVector& a, const GlobeVector& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double Length(const GlobeVector& a) {
    return std::sqrt(Dot(a, a));
}

GlobeVector Scaled(const GlobeVector& a, double factor) {
    return {a.x * factor, a.y * factor, a.z * factor};
}

// The angle between two unit vectors in radians, accurate near 0 and near π.
double Angle(const GlobeVector& a, const GlobeVector& b) {
    return std::atan2(Length(Cross(a, b)), Dot(a, b));
}

}  // namespace

GlobeVector ToGlobeVector(double latitude, double longitude) {
    const double phi = latitude * kRadiansPerDegree;
    const double lambda = longitude * kRadiansPerDegree;
    return {std::cos(phi) * std::cos(lambda), std::cos(phi) * std::sin(lambda), std::sin(phi)};
}

LegNearest NearestOnLeg(const RouteLeg& leg, const GlobeVector& place) {
    const double sine = Dot(place, leg.pole);
    const double ahead = Dot(place, leg.startHeading);
    LegNearest nearest{};
    if (ahead >= 0 && Dot(place, leg.endHeading) <= 0) {
        // The foot on the great circle lies on the leg.
        nearest.distanceKm = std::asin(std::min(std::fabs(sine), 1.0)) * kEarthRadiusKm;
        const double fromStart = std::atan2(ahead, Dot(place, leg.start)) * kEarthRadiusKm;
        nearest.alongKm = leg.startAlongKm + std::clamp(fromStart, 0.0, leg.lengthKm);
    } else {
        const double toStart = Angle(place, leg.start) * kEarthRadiusKm;
        const double toEnd = Angle(place, leg.end) * kEarthRadiusKm;
        nearest.distanceKm = std::min(toStart, toEnd);
        nearest.alongKm = toEnd < toStart ? leg.startAlongKm + leg.lengthKm : leg.startAlongKm;
    }
    nearest.side = nearest.distanceKm < kOnRouteKm ? RouteSide::kOn
                   : sine > 0                      ? RouteSide::kLeft
                                                   : RouteSide::kRight;
    return nearest;
}

bool CRoute::Add(double latitude, double longitude, bool startsPart) {
    Point point{latitude, longitude, 0.0, startsPart || m_points.empty(), false};
    if (!point.startsPart) {
        const Point& before = m_points.back();
        point.alongKm = before.alongKm;
        const GlobeVector a = ToGlobeVector(before.latitude, before.longitude);
        const GlobeVector b = ToGlobeVector(latitude, longitude);
        const double sine = Length(Cross(a, b));
        if (sine < kNoCircle && Dot(a, b) < 0) {
            return false;
        }
        if (sine >= kNoCircle) {
            point.alongKm += std::atan2(sine, Dot(a, b)) * kEarthRadiusKm;
            point.endsUsefulLeg = true;
            ++m_nUsefulLegs;
        }
    } else if (!m_points.empty()) {
        point.alongKm = m_points.back().alongKm;
    }
    m_points.push_back(point);
    return true;
}

RouteLeg CRoute::MakeLeg(std::size_t first, std::size_t number) const {
    const Point& from = m_points[first];
    const Point& to = m_points[first + 1];
    RouteLeg leg{};
    leg.start = ToGlobeVector(from.latitude, from.longitude);
    leg.end = ToGlobeVector(to.latitude, to.longitude);
    const GlobeVector normal = Cross(leg.start, leg.end);
    leg.pole = Scaled(normal, 1.0 / Length(normal));
    leg.startHeading = Cross(leg.pole, leg.start);
    leg.endHeading = Cross(leg.pole, leg.end);
    leg.startLatitude = from.latitude;
    leg.startLongitude = from.longitude;
    leg.endLatitude = to.latitude;
    leg.endLongitude = to.longitude;
    leg.lengthKm = to.alongKm - from.alongKm;
    leg.startAlongKm = from.alongKm;
    leg.number = number;
    return leg;
}

const char* RouteSideName(RouteSide side) {
    switch (side) {
        case RouteSide::kLeft:
            return "left";
        case RouteSide::kRight:
            return "right";
        case RouteSide::kOn:
            break;
    }
    return "on";
}
