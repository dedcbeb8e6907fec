#include "geo/route_search.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <unordered_map>

#include "geo/great_circle.h"

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
// Bounds are widened by this much, relatively and in degrees, so that
// rounding never leaves out a place that the exact distance takes.
constexpr double kRelativeMargin = 1e-9;
constexpr double kDegreeMargin = 1e-9;

double Dot(const GlobeVector& a, const GlobeVector& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// The sine of the angle `withinKm` spans, widened by the margin; at least 1
// when the reach is a quarter circle or more. A place whose distance from a
// leg's great circle has a larger sine is beyond reach of the leg.
double SineOfReach(double withinKm) {
    const double angle = withinKm / kEarthRadiusKm * (1 + kRelativeMargin) + kDegreeMargin;
    return angle >= std::numbers::pi / 2 ? 2.0 : std::sin(angle);
}

bool Better(const AlongMine& a, const AlongMine& b) {
    if (a.distanceKm != b.distanceKm) {
        return a.distanceKm < b.distanceKm;
    }
    if (a.alongKm != b.alongKm) {
        return a.alongKm < b.alongKm;
    }
    return a.leg < b.leg;
}

// The nearest point of the route so far for each mine near it.
class NearestPoints {
public:
    explicit NearestPoints(double withinKm)
        : m_withinKm(withinKm), m_sineOfReach(SineOfReach(withinKm)) {}

    void Offer(std::size_t index, const GlobeVector& place, const RouteLeg& leg) {
        if (std::fabs(Dot(place, leg.pole)) > m_sineOfReach) {
            return;  // farther from the leg's great circle than the reach
        }
        const LegNearest nearest = NearestOnLeg(leg, place);
        if (!(nearest.distanceKm <= m_withinKm)) {
            return;
        }
        const AlongMine candidate{index, nearest.distanceKm, nearest.alongKm, nearest.side,
                                  leg.number};
        const auto [slot, inserted] = m_best.try_emplace(index, candidate);
        if (!inserted && Better(candidate, slot->second)) {
            slot->second = candidate;
        }
    }

    // The answers that `accept` takes, in route order.
    std::vector<AlongMine> Ordered(const CMineArray& mines, const MinePredicate& accept) && {
        std::vector<AlongMine> answers;
        answers.reserve(m_best.size());
        for (const auto& [index, answer] : m_best) {
            if (!accept || accept(mines[index])) {
                answers.push_back(answer);
            }
        }
        m_best.clear();
        std::sort(answers.begin(), answers.end(), [](const AlongMine& a, const AlongMine& b) {
            return a.alongKm < b.alongKm || (a.alongKm == b.alongKm && a.index < b.index);
        });
        return answers;
    }

private:
    double m_withinKm;
    double m_sineOfReach;
    std::unordered_map<std::size_t, AlongMine> m_best;
};

GlobeVector MineVector(const MineCoordinates& at) {
    return ToGlobeVector(at.latitude, at.longitude);
}

// The northernmost latitude of the leg's great circle, in degrees, when that
// point lies on the leg; the larger end latitude otherwise. With the pole
// negated, the southernmost one negated.
double HighestLatitude(const RouteLeg& leg, double poleSign) {
    double highest = std::max(leg.startLatitude * poleSign, leg.endLatitude * poleSign);
    const double across = 1 - leg.pole.z * leg.pole.z;
    if (across <= 0) {
        return highest;  // the leg runs along the equator
    }
    // The top of the circle: the north pole's direction with the part along
    // the leg's pole taken away.
    const double scale = 1 / std::sqrt(across);
    const GlobeVector top{-leg.pole.x * leg.pole.z * scale, -leg.pole.y * leg.pole.z * scale,
                          across * scale};
    const GlobeVector wanted = poleSign > 0 ? top : GlobeVector{-top.x, -top.y, -top.z};
    if (Dot(wanted, leg.startHeading) >= 0 && Dot(wanted, leg.endHeading) <= 0) {
        highest =
            std::max(highest, std::asin(std::min(std::sqrt(across), 1.0)) / kRadiansPerDegree);
    }
    return highest;
}

}  // namespace

std::vector<DegreeBox> LegReach(const RouteLeg& leg, double withinKm) {
    const double reach =
        withinKm / kEarthRadiusKm / kRadiansPerDegree * (1 + kRelativeMargin) + kDegreeMargin;
    const double north = HighestLatitude(leg, 1.0) + kDegreeMargin;
    const double south = -HighestLatitude(leg, -1.0) - kDegreeMargin;
    const double reachedNorth = north + reach;
    const double reachedSouth = south - reach;
    if (reachedNorth >= 90.0 || reachedSouth <= -90.0) {
        // A pole is within reach: every longitude is.
        return {{std::max(reachedSouth, -90.0), std::min(reachedNorth, 90.0), -180.0, 180.0}};
    }
    // Longitude runs one way along a leg that passes no pole: from the start
    // the short way round to the end. Within `reach` of a place at latitude
    // φ lie the longitudes within asin(sin reach / cos φ) of its own.
    const double widest = std::max(std::fabs(north), std::fabs(south)) * kRadiansPerDegree;
    const double spread =
        std::asin(std::min(std::sin(reach * kRadiansPerDegree) / std::cos(widest), 1.0)) /
            kRadiansPerDegree * (1 + kRelativeMargin) +
        kDegreeMargin;
    const double turn = WrappedDifference(leg.endLongitude, leg.startLongitude);
    const double west = std::min(leg.startLongitude, leg.startLongitude + turn) - spread;
    const double east = std::max(leg.startLongitude, leg.startLongitude + turn) + spread;
    if (east - west >= 360.0) {
        return {{reachedSouth, reachedNorth, -180.0, 180.0}};
    }
    if (west < -180.0) {
        return {{reachedSouth, reachedNorth, west + 360.0, 180.0},
                {reachedSouth, reachedNorth, -180.0, east}};
    }
    if (east > 180.0) {
        return {{reachedSouth, reachedNorth, west, 180.0},
                {reachedSouth, reachedNorth, -180.0, east - 360.0}};
    }
    return {{reachedSouth, reachedNorth, west, east}};
}

std::vector<AlongMine> FindAlongRouteByScan(const CMineArray& mines, const CRoute& route,
                                            double withinKm, const MinePredicate& accept) {
    const auto coordinates = mines.Coordinates();
    std::vector<std::pair<std::size_t, GlobeVector>> places;
    for (std::size_t i = 1; i < coordinates.size(); ++i) {
        if (IsOnGlobe(coordinates[i])) {
            places.emplace_back(i, MineVector(coordinates[i]));
        }
    }
    NearestPoints nearest(withinKm);
    route.ForEachLeg([&](const RouteLeg& leg) {
        for (const auto& [index, place] : places) {
            nearest.Offer(index, place, leg);
        }
    });
    return std::move(nearest).Ordered(mines, accept);
}

std::vector<AlongMine> FindAlongRoute(const CMineIndex& index, const CMineArray& mines,
                                      const CRoute& route, double withinKm,
                                      const MinePredicate& accept) {
    const auto coordinates = mines.Coordinates();
    NearestPoints nearest(withinKm);
    route.ForEachLeg([&](const RouteLeg& leg) {
        for (const DegreeBox& box : LegReach(leg, withinKm)) {
            index.VisitBox(box.south, box.north, box.west, box.east, [&](std::size_t element) {
                nearest.Offer(element, MineVector(coordinates[element]), leg);
            });
        }
    });
    return std::move(nearest).Ordered(mines, accept);
}
