#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "geo/great_circle.h"
#include "geo/mine_index.h"
#include "minedata/mine_array.h"
#include "ozilink/mine_lookup.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// Random mines over the whole globe, with the places where an index goes
// wrong mixed in: the poles, both sides of the 180° meridian, 0,0, a crowd at
// one spot, and coordinates that are not a place at all.
CMineArray EdgeCaseMines(std::mt19937& random, std::size_t count) {
    std::uniform_real_distribution<float> latitude(-90.0f, 90.0f);
    std::uniform_real_distribution<float> longitude(-180.0f, 180.0f);
    std::uniform_int_distribution<int> kind(0, 19);
    const std::vector<std::pair<float, float>> awkward = {
        {90.0f, 0.0f},    {-90.0f, 45.0f},   {0.0f, 180.0f},    {0.0f, -180.0f},
        {10.0f, 179.99f}, {10.0f, -179.99f}, {0.0f, 0.0f},      {45.5f, -117.25f},
        {kNaN, 1.0f},     {1.0f, kNaN},      {kInf, 0.0f},      {100.0f, 500.0f},
        {-1e30f, 3.0f},   {89.999f, 170.0f}, {-89.999f, -10.0f}};
    CMineArray mines;
    mines.Add(CMine());
    for (std::size_t i = 0; i < count; ++i) {
        CMine mine;
        const int k = kind(random);
        if (k < 6) {
            const auto& [lat, lon] = awkward[random() % awkward.size()];
            mine.m_fLatitude = lat;
            mine.m_fLongitude = lon;
        } else if (k < 9) {  // clustered, as real mines are
            mine.m_fLatitude = 45.0f + static_cast<float>(random() % 100) / 100.0f;
            mine.m_fLongitude = -117.5f + static_cast<float>(random() % 100) / 100.0f;
        } else {
            mine.m_fLatitude = latitude(random);
            mine.m_fLongitude = longitude(random);
        }
        mine.m_nDepId = static_cast<int32_t>(i);
        mines.Add(std::move(mine));
    }
    return mines;
}

struct Query {
    double latitude;
    double longitude;
};

// Queries on and beside mines (exactly one sensitivity away, on the strict
// edge), at the awkward places, and at random.
std::vector<Query> Queries(std::mt19937& random, const CMineArray& mines, double offset) {
    std::vector<Query> queries = {{90, 0},    {-90, 0}, {0, 180},        {0, -180},      {10, 180},
                                  {10, -180}, {0, 0},   {45.5, -117.25}, {89.9995, -170}};
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    const auto coordinates = mines.Coordinates();
    for (int i = 0; i < 300; ++i) {
        const MineCoordinates& at = coordinates[1 + random() % (coordinates.size() - 1)];
        if (!IsOnGlobe(at)) {
            continue;
        }
        const double lat = at.latitude;
        const double lon = at.longitude;
        queries.push_back({lat, lon});
        queries.push_back({lat + offset, lon});
        queries.push_back({lat - offset, lon + offset});
        queries.push_back({std::clamp(lat + unit(random), -90.0, 90.0),
                           std::clamp(lon + unit(random), -180.0, 180.0)});
        queries.push_back({90 * unit(random), 180 * unit(random)});
    }
    return queries;
}

TEST(MineIndexTest, ClickLookupAgreesWithTheLinearScan) {
    std::mt19937 random(20261207);
    const CMineArray mines = EdgeCaseMines(random, 3000);
    const CMineIndex index(mines);
    for (const float sensitivity : {0.001f, 0.5f, 1.0f, 0.0f, -1.0f, 7.25f, 400.0f, kNaN, kInf}) {
        const double offset = std::isfinite(sensitivity) ? sensitivity : 1.0;
        for (const Query& q : Queries(random, mines, offset)) {
            ASSERT_EQ(index.FindMineAt(q.latitude, q.longitude, sensitivity),
                      FindMineAt(mines, q.latitude, q.longitude, sensitivity))
                << q.latitude << ", " << q.longitude << " within " << sensitivity;
        }
    }
    // The off-globe mines are found as the scan finds them.
    EXPECT_EQ(index.FindMineAt(100.0, 500.0, 0.5f), FindMineAt(mines, 100.0, 500.0, 0.5f));
    EXPECT_TRUE(index.FindMineAt(100.0, 500.0, 0.5f).has_value());
    EXPECT_EQ(index.FindMineAt(std::nan(""), 0.0, kInf), std::nullopt);
}

TEST(MineIndexTest, NearestAgreesWithTheLinearScan) {
    std::mt19937 random(7);
    const CMineArray mines = EdgeCaseMines(random, 2000);
    const CMineIndex index(mines);
    const MinePredicate oddOnly = [](const CMine& mine) { return mine.m_nDepId % 2 == 1; };
    const double unlimited = std::numeric_limits<double>::infinity();
    struct Case {
        std::size_t count;
        double withinKm;
        MinePredicate accept;
    };
    const std::vector<Case> cases = {
        {1, unlimited, {}}, {5, unlimited, {}},      {40, unlimited, {}}, {5, 150.0, {}},
        {5, 0.0, {}},       {3, unlimited, oddOnly}, {0, unlimited, {}},  {100000, 500.0, {}}};
    for (const Case& c : cases) {
        for (const Query& q : Queries(random, mines, 0.01)) {
            const auto indexed =
                index.FindNearest(q.latitude, q.longitude, c.count, c.withinKm, c.accept);
            const auto scanned =
                FindNearestByScan(mines, q.latitude, q.longitude, c.count, c.withinKm, c.accept);
            ASSERT_EQ(indexed.size(), scanned.size()) << q.latitude << ", " << q.longitude;
            for (std::size_t i = 0; i < indexed.size(); ++i) {
                ASSERT_EQ(indexed[i].index, scanned[i].index)
                    << q.latitude << ", " << q.longitude << " answer " << i;
                ASSERT_EQ(indexed[i].distanceKm, scanned[i].distanceKm);
            }
        }
    }
}

TEST(MineIndexTest, NearestTiesComeInFileOrderAndOffGlobeMinesNeverAnswer) {
    CMineArray mines;
    mines.Add(CMine());
    for (const auto& [lat, lon] : std::vector<std::pair<float, float>>{
             {1, 1}, {2, 2}, {1, 1}, {100, 1}, {kNaN, 1}, {1, 1}, {0, 0}, {90, 0}, {-90, 45}}) {
        CMine mine;
        mine.m_fLatitude = lat;
        mine.m_fLongitude = lon;
        mines.Add(std::move(mine));
    }
    const CMineIndex index(mines);
    const double anywhere = std::numeric_limits<double>::infinity();
    const auto answers = index.FindNearest(1, 1, 10, anywhere);
    std::vector<std::size_t> order;
    for (const NearMine& answer : answers) {
        order.push_back(answer.index);
    }
    EXPECT_EQ(order, (std::vector<std::size_t>{1, 3, 6, 2, 7, 8, 9}));
    // Points off the globe find nothing.
    EXPECT_TRUE(index.FindNearest(91, 0, 1, 1e9).empty());
    EXPECT_TRUE(index.FindNearest(0, std::nan(""), 1, 1e9).empty());
    // Mines exactly at the poles are answers, with their distance and bearing
    // (the scan is checked too: both share the on-globe rule).
    const struct {
        double latitude, longitude;
        std::size_t index;
        double km, bearing;
    } poles[] = {{89.5, 10, 8, 55.5975, 0.0}, {-89, -100, 9, 111.195, 180.0}};
    for (const auto& pole : poles) {
        for (const auto& found :
             {index.FindNearest(pole.latitude, pole.longitude, 1, anywhere),
              FindNearestByScan(mines, pole.latitude, pole.longitude, 1, 200)}) {
            ASSERT_EQ(found.size(), 1u) << pole.latitude;
            EXPECT_EQ(found[0].index, pole.index);
            EXPECT_NEAR(found[0].distanceKm, pole.km, 0.0005);
            EXPECT_NEAR(std::remainder(found[0].bearingDegrees - pole.bearing, 360.0), 0.0, 1e-9);
        }
    }
}

TEST(MineIndexTest, CostsUnderSixteenBytesPerMine) {
    std::mt19937 random(1);
    const CMineArray mines = EdgeCaseMines(random, 100000);
    const CMineIndex index(mines);
    EXPECT_LT(index.MemoryBytes(), 16 * mines.GetSize());
    const CMineArray none;
    const CMineIndex empty(none);
    EXPECT_EQ(empty.FindMineAt(0, 0, 1.0f), std::nullopt);
    EXPECT_TRUE(empty.FindNearest(0, 0, 5, 1e9).empty());
}

TEST(GreatCircleTest, HandComputedDistancesAndBearings) {
    struct Case {
        double lat1, lon1, lat2, lon2;
        double km;
        double bearing;
    };
    // One degree of arc is 6371.0088 * pi / 180 = 111.19508 km.
    const Case cases[] = {
        {0, 0, 1, 0, 111.195, 0.0},            // north along a meridian
        {0, 0, 0, 1, 111.195, 90.0},           // east along the equator
        {45, 10, 44, 10, 111.195, 180.0},      // south
        {0, 0, 0, -1, 111.195, 270.0},         // west
        {0, 179.5, 0, -179.5, 111.195, 90.0},  // east across the 180° meridian
        {0, -179.5, 0, 179.5, 111.195, 270.0},
        {90, 0, -90, 0, 20015.114, 180.0},  // pole to pole: half the circumference
        {0, 0, 0, 180, 20015.114, 90.0},
        {89, 0, 89, 180, 222.390, 0.0},  // over the north pole
        {12, 34, 12, 34, 0.0, 0.0},      // the same point
        // 60°N, 1° of longitude: central angle 0.5 deg x cos 60, about 55.6 km.
        {60, 0, 60, 1, 55.597, 89.6},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(GreatCircleKm(c.lat1, c.lon1, c.lat2, c.lon2), c.km, 0.0005)
            << c.lat1 << "," << c.lon1 << " -> " << c.lat2 << "," << c.lon2;
        EXPECT_NEAR(InitialBearingDegrees(c.lat1, c.lon1, c.lat2, c.lon2), c.bearing, 0.05)
            << c.lat1 << "," << c.lon1 << " -> " << c.lat2 << "," << c.lon2;
    }
    // Never 360, never negative.
    const double almostNorth = InitialBearingDegrees(0, 0, 1, -1e-12);
    EXPECT_GE(almostNorth, 0.0);
    EXPECT_LT(almostNorth, 360.0);
}

}  // namespace
