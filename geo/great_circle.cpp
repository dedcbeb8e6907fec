#include "geo/great_circle.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

double SquaredSine(double radians) {
    const double s = std::sin(radians);
    return s * s;
}

}  // namespace

double WrappedDifference(double longitude2, double longitude1) {
    double difference = longitude2 - longitude1;
    if (difference > 180.0) {
        difference -= 360.0;
    } else if (difference < -180.0) {
        difference += 360.0;
    }
    return difference;
}

double HaversineOfAngle(double latitude1, double longitude1, double latitude2, double longitude2) {
    const double phi1 = latitude1 * kRadiansPerDegree;
    const double phi2 = latitude2 * kRadiansPerDegree;
    const double dPhi = (latitude2 - latitude1) * kRadiansPerDegree;
    const double dLambda = WrappedDifference(longitude2, longitude1) * kRadiansPerDegree;
    const double h =
        SquaredSine(dPhi / 2) + std::cos(phi1) * std::cos(phi2) * SquaredSine(dLambda / 2);
    // Rounding may step just outside [0, 1]; the arc sine must not see it.
    return std::isnan(h) ? h : std::clamp(h, 0.0, 1.0);
}

double KilometresFromHaversine(double haversine) {
    return 2.0 * kEarthRadiusKm * std::asin(std::sqrt(haversine));
}

double HaversineFromKilometres(double kilometres) {
    const double angle = std::min(kilometres / kEarthRadiusKm, std::numbers::pi);
    return SquaredSine(angle / 2);
}

double GreatCircleKm(double latitude1, double longitude1, double latitude2, double longitude2) {
    return KilometresFromHaversine(HaversineOfAngle(latitude1, longitude1, latitude2, longitude2));
}

double InitialBearingDegrees(double latitude1, double longitude1, double latitude2,
                             double longitude2) {
    const double phi1 = latitude1 * kRadiansPerDegree;
    const double phi2 = latitude2 * kRadiansPerDegree;
    const double dLambda = (longitude2 - longitude1) * kRadiansPerDegree;
    const double y = std::sin(dLambda) * std::cos(phi2);
    const double x =
        std::cos(phi1) * std::sin(phi2) - std::sin(phi1) * std::cos(phi2) * std::cos(dLambda);
    const double degrees = std::atan2(y, x) / kRadiansPerDegree;
    // atan2 gives (-180, 180]; adding 0.0 turns -0 into 0.
    const double bearing = (degrees < 0 ? degrees + 360.0 : degrees) + 0.0;
    return bearing >= 360.0 ? 0.0 : bearing;
}

double RoundedDistanceKm(double kilometres) {
    return std::round(kilometres * 1000.0) / 1000.0;
}

double RoundedBearing(double degrees) {
    // A bearing that rounds up to 360 is north.
    const double rounded = std::round(degrees * 10.0) / 10.0;
    return rounded >= 360.0 ? 0.0 : rounded;
}
