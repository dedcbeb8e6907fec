#include "geo/route_search.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <span>
#include <vector>

#include "geo/great_circle.h"

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
// Bounds are widened by this much, relatively and in degrees, so that
// rounding never leaves out a place that the exact distance takes.
constexpr double kRelativeMargin = 1e-9;
constexpr double kDegreeMargin = 1e-9;
// Consecutive legs whose boxes are taken from the index in one walk: at most
// this many, in a box at most this many times the first leg's box.
constexpr std::size_t kMaxLegsPerWalk = 16;
constexpr double kMaxWalkArea = 4.0;

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

// A cosine below which a place is beyond reach of a point: that of an angle
// wider than the reach by a millionth and 6 µm, lowered by far more than the
// rounding of a dot product of unit vectors can raise it. So a place whose
// dot product with a leg's end is below it is, by the exact distance, beyond
// reach of that end. -2 when the reach spans half the circle.
double CosineBeyondReach(double withinKm) {
    const double angle = withinKm / kEarthRadiusKm * (1 + 1e-6) + 1e-9;
    return angle >= std::numbers::pi ? -2.0 : std::cos(angle) - 4e-15;
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
        : m_withinKm(withinKm),
          m_sineOfReach(SineOfReach(withinKm)),
          m_cosineBeyondReach(CosineBeyondReach(withinKm)),
          m_slots(kFirstSlots) {}

    void Offer(std::size_t index, const GlobeVector& place, const RouteLeg& leg) {
        if (std::fabs(Dot(place, leg.pole)) > m_sineOfReach) {
            return;  // farther from the leg's great circle than the reach
        }
        // Where NearestOnLeg measures to the nearer end, both ends may be
        // plainly beyond reach: then the arc tangents are not needed.
        const bool beside = Dot(place, leg.startHeading) >= 0 && Dot(place, leg.endHeading) <= 0;
        if (!beside && Dot(place, leg.start) < m_cosineBeyondReach &&
            Dot(place, leg.end) < m_cosineBeyondReach) {
            return;
        }
        const LegNearest nearest = NearestOnLeg(leg, place);
        if (!(nearest.distanceKm <= m_withinKm)) {
            return;
        }
        const AlongMine candidate{index, nearest.distanceKm, nearest.alongKm, nearest.side,
                                  leg.number};
        Slot& slot = SlotOf(index);
        if (slot.index == kNoMine) {
            slot = {index, m_answers.size()};
            m_answers.push_back(candidate);
            GrowIfFull();
        } else if (Better(candidate, m_answers[slot.answer])) {
            m_answers[slot.answer] = candidate;
        }
    }

    // The answers that `accept` takes, in route order.
    std::vector<AlongMine> Ordered(const CMineArray& mines, const MinePredicate& accept) && {
        std::vector<AlongMine> answers = std::move(m_answers);
        if (accept) {
            std::erase_if(answers, [&](const AlongMine& a) { return !accept(mines[a.index]); });
        }
        std::sort(answers.begin(), answers.end(), [](const AlongMine& a, const AlongMine& b) {
            return a.alongKm < b.alongKm || (a.alongKm == b.alongKm && a.index < b.index);
        });
        return answers;
    }

private:
    // Element 0 is no mine: it marks a free slot.
    static constexpr std::size_t kNoMine = 0;
    static constexpr std::size_t kFirstSlots = 1024;

    // A mine's place among the answers, in a table of open addressing.
    struct Slot {
        std::size_t index = kNoMine;
        std::size_t answer = 0;
    };

    Slot& SlotOf(std::size_t index) {
        const std::size_t mask = m_slots.size() - 1;
        std::size_t i = static_cast<std::size_t>((index * 0x9E3779B97F4A7C15ull) >> 32) & mask;
        while (m_slots[i].index != kNoMine && m_slots[i].index != index) {
            i = (i + 1) & mask;
        }
        return m_slots[i];
    }

    // Keeps the table at most half full.
    void GrowIfFull() {
        if (m_answers.size() * 2 <= m_slots.size()) {
            return;
        }
        std::vector<Slot> old(m_slots.size() * 2);
        old.swap(m_slots);
        for (const Slot& slot : old) {
            if (slot.index != kNoMine) {
                SlotOf(slot.index) = slot;
            }
        }
    }

    double m_withinKm;
    double m_sineOfReach;
    double m_cosineBeyondReach;
    std::vector<Slot> m_slots;  // a power of two of them
    std::vector<AlongMine> m_answers;
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

LegBoxes LegReach(const RouteLeg& leg, double withinKm) {
    const double reach =
        withinKm / kEarthRadiusKm / kRadiansPerDegree * (1 + kRelativeMargin) + kDegreeMargin;
    const double north = HighestLatitude(leg, 1.0) + kDegreeMargin;
    const double south = -HighestLatitude(leg, -1.0) - kDegreeMargin;
    const double reachedNorth = north + reach;
    const double reachedSouth = south - reach;
    if (reachedNorth >= 90.0 || reachedSouth <= -90.0) {
        // A pole is within reach: every longitude is.
        return {{{{std::max(reachedSouth, -90.0), std::min(reachedNorth, 90.0), -180.0, 180.0}}},
                1};
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
        return {{{{reachedSouth, reachedNorth, -180.0, 180.0}}}, 1};
    }
    if (west < -180.0) {
        return {{{{reachedSouth, reachedNorth, west + 360.0, 180.0},
                  {reachedSouth, reachedNorth, -180.0, east}}},
                2};
    }
    if (east > 180.0) {
        return {{{{reachedSouth, reachedNorth, west, 180.0},
                  {reachedSouth, reachedNorth, -180.0, east - 360.0}}},
                2};
    }
    return {{{{reachedSouth, reachedNorth, west, east}}}, 1};
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

namespace {

double Area(const DegreeBox& box) {
    return (box.north - box.south) * (box.east - box.west);
}

DegreeBox Around(const DegreeBox& a, const DegreeBox& b) {
    return {std::min(a.south, b.south), std::max(a.north, b.north), std::min(a.west, b.west),
            std::max(a.east, b.east)};
}

// Consecutive legs of one box each, taken from the index in one walk over the
// box around them all; each mine found there is offered to the legs whose own
// box holds it, so that each leg is offered exactly the mines of its box.
class LegGroup {
public:
    LegGroup(const CMineIndex& index, const CMineArray& mines, NearestPoints& nearest)
        : m_index(index), m_coordinates(mines.Coordinates()), m_nearest(nearest) {}

    // Offers the mines of `box` to `leg`, now or with the legs after it.
    void Add(const RouteLeg& leg, const DegreeBox& box) {
        if (!m_legs.empty()) {
            const DegreeBox around = Around(m_around, box);
            if (m_legs.size() == kMaxLegsPerWalk || Area(around) > kMaxWalkArea * m_firstArea) {
                Offer();
            } else {
                m_around = around;
            }
        }
        if (m_legs.empty()) {
            m_around = box;
            m_firstArea = Area(box);
        }
        m_legs.push_back({leg, box});
    }

    // Offers the mines of the legs added so far.
    void Offer() {
        if (m_legs.empty()) {
            return;
        }
        m_index.VisitBox(m_around.south, m_around.north, m_around.west, m_around.east,
                         [this](std::uint32_t element) {
                             const MineCoordinates& at = m_coordinates[element];
                             bool placed = false;
                             GlobeVector place{};
                             for (const BoxedLeg& boxed : m_legs) {
                                 if (boxed.box.Contains(at)) {
                                     if (!placed) {
                                         place = MineVector(at);
                                         placed = true;
                                     }
                                     m_nearest.Offer(element, place, boxed.leg);
                                 }
                             }
                         });
        m_legs.clear();
    }

private:
    struct BoxedLeg {
        RouteLeg leg;
        DegreeBox box;
    };

    const CMineIndex& m_index;
    std::span<const MineCoordinates> m_coordinates;
    NearestPoints& m_nearest;
    std::vector<BoxedLeg> m_legs;
    DegreeBox m_around{};
    double m_firstArea = 0.0;
};

}  // namespace

std::vector<AlongMine> FindAlongRoute(const CMineIndex& index, const CMineArray& mines,
                                      const CRoute& route, double withinKm,
                                      const MinePredicate& accept) {
    const auto coordinates = mines.Coordinates();
    NearestPoints nearest(withinKm);
    LegGroup group(index, mines, nearest);
    route.ForEachLeg([&](const RouteLeg& leg) {
        const LegBoxes reach = LegReach(leg, withinKm);
        if (reach.count == 1) {
            group.Add(leg, reach.boxes[0]);
            return;
        }
        // Across the 180° meridian: each half walked on its own.
        for (std::size_t i = 0; i < reach.count; ++i) {
            const DegreeBox& box = reach.boxes[i];
            index.VisitBox(box.south, box.north, box.west, box.east, [&](std::uint32_t element) {
                nearest.Offer(element, MineVector(coordinates[element]), leg);
            });
        }
    });
    group.Offer();
    return std::move(nearest).Ordered(mines, accept);
}
