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

    // Calls visit(std::uint32_t element) for every element on the globe
    // whose widened coordinates lie in the box of degrees [south, north] x
    // [west, east], bounds included, in no particular order.
    template <typename Visit>
    void VisitBox(double south, double north, double west, double east, Visit visit) const;

    // Bytes the index holds beyond the collection itself.
    std::size_t MemoryBytes() const;

private:
    // Subtrees of this many elements or fewer are scanned without more bounds.
    static constexpr std::size_t kLeafSize = 6;

    struct NearestSearch;
    // A subtree's box, with the cosines of its latitude bounds.
    struct Bounds {
        double south, north, west, east;
        double cosSouth, cosNorth;
    };
    // An element on the globe while the tree is built: its latitude and
    // longitude as keys that order as the coordinates do.
    struct BuildEntry {
        std::uint32_t key[2];
        std::uint32_t element;
    };
    // The entries of one subtree ordered by each coordinate, and room for as many.
    struct BuildLists {
        BuildEntry* byCoordinate[2];
        BuildEntry* scratch;
    };

    std::uint32_t BuildNode(const BuildLists& lists, std::size_t low, std::size_t high, int depth);
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

template <typename Visit>
void CMineIndex::VisitBox(double south, double north, double west, double east, Visit visit) const {
    struct Subtree {
        std::size_t low, high;
        int depth;
    };
    const auto coordinates = m_pMines->Coordinates();
    const auto inside = [&](const MineCoordinates& at) {
        const double latitude = at.latitude;
        const double longitude = at.longitude;
        return latitude >= south && latitude <= north && longitude >= west && longitude <= east;
    };
    // Depth first: the stack holds at most one waiting subtree per level,
    // and the tree has at most 33 levels.
    Subtree pending[64];
    std::size_t count = 0;
    pending[count++] = {0, m_tree.size(), 0};
    while (count > 0) {
        const Subtree subtree = pending[--count];
        if (subtree.high - subtree.low <= kLeafSize) {
            // All the leaf's coordinates read before any is compared, so
            // that the reads, scattered over the collection, overlap.
            MineCoordinates leaf[kLeafSize];
            const std::size_t size = subtree.high - subtree.low;
            for (std::size_t i = 0; i < size; ++i) {
                leaf[i] = coordinates[m_tree[subtree.low + i]];
            }
            for (std::size_t i = 0; i < size; ++i) {
                if (inside(leaf[i])) {
                    visit(m_tree[subtree.low + i]);
                }
            }
            continue;
        }
        const std::size_t middle = subtree.low + (subtree.high - subtree.low) / 2;
        const std::uint32_t element = m_tree[middle];
        if (inside(coordinates[element])) {
            visit(element);
        }
        // Values equal to the split may lie on either side.
        const bool latitudes = subtree.depth % 2 == 0;
        const double split = latitudes ? static_cast<double>(coordinates[element].latitude)
                                       : static_cast<double>(coordinates[element].longitude);
        if (split >= (latitudes ? south : west)) {
            pending[count++] = {subtree.low, middle, subtree.depth + 1};
        }
        if (split <= (latitudes ? north : east)) {
            pending[count++] = {middle + 1, subtree.high, subtree.depth + 1};
        }
    }
}
