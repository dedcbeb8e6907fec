#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "geo/great_circle.h"
#include "geo/mine_index.h"
#include "geo/route.h"
#include "geo/route_search.h"
#include "points/route_file.h"
#include "test_support.h"

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

struct Place {
    double latitude, longitude;
};

// A route of one part through `points`.
CRoute RouteThrough(const std::vector<Place>& points) {
    CRoute route;
    for (const Place& p : points) {
        EXPECT_TRUE(route.Add(p.latitude, p.longitude, false));
    }
    return route;
}

CMineArray MinesAt(const std::vector<Place>& places) {
    CMineArray mines = Collection({});
    for (const Place& p : places) {
        mines.Add(MakeMine(static_cast<std::int32_t>(mines.GetSize()),
                           static_cast<float>(p.latitude), static_cast<float>(p.longitude), "m"));
    }
    return mines;
}

// The place at `fraction` of the arc from `a` to `b`, by spherical
// interpolation: independent of the route code's vector algebra.
Place Between(const Place& a, const Place& b, double fraction) {
    const double angle =
        GreatCircleKm(a.latitude, a.longitude, b.latitude, b.longitude) / kEarthRadiusKm;
    if (angle < 1e-12) {
        return a;
    }
    const auto vector = [](const Place& p) {
        return std::vector<double>{std::cos(p.latitude * kDegree) * std::cos(p.longitude * kDegree),
                                   std::cos(p.latitude * kDegree) * std::sin(p.longitude * kDegree),
                                   std::sin(p.latitude * kDegree)};
    };
    const auto va = vector(a);
    const auto vb = vector(b);
    const double wa = std::sin((1 - fraction) * angle) / std::sin(angle);
    const double wb = std::sin(fraction * angle) / std::sin(angle);
    const double x = wa * va[0] + wb * vb[0];
    const double y = wa * va[1] + wb * vb[1];
    const double z = wa * va[2] + wb * vb[2];
    return {std::atan2(z, std::hypot(x, y)) / kDegree, std::atan2(y, x) / kDegree};
}

TEST(RouteTest, HandComputedDistancesAlongAndSides) {
    // East along the equator for 2°, then north along the meridian 2°E for 2°.
    const CRoute route = RouteThrough({{0, 0}, {0, 2}, {2, 2}});
    const CMineArray mines = MinesAt({{0.1, 1},     // beside leg 1, north: left
                                      {-0.1, 1},    // beside leg 1, south: right
                                      {1, 2.1},     // beside leg 2, east: right
                                      {0.3, -0.4},  // before the start: nearest to it
                                      {0, 2},       // on the corner
                                      {1, 1},       // inside the corner, nearer leg 2
                                      {-0.5, 2.5}}  // outside the corner: nearest to it
    );
    const struct {
        std::size_t index;
        double distanceKm, alongKm;
        RouteSide side;
        std::size_t leg;
    } expected[] = {
        {4, 55.597, 0.0, RouteSide::kLeft, 1},      {1, 11.120, 111.195, RouteSide::kLeft, 1},
        {2, 11.120, 111.195, RouteSide::kRight, 1}, {5, 0.0, 222.390, RouteSide::kOn, 1},
        {7, 78.626, 222.390, RouteSide::kRight, 1}, {3, 11.118, 333.585, RouteSide::kRight, 2},
        {6, 111.178, 333.602, RouteSide::kLeft, 2},
    };
    const auto answers = FindAlongRouteByScan(mines, route, 200);
    ASSERT_EQ(answers.size(), std::size(expected));
    for (std::size_t i = 0; i < answers.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(answers[i].index, expected[i].index);
        EXPECT_NEAR(answers[i].distanceKm, expected[i].distanceKm, 5e-4);
        EXPECT_NEAR(answers[i].alongKm, expected[i].alongKm, 5e-4);
        EXPECT_EQ(answers[i].side, expected[i].side);
        EXPECT_EQ(answers[i].leg, expected[i].leg);
    }
    EXPECT_NEAR(route.LengthKm(), 444.780, 5e-4);
    // 179° from both ends of a leg it lies beside neither of: at the start.
    const auto opposite =
        FindAlongRouteByScan(MinesAt({{0, 180}}), RouteThrough({{-1, 0}, {1, 0}}), 20000);
    ASSERT_EQ(opposite.size(), 1u);
    EXPECT_EQ(opposite[0].alongKm, 0.0);
    // 0.01° (1.11195 km) beyond the end of a leg: within a reach of 1.1120 km,
    // not of 1.1119 km.
    const CMineArray beyond = MinesAt({{0, 1.01}});
    EXPECT_EQ(FindAlongRouteByScan(beyond, RouteThrough({{0, 0}, {0, 1}}), 1.1120).size(), 1u);
    EXPECT_EQ(FindAlongRouteByScan(beyond, RouteThrough({{0, 0}, {0, 1}}), 1.1119).size(), 0u);
}

TEST(RouteTest, GapsAreNoLegsAndRepeatedPointsKeepTheirLegNumbers) {
    CRoute route;
    route.Add(0, 0, false);
    route.Add(0, 0, false);  // leg 1 has no length
    route.Add(0, 1, false);  // leg 2
    route.Add(5, 1, true);   // a gap: no leg between (0,1) and (5,1)
    route.Add(5, 2, false);  // leg 3
    EXPECT_EQ(route.UsefulLegCount(), 2u);
    EXPECT_NEAR(route.LengthKm(), 111.195 + GreatCircleKm(5, 1, 5, 2), 1e-3);
    // Beside the gap, and on leg 3's start and beside its middle.
    const CMineArray mines = MinesAt({{2.5, 1}, {5, 1}, {5.01, 1.5}, {0.001, -0.001}});
    const auto answers = FindAlongRouteByScan(mines, route, 5);
    ASSERT_EQ(answers.size(), 3u);
    EXPECT_EQ(answers[0].index, 4u);
    EXPECT_EQ(answers[0].leg, 2u);
    EXPECT_EQ(answers[1].index, 2u);
    EXPECT_EQ(answers[1].leg, 3u);
    EXPECT_NEAR(answers[1].alongKm, 111.195, 1e-3);
    EXPECT_EQ(answers[2].index, 3u);
    EXPECT_EQ(answers[2].side, RouteSide::kLeft);
    // Antipodes span no single arc.
    EXPECT_FALSE(route.Add(-5, -178, false));
}

// Random mines near the route (beside any point of any leg, up to twice the
// reach away), on its points, and all over the globe with the awkward places.
CMineArray MinesAround(std::mt19937& random, const std::vector<Place>& points, double reachKm) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<Place> places = {{90, 0},   {-90, 0},     {0, 180},  {0, -180},
                                 {89.9, 5}, {-89.9, 170}, {10, 180}, {10, -179.999}};
    for (const Place& p : points) {
        places.push_back(p);  // exactly on a route point
    }
    for (int i = 0; i < 3000; ++i) {
        const std::size_t leg = random() % (points.size() - 1);
        const Place foot = Between(points[leg], points[leg + 1], unit(random));
        const double offset = 2 * reachKm / kEarthRadiusKm / kDegree * unit(random);
        const double direction = 2 * std::numbers::pi * unit(random);
        double latitude = foot.latitude + offset * std::cos(direction);
        double longitude = foot.longitude + offset * std::sin(direction) /
                                                std::max(std::cos(foot.latitude * kDegree), 0.01);
        latitude = std::clamp(latitude, -90.0, 90.0);
        longitude = std::remainder(longitude, 360.0);
        places.push_back({latitude, longitude});
        places.push_back({180 * unit(random) - 90, 360 * unit(random) - 180});
    }
    return MinesAt(places);
}

// The distance from `place` to the route by sampling every leg finely; within
// `tolerance` of the true one.
double SampledDistanceKm(const std::vector<Place>& points, const Place& place, double& tolerance) {
    constexpr int kSamples = 200;
    double best = 1e9;
    tolerance = 0;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const double length = GreatCircleKm(points[i].latitude, points[i].longitude,
                                            points[i + 1].latitude, points[i + 1].longitude);
        tolerance = std::max(tolerance, length / kSamples / 2 + 1e-6);
        for (int s = 0; s <= kSamples; ++s) {
            const Place p = Between(points[i], points[i + 1], double(s) / kSamples);
            best = std::min(
                best, GreatCircleKm(place.latitude, place.longitude, p.latitude, p.longitude));
        }
    }
    return best;
}

TEST(RouteTest, TheIndexFindsExactlyWhatTheScanFinds) {
    std::mt19937 random(20);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const std::vector<std::vector<Place>> routes = {
        // Back and forth across the 180° meridian.
        {{-10, 179}, {-9, -179}, {-8, 178.5}, {-7.5, -178}, {-7.5, -178}, {-7, 179.9}},
        // Near the north pole, and over it.
        {{88, 0}, {89.5, 90}, {89, -100}, {89.9, 170}, {85, -170}, {89, 10}},
        // Doubling back on itself, with repeated points.
        {{45, -117}, {45.3, -116.6}, {45.3, -116.6}, {45, -117}, {45.3, -116.6}, {44.9, -117.2}},
        // One leg of about 500 km, far from both ends in its middle.
        {{10, 0}, {10.5, 4.5}},
        // Near the south pole and across 180° there.
        {{-88.5, 175}, {-89.2, -170}, {-87, 100}},
    };
    for (std::size_t r = 0; r < routes.size(); ++r) {
        const std::vector<Place>& points = routes[r];
        const CRoute route = RouteThrough(points);
        for (const double within : {0.0, 0.5, 2.0, 60.0, 1000.0}) {
            SCOPED_TRACE("route " + std::to_string(r) + " within " + std::to_string(within));
            const CMineArray mines = MinesAround(random, points, std::max(within, 1.0));
            const CMineIndex index(mines);
            const auto expected = FindAlongRouteByScan(mines, route, within);
            const auto answers = FindAlongRoute(index, mines, route, within);
            ASSERT_EQ(answers.size(), expected.size());
            for (std::size_t i = 0; i < answers.size(); ++i) {
                EXPECT_EQ(answers[i].index, expected[i].index);
                EXPECT_EQ(answers[i].distanceKm, expected[i].distanceKm);
                EXPECT_EQ(answers[i].alongKm, expected[i].alongKm);
                EXPECT_EQ(answers[i].side, expected[i].side);
                EXPECT_EQ(answers[i].leg, expected[i].leg);
                if (i > 0) {
                    EXPECT_LE(answers[i - 1].alongKm, answers[i].alongKm);
                }
            }
            if (within != 2.0) {
                continue;
            }
            // The distances themselves, against sampling the legs.
            std::vector<bool> found(mines.GetSize(), false);
            for (const AlongMine& answer : answers) {
                found[answer.index] = true;
            }
            for (std::size_t i = 1; i < mines.GetSize(); i += 19) {
                const MineCoordinates& at = mines.Coordinates()[i];
                double tolerance = 0;
                const double sampled =
                    SampledDistanceKm(points, {at.latitude, at.longitude}, tolerance);
                if (found[i]) {
                    const auto answer =
                        std::find_if(answers.begin(), answers.end(),
                                     [i](const AlongMine& a) { return a.index == i; });
                    EXPECT_NEAR(answer->distanceKm, sampled, tolerance) << i;
                } else {
                    EXPECT_GT(sampled, within - tolerance) << i;
                }
            }
        }
    }
}

TEST(RouteTest, FiltersTakeTheirMinesOnly) {
    const CRoute route = RouteThrough({{0, 0}, {0, 1}});
    const CMineArray mines = MinesAt({{0, 0.2}, {0, 0.4}, {0, 0.6}});
    const CMineIndex index(mines);
    const auto answers = FindAlongRoute(index, mines, route, 1,
                                        [&](const CMine& mine) { return mine.m_nDepId != 2; });
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0].index, 1u);
    EXPECT_EQ(answers[1].index, 3u);
}

// What ReadRoute makes of a file: its parts as point counts, or its error.
std::string Parts(const std::string& text, RouteFormat format) {
    std::istringstream input(text);
    const RouteReadResult result = ReadRoute(input, format);
    if (!result.Ok()) {
        return "error " + result.error;
    }
    std::string parts;
    result.route.ForEachLeg([&](const RouteLeg& leg) {
        parts += std::to_string(leg.number) + "@" + std::to_string(int(leg.startLatitude)) + " ";
    });
    return parts;
}

TEST(RouteFileTest, ReadsEachFormatWithItsPartsAndReportsTheEntryThatFailed) {
    const std::string gpx =
        "<gpx><wpt lat='9' lon='9'/><rte><rtept lat='1' lon='0'/><rtept lat='2' lon='0'/>"
        "</rte><rte><rtept lat='3' lon='0'/><rtept lat='4' lon='0'/></rte>"
        "<trk><trkseg><trkpt lat='5' lon='0'/><trkpt lat='6' lon='0'/></trkseg>"
        "<trkseg><trkpt lat='7' lon='0'/><trkpt lat='8' lon='0'/></trkseg></trk></gpx>";
    const std::string plt =
        "OziExplorer Track Point File Version 2.1\r\nWGS 84\r\nAltitude is in Feet\r\n"
        "Reserved 3\r\n0,2,255,T,0,0,2,8421376\r\n4\r\n1,0,1,-777\r\n2,0,0,-777\r\n"
        "3,0,1,-777\r\n4.0, 0 ,0,-777,,,\r\n\r\n";
    const std::string rte =
        "OziExplorer Route File Version 1.0\r\nWGS 84\r\nReserved 1\r\nReserved 2\r\n"
        "R,1,R1,,\r\nW,1,,1,A,1,0,,0\r\nW,1,,2,B,2,0,,0\r\nR,2,R2,,\r\nW,2,,1,C,3,0\r\n"
        "W,2,,2,D,4,0\r\n";
    const struct {
        std::string text;
        RouteFormat format;
        std::string expected;
    } cases[] = {
        {gpx, RouteFormat::kGpx, "1@1 2@3 3@5 4@7 "},
        {plt, RouteFormat::kOziTrack, "1@1 2@3 "},
        {rte, RouteFormat::kOziRoute, "1@1 2@3 "},
        {"1,0\n#\n2,0\n\n3,0\n", RouteFormat::kPointLines, "1@1 2@2 "},
        {"1,0\n2,0\n1,0\n", RouteFormat::kPointLines, "1@1 2@2 "},
        {"1,0\n", RouteFormat::kPointLines, "error the route has fewer than two points"},
        {"1,0\n1,0\n", RouteFormat::kPointLines, "error the route has no leg"},
        {"1,0\nx,0\n", RouteFormat::kPointLines, "error line 2: latitude is not a decimal"},
        {"1,0\n-1,180\n", RouteFormat::kPointLines, "error line 2: the point is antipodal"},
        {"<gpx><rte><rtept lat='1' lon='0'/><rtept lat='2'/></rte></gpx>", RouteFormat::kGpx,
         "error point 2: <rtept> without lon"},
        {"<gpx><wpt lat='1' lon='0'/><wpt lat='2' lon='0'/></gpx>", RouteFormat::kGpx,
         "error the route has fewer than two points"},
        {"<gpx><rte><rtept lat='1' lon='0'/>", RouteFormat::kGpx,
         "error point 2: GPX line 1: the document ends inside <rte>"},
        {plt.substr(0, plt.size() - 20) + "x\r\n", RouteFormat::kOziTrack,
         "error line 10: expected LAT,LON"},
        {rte + "Q,1\r\n", RouteFormat::kOziRoute, "error line 11: expected an R or W line"},
        {rte + "W,1,,2,B\r\n", RouteFormat::kOziRoute, "error line 11: expected W,ROUTE"},
        {plt, RouteFormat::kOziRoute, "error line 1: not an OziExplorer route file"},
        {"", RouteFormat::kOziTrack, "error line 1: not an OziExplorer track file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 60));
        const std::string parts = Parts(c.text, c.format);
        EXPECT_EQ(parts.substr(0, c.expected.size()), c.expected) << parts;
    }
    EXPECT_EQ(RouteFormatOfName("a/TRIP.PLT"), RouteFormat::kOziTrack);
    EXPECT_EQ(RouteFormatOfName("trip.rte"), RouteFormat::kOziRoute);
    EXPECT_EQ(RouteFormatOfName("trip.Gpx"), RouteFormat::kGpx);
    EXPECT_EQ(RouteFormatOfName("rte"), RouteFormat::kPointLines);
}

}  // namespace
