#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "minedata/mine_array.h"

// Says whether a mine may be an answer; an empty function accepts every mine.
using MinePredicate = std::function<bool(const CMine&)>;

// One answer of a nearest-mines query, with its geometry seen from the
// query point.
struct NearMine {
    std::size_t index;      // element of the collection
    double haversine;       // orders the answers; see HaversineOfAngle
    double distanceKm;      // great-circle distance from the query point
    double bearingDegrees;  // initial bearing from the query point, [0, 360)
};

// The `count` mines nearest to the point by great-circle distance, at most
// `withinKm` away (+infinity for no limit), that `accept` accepts; nearest
// first, equal distances in collection order. Mines off the globe are never
// answers, and a point off the globe finds nothing. Examines every mine: the reference that
// CMineIndex::FindNearest agrees with.
std::vector<NearMine> FindNearestByScan(const CMineArray& mines, double latitude, double longitude,
                                        std::size_t count, double withinKm,
                                        const MinePredicate& accept = {});

// A spatial index over the positions of a loaded collection: a balanced k-d
// tree over latitude and longitude, kept as a permutation of the element
// indices plus, per node, the smallest element index below it. It costs 8
// bytes per mine. A query visits only the subtrees that may hold a better
// answer than those found so far, so a point among mines costs a few dozen
// comparisons; a large sensitivity, or a predicate that refuses most mines,
// costs more.
//
// The index refers to the collection it was built from, which must outlive it
// and stay unchanged while it is used.
class CMineIndex {
public:
    // Throws std::length_error for a collection of 2^32 elements or more.
    explicit CMineIndex(const CMineArray& mines);
    // The index would outlive a temporary collection.
    explicit CMineIndex(CMineArray&&) = delete;

    // Exactly what ::FindMineAt(mines, latitude, longitude, sensitivity)
    // returns: the first mine in collection order whose widened coordinates
    // both differ from the point by strictly less than the sensitivity.
    std::optional<std::size_t> FindMineAt(double latitude, double longitude,
                                          float sensitivity) const;

    // Exactly what FindNearestByScan returns for the same arguments.
    std::vector<NearMine> FindNearest(double latitude, double longitude, std::size_t count,
                                      double withinKm, const MinePredicate& accept = {}) const;

    // Calls visit(element) for every element on the globe whose widened
    // coordinates lie in the box of degrees [south, north] x [west, east],
    // bounds included, in no particular order.
    void VisitBox(double south, double north, double west, double east,
                  const std::function<void(std::size_t)>& visit) const;

    // Bytes the index holds beyond the collection itself.
    std::size_t MemoryBytes() const;

private:
    struct NearestSearch;
    // A subtree's box, with the cosines of its latitude bounds.
    struct Bounds {
        double south, north, west, east;
        double cosSouth, cosNorth;
    };

    std::uint32_t BuildNode(std::size_t low, std::size_t high, int depth);
    void SearchBox(std::size_t low, std::size_t high, int depth, double latitude, double longitude,
                   double tolerance, std::uint32_t& best) const;
    void SearchNearest(std::size_t low, std::size_t high, int depth, const Bounds& bounds,
                       NearestSearch& search) const;
    void OfferNearest(std::uint32_t element, NearestSearch& search) const;
    double Coordinate(std::uint32_t element, int depth) const;

    const CMineArray* m_pMines;
    // Elements on the globe in k-d order: the node of [low, high) is at the
    // middle, splitting by latitude at even depths and longitude at odd ones.
    std::vector<std::uint32_t> m_tree;
    // For the node at each position, the smallest element in its subtree.
    std::vector<std::uint32_t> m_firstBelow;
    // Elements with finite coordinates off the globe, in collection order: a
    // map click may still find them, nothing is near them.
    std::vector<std::uint32_t> m_offGlobe;
};
