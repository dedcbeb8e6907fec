#include "geo/mine_index.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <numbers>
#include <stdexcept>

#include "geo/great_circle.h"

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
// The lower bounds of the nearest search may round a hair above a distance
// they bound; a subtree is skipped only when its bound is clearly beyond.
constexpr double kBoundMargin = 1e-9;

// A key that orders as the coordinate does (-0 just before +0): the float's
// bits, its sign flipped when positive and every bit when negative.
std::uint32_t OrderedKey(float coordinate) {
    const auto bits = std::bit_cast<std::uint32_t>(coordinate);
    return (bits & 0x80000000u) != 0 ? ~bits : bits | 0x80000000u;
}

// An entry's place in the order of one coordinate, equal coordinates in
// collection order.
std::uint64_t Rank(const auto& entry, int coordinate) {
    return std::uint64_t{entry.key[coordinate]} << 32 | entry.element;
}

// Orders the first `count` entries by one coordinate, equal ones keeping
// their order: a radix sort of three 11-bit digits, `scratch` as large.
template <typename Entry>
void SortByKey(std::vector<Entry>& entries, std::vector<Entry>& scratch, std::size_t count,
               int coordinate) {
    constexpr int kDigitBits = 11;
    constexpr std::uint32_t kDigits = 1u << kDigitBits;
    for (int shift = 0; shift < 32; shift += kDigitBits) {
        std::vector<std::size_t> starts(kDigits + 1);
        for (std::size_t i = 0; i < count; ++i) {
            ++starts[((entries[i].key[coordinate] >> shift) & (kDigits - 1)) + 1];
        }
        for (std::uint32_t d = 1; d <= kDigits; ++d) {
            starts[d] += starts[d - 1];
        }
        for (std::size_t i = 0; i < count; ++i) {
            scratch[starts[(entries[i].key[coordinate] >> shift) & (kDigits - 1)]++] = entries[i];
        }
        entries.swap(scratch);
    }
}

bool IsFinite(const MineCoordinates& c) {
    return std::isfinite(c.latitude) && std::isfinite(c.longitude);
}

// Orders answers: by distance, then by collection order.
bool Nearer(const NearMine& a, const NearMine& b) {
    return a.haversine < b.haversine || (a.haversine == b.haversine && a.index < b.index);
}

// The best `count` answers seen so far, the worst on top.
class NearestHeap {
public:
    NearestHeap(std::size_t count, double withinKm)
        : m_count(count),
          m_withinKm(withinKm),
          m_withinHaversine(withinKm >= 0 ? HaversineFromKilometres(withinKm) : -1.0) {}

    // The haversine beyond which nothing can be taken.
    double Threshold() const {
        if (m_count == 0) {
            return -1.0;  // nothing is wanted
        }
        return m_answers.size() == m_count ? m_answers.front().haversine : m_withinHaversine;
    }

    // Takes the element if it is near enough and better than the worst kept.
    void Offer(std::size_t index, double haversine, const CMineArray& mines,
               const MinePredicate& accept) {
        if (m_count == 0 || !(haversine <= m_withinHaversine * (1 + kBoundMargin))) {
            return;
        }
        const NearMine candidate{index, haversine, 0.0, 0.0};
        if (m_answers.size() == m_count && !Nearer(candidate, m_answers.front())) {
            return;
        }
        const double km = KilometresFromHaversine(haversine);
        if (!(km <= m_withinKm) || (accept && !accept(mines[index]))) {
            return;
        }
        if (m_answers.size() == m_count) {
            std::pop_heap(m_answers.begin(), m_answers.end(), Nearer);
            m_answers.pop_back();
        }
        m_answers.push_back({index, haversine, km, 0.0});
        std::push_heap(m_answers.begin(), m_answers.end(), Nearer);
    }

    // The answers nearest first, each with its bearing from the point.
    std::vector<NearMine> Sorted(const CMineArray& mines, double latitude, double longitude) && {
        std::sort_heap(m_answers.begin(), m_answers.end(), Nearer);
        for (NearMine& answer : m_answers) {
            const MineCoordinates& at = mines.Coordinates()[answer.index];
            answer.bearingDegrees =
                InitialBearingDegrees(latitude, longitude, at.latitude, at.longitude);
        }
        return std::move(m_answers);
    }

private:
    std::size_t m_count;
    double m_withinKm;
    double m_withinHaversine;
    std::vector<NearMine> m_answers;
};

double SquaredSine(double radians) {
    const double s = std::sin(radians);
    return s * s;
}

// Degrees east from `longitude` to the nearest longitude of [west, east],
// either way round; 0 inside.
double LongitudeGap(double longitude, double west, double east) {
    if (longitude >= west && longitude <= east) {
        return 0.0;
    }
    const double eastward = longitude < west ? west - longitude : west - longitude + 360.0;
    const double westward = longitude > east ? longitude - east : longitude - east + 360.0;
    return std::min(eastward, westward);
}

}  // namespace

std::vector<NearMine> FindNearestByScan(const CMineArray& mines, double latitude, double longitude,
                                        std::size_t count, double withinKm,
                                        const MinePredicate& accept) {
    if (!(std::fabs(latitude) <= 90.0 && std::fabs(longitude) <= 180.0)) {
        return {};
    }
    NearestHeap heap(count, withinKm);
    const auto coordinates = mines.Coordinates();
    for (std::size_t i = 1; i < coordinates.size(); ++i) {
        if (IsOnGlobe(coordinates[i])) {
            heap.Offer(i,
                       HaversineOfAngle(latitude, longitude, coordinates[i].latitude,
                                        coordinates[i].longitude),
                       mines, accept);
        }
    }
    return std::move(heap).Sorted(mines, latitude, longitude);
}

struct CMineIndex::NearestSearch {
    double latitude;
    double longitude;
    double cosLatitude;
    NearestHeap heap;
    const MinePredicate& accept;

    // The latitude difference in degrees beyond which nothing can be taken:
    // the angle of the heap's threshold, widened by the margin. Comparing
    // degrees saves a sine per subtree and per candidate. Kept until the
    // threshold changes.
    double LatitudeReach() {
        const double threshold = heap.Threshold();
        if (threshold != reachThreshold) {
            reachThreshold = threshold;
            reachDegrees = threshold < 0    ? -1.0
                           : threshold >= 1 ? std::numeric_limits<double>::infinity()
                                            : 2 * std::asin(std::sqrt(threshold)) /
                                                  kRadiansPerDegree * (1 + kBoundMargin);
        }
        return reachDegrees;
    }

    double reachThreshold = std::numeric_limits<double>::quiet_NaN();
    double reachDegrees = 0.0;
};

CMineIndex::CMineIndex(const CMineArray& mines) : m_pMines(&mines) {
    const auto coordinates = mines.Coordinates();
    if (coordinates.size() > std::numeric_limits<std::uint32_t>::max()) {
        throw std::length_error("too many mines for the spatial index");
    }
    std::vector<BuildEntry> byLatitude;
    byLatitude.reserve(coordinates.size());
    for (std::size_t i = 1; i < coordinates.size(); ++i) {
        if (IsOnGlobe(coordinates[i])) {
            byLatitude.push_back(
                {{OrderedKey(coordinates[i].latitude), OrderedKey(coordinates[i].longitude)},
                 static_cast<std::uint32_t>(i)});
        } else if (IsFinite(coordinates[i])) {
            m_offGlobe.push_back(static_cast<std::uint32_t>(i));
        }
    }
    m_offGlobe.shrink_to_fit();
    const std::size_t count = byLatitude.size();
    // One more than the entries: a partition writes one past its last.
    byLatitude.emplace_back();
    std::vector<BuildEntry> byLongitude = byLatitude;
    std::vector<BuildEntry> scratch(count + 1);
    SortByKey(byLatitude, scratch, count, 0);
    SortByKey(byLongitude, scratch, count, 1);
    m_tree.resize(count);
    m_firstBelow.resize(count);
    BuildNode({{byLatitude.data(), byLongitude.data()}, scratch.data()}, 0, count, 0);
}

double CMineIndex::Coordinate(std::uint32_t element, int depth) const {
    const MineCoordinates& c = m_pMines->Coordinates()[element];
    return depth % 2 == 0 ? c.latitude : c.longitude;
}

std::uint32_t CMineIndex::BuildNode(const BuildLists& lists, std::size_t low, std::size_t high,
                                    int depth) {
    if (low >= high) {
        return std::numeric_limits<std::uint32_t>::max();
    }
    // The median by this level's coordinate splits the subtree; the entries
    // ordered by the other coordinate are parted, keeping their order, into
    // those before and those after it: each half is then ordered by both.
    const int split = depth % 2;
    const int other = 1 - split;
    const std::size_t middle = low + (high - low) / 2;
    // Copied: the halves below may write over the median's place.
    const BuildEntry median = lists.byCoordinate[split][middle];
    const std::uint64_t medianRank = Rank(median, split);
    m_tree[middle] = median.element;
    BuildEntry* before = lists.scratch + low;
    BuildEntry* after = lists.scratch + middle + 1;
    const BuildEntry* const end = lists.byCoordinate[other] + high;
    for (const BuildEntry* entry = lists.byCoordinate[other] + low; entry != end; ++entry) {
        const std::uint64_t rank = Rank(*entry, split);
        *before = *entry;
        *after = *entry;
        before += rank < medianRank ? 1 : 0;
        after += rank > medianRank ? 1 : 0;
    }
    BuildLists halves = lists;
    halves.byCoordinate[other] = lists.scratch;
    halves.scratch = lists.byCoordinate[other];
    const std::uint32_t earliest =
        std::min({median.element, BuildNode(halves, low, middle, depth + 1),
                  BuildNode(halves, middle + 1, high, depth + 1)});
    m_firstBelow[middle] = earliest;
    return earliest;
}

std::optional<std::size_t> CMineIndex::FindMineAt(double latitude, double longitude,
                                                  float sensitivity) const {
    const double tolerance = sensitivity;
    // The scan matches nothing for these; the tree would visit every node.
    if (!(tolerance > 0) || !std::isfinite(latitude) || !std::isfinite(longitude)) {
        return std::nullopt;
    }
    std::uint32_t best = std::numeric_limits<std::uint32_t>::max();
    SearchBox(0, m_tree.size(), 0, latitude, longitude, tolerance, best);
    const auto coordinates = m_pMines->Coordinates();
    for (const std::uint32_t element : m_offGlobe) {
        if (element >= best) {
            break;
        }
        if (tolerance > std::fabs(static_cast<double>(coordinates[element].latitude) - latitude) &&
            tolerance >
                std::fabs(static_cast<double>(coordinates[element].longitude) - longitude)) {
            best = element;
            break;
        }
    }
    if (best == std::numeric_limits<std::uint32_t>::max()) {
        return std::nullopt;
    }
    return best;
}

void CMineIndex::SearchBox(std::size_t low, std::size_t high, int depth, double latitude,
                           double longitude, double tolerance, std::uint32_t& best) const {
    if (low >= high) {
        return;
    }
    const std::size_t middle = low + (high - low) / 2;
    if (m_firstBelow[middle] >= best) {
        return;  // nothing below comes before the match already found
    }
    const std::uint32_t element = m_tree[middle];
    const MineCoordinates& c = m_pMines->Coordinates()[element];
    // The same comparisons as the linear scan, so that the answers agree.
    if (element < best && tolerance > std::fabs(static_cast<double>(c.latitude) - latitude) &&
        tolerance > std::fabs(static_cast<double>(c.longitude) - longitude)) {
        best = element;
    }
    // The left subtree holds values up to the split, the right from it on.
    // Rounded subtraction keeps order, so when the split itself is too far on
    // one side, so is everything beyond it.
    const double split = Coordinate(element, depth);
    const double wanted = depth % 2 == 0 ? latitude : longitude;
    const bool splitTooFar = !(tolerance > std::fabs(split - wanted));
    const bool left = !(split < wanted && splitTooFar);
    const bool right = !(split > wanted && splitTooFar);
    const std::size_t leftMiddle = low + (middle - low) / 2;
    const std::size_t rightMiddle = middle + 1 + (high - middle - 1) / 2;
    // The subtree holding the earlier elements first: its match ends more of
    // the other's search.
    const bool leftFirst = middle == low || (middle + 1 < high &&
                                             m_firstBelow[leftMiddle] < m_firstBelow[rightMiddle]);
    if (leftFirst) {
        if (left) {
            SearchBox(low, middle, depth + 1, latitude, longitude, tolerance, best);
        }
        if (right) {
            SearchBox(middle + 1, high, depth + 1, latitude, longitude, tolerance, best);
        }
    } else {
        if (right) {
            SearchBox(middle + 1, high, depth + 1, latitude, longitude, tolerance, best);
        }
        if (left) {
            SearchBox(low, middle, depth + 1, latitude, longitude, tolerance, best);
        }
    }
}

std::vector<NearMine> CMineIndex::FindNearest(double latitude, double longitude, std::size_t count,
                                              double withinKm, const MinePredicate& accept) const {
    if (!(std::fabs(latitude) <= 90.0 && std::fabs(longitude) <= 180.0)) {
        return {};
    }
    NearestSearch search{latitude, longitude, std::cos(latitude * kRadiansPerDegree),
                         NearestHeap(std::min(count, m_tree.size()), withinKm), accept};
    // The outer box takes cos ±90° as 0, the true value. The library's
    // cos(π/2) is a rounding residue near 6e-17 that differs between
    // libraries and between compile-time folding and run time; 0 lies below
    // every such residue, so the box's bound never exceeds a distance to a
    // mine at a pole.
    SearchNearest(0, m_tree.size(), 0, {-90.0, 90.0, -180.0, 180.0, 0.0, 0.0}, search);
    return std::move(search.heap).Sorted(*m_pMines, latitude, longitude);
}

void CMineIndex::OfferNearest(std::uint32_t element, NearestSearch& search) const {
    const MineCoordinates& c = m_pMines->Coordinates()[element];
    // The latitude difference alone bounds the distance from below.
    if (std::fabs(c.latitude - search.latitude) > search.LatitudeReach()) {
        return;
    }
    search.heap.Offer(element,
                      HaversineOfAngle(search.latitude, search.longitude, c.latitude, c.longitude),
                      *m_pMines, search.accept);
}

void CMineIndex::SearchNearest(std::size_t low, std::size_t high, int depth, const Bounds& bounds,
                               NearestSearch& search) const {
    if (low >= high) {
        return;
    }
    // A lower bound of the haversine to any point of the box: the latitude
    // gap alone, plus the longitude gap at the box's widest-apart latitude.
    const double latitudeGap = search.latitude < bounds.south   ? bounds.south - search.latitude
                               : search.latitude > bounds.north ? search.latitude - bounds.north
                                                                : 0.0;
    if (latitudeGap > search.LatitudeReach()) {
        return;
    }
    const double longitudeGap = LongitudeGap(search.longitude, bounds.west, bounds.east);
    if (longitudeGap > 0) {
        const double leastCos = std::max(0.0, std::min(bounds.cosSouth, bounds.cosNorth));
        const double bound =
            SquaredSine(latitudeGap * kRadiansPerDegree / 2) +
            search.cosLatitude * leastCos * SquaredSine(longitudeGap * kRadiansPerDegree / 2);
        if (bound * (1 - kBoundMargin) > search.heap.Threshold()) {
            return;
        }
    }
    if (high - low <= kLeafSize) {
        // Too few elements to be worth more bounds.
        for (std::size_t i = low; i < high; ++i) {
            OfferNearest(m_tree[i], search);
        }
        return;
    }
    const std::size_t middle = low + (high - low) / 2;
    const std::uint32_t element = m_tree[middle];
    OfferNearest(element, search);
    const double split = Coordinate(element, depth);
    Bounds below = bounds;
    Bounds above = bounds;
    if (depth % 2 == 0) {
        below.north = above.south = split;
        below.cosNorth = above.cosSouth = std::cos(split * kRadiansPerDegree);
    } else {
        below.east = above.west = split;
    }
    const double wanted = depth % 2 == 0 ? search.latitude : search.longitude;
    if (wanted < split) {
        SearchNearest(low, middle, depth + 1, below, search);
        SearchNearest(middle + 1, high, depth + 1, above, search);
    } else {
        SearchNearest(middle + 1, high, depth + 1, above, search);
        SearchNearest(low, middle, depth + 1, below, search);
    }
}

std::size_t CMineIndex::MemoryBytes() const {
    return sizeof(*this) + (m_tree.capacity() + m_firstBelow.capacity() + m_offGlobe.capacity()) *
                               sizeof(std::uint32_t);
}
