#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "find/find_columns.h"
#include "find/mine_query.h"
#include "geo/lazy_mine_index.h"
#include "geo/route_search.h"
#include "points/route_file.h"
#include "test_support.h"

namespace {

CMine MineWith(float latitude, float longitude, std::string_view name, std::string_view state,
               std::string_view major) {
    CMine mine = MakeMine(0, latitude, longitude, name);
    mine.SetText(&CMine::m_strState, state);
    mine.SetText(&CMine::m_strComMajor, major);
    return mine;
}

// Around the point 0, 0: a degree of arc on the mean sphere is 111.195 km.
CMineArray MinesAroundOrigin() {
    return Collection({
        MineWith(0.0f, 1.0f, "East", "Nevada", "Gold"),         // 111.195 km, 90°
        MineWith(0.5f, 0.0f, "North", "Utah", "Silver, Gold"),  // 55.598 km, 0°
        MineWith(-2.0f, 0.0f, "South", "Nevada", "Golden"),     // 222.390 km, 180°
        MineWith(0.0f, -0.25f,
                 "PE\xD1"
                 "ASCO",
                 "nevada", "Gold"),  // 27.799 km, 270°
    });
}

std::vector<std::string> Column(const FindResult& result, FindColumn column,
                                const CMineArray& mines) {
    std::vector<std::string> texts;
    for (const FindRow& row : result.rows) {
        texts.push_back(FindCellText(row, column, mines));
    }
    return texts;
}

TEST(FindTest, NearestRowsComeNearestFirstWithHandComputedDistancesAndBearings) {
    const CMineArray mines = MinesAroundOrigin();
    CLazyMineIndex index(mines);
    FindRequest request;
    request.latitude = "0";
    request.longitude = " 0 ";
    request.count = "3";
    const FindResult result = RunFind(request, mines, index);
    ASSERT_TRUE(result.ok) << result.message;
    using Texts = std::vector<std::string>;
    EXPECT_EQ(Column(result, FindColumn::Name, mines), (Texts{"PE\u00D1ASCO", "North", "East"}));
    EXPECT_EQ(Column(result, FindColumn::Distance, mines), (Texts{"27.799", "55.598", "111.195"}));
    EXPECT_EQ(Column(result, FindColumn::Bearing, mines), (Texts{"270.0", "0.0", "90.0"}));

    request.withinKm = "100";
    request.state = "NEVADA";
    const FindResult near = RunFind(request, mines, index);
    ASSERT_TRUE(near.ok) << near.message;
    EXPECT_EQ(Column(near, FindColumn::Name, mines), (Texts{"PE\u00D1ASCO"}));

    request.latitude = "89";
    request.withinKm = "0";
    const FindResult none = RunFind(request, mines, index);
    EXPECT_TRUE(none.ok);
    EXPECT_TRUE(none.rows.empty());
    EXPECT_EQ(FindCountText(none.rows.size()), "No mines found");
    EXPECT_EQ(FindCountText(1), "1 mine");
    EXPECT_EQ(FindCountText(300000), "300000 mines");
}

TEST(FindTest, FiltersCombineAndMatchingKeepsFileOrder) {
    const CMineArray mines = MinesAroundOrigin();
    CLazyMineIndex index(mines);
    FindRequest request;
    request.mode = FindMode::Matching;
    request.commodity = "gold";
    request.state = "nevada";
    std::vector<std::size_t> found;
    for (const FindRow& row : RunFind(request, mines, index).rows) {
        found.push_back(row.index);
    }
    // "Golden" is no whole item; Utah is another state.
    EXPECT_EQ(found, (std::vector<std::size_t>{1, 4}));
    request.name = "pe\u00F1";
    found.clear();
    for (const FindRow& row : RunFind(request, mines, index).rows) {
        found.push_back(row.index);
    }
    EXPECT_EQ(found, (std::vector<std::size_t>{4}));
    EXPECT_FALSE(index.IsBuilt()) << "matching needs no index";
}

TEST(FindTest, AlongRowsAreThoseOfTheRouteSearch) {
    TempDir dir;
    const CMineArray mines = MinesAroundOrigin();
    CLazyMineIndex index(mines);
    FindRequest request;
    request.mode = FindMode::Along;
    request.routePath = dir.Write("trip.txt", "-3,0.001\n0.5,0.001\n0.001,1\n");
    request.withinKm = "1";
    const FindResult result = RunFind(request, mines, index);
    ASSERT_TRUE(result.ok) << result.message;

    std::ifstream file(request.routePath);
    const RouteReadResult route = ReadRoute(file, RouteFormat::kPointLines);
    const std::vector<AlongMine> expected = FindAlongRoute(index.Get(), mines, route.route, 1.0);
    ASSERT_EQ(result.rows.size(), expected.size());
    ASSERT_EQ(expected.size(), 3u);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(result.rows[i].index, expected[i].index);
        EXPECT_EQ(result.rows[i].alongKm, expected[i].alongKm);
        EXPECT_EQ(result.rows[i].fromRouteKm, expected[i].distanceKm);
        EXPECT_EQ(result.rows[i].side, expected[i].side);
        EXPECT_EQ(result.rows[i].leg, expected[i].leg);
    }
    // South, 0.001° of longitude west of a trip going north (0.111 km at 2°
    // south), then North at the end of the first leg, then East at the end of
    // the second.
    EXPECT_EQ(FindCellText(result.rows[0], FindColumn::Name, mines), "South");
    EXPECT_EQ(FindCellText(result.rows[0], FindColumn::FromRoute, mines), "0.111");
    EXPECT_EQ(FindCellText(result.rows[0], FindColumn::Side, mines), "left");
    EXPECT_EQ(FindCellText(result.rows[0], FindColumn::Leg, mines), "1");
    EXPECT_EQ(FindCellText(result.rows[1], FindColumn::Name, mines), "North");
    EXPECT_EQ(FindCellText(result.rows[2], FindColumn::Name, mines), "East");
    EXPECT_EQ(FindCellText(result.rows[2], FindColumn::Leg, mines), "2");
}

TEST(FindTest, BadValuesAndRoutesGiveMessagesNamingTheFieldOrTheFileAndLine) {
    TempDir dir;
    const CMineArray mines = MinesAroundOrigin();
    CLazyMineIndex index(mines);
    const std::string badLine = dir.Write("bad.txt", "1,0\nx,0\n");
    const std::string badPoint =
        dir.Write("bad.gpx", "<gpx><rte><rtept lat='1' lon='0'/><rtept lat='2'/></rte></gpx>");
    const std::string missing = dir.File("none.gpx");
    const struct {
        FindMode mode;
        const char* latitude;
        const char* count;
        const char* within;
        std::string route;
        const char* commodity;
        std::string message;
    } cases[] = {
        {FindMode::Near, "91", "20", "", "", "", "Latitude: outside -90 to 90: 91"},
        {FindMode::Near, "1,5", "20", "", "", "", "Latitude: not a decimal number: 1,5"},
        {FindMode::Near, "", "20", "", "", "", "Latitude: the value is empty"},
        {FindMode::Near, "1", "0", "", "", "",
         "Count: expected a whole number of mines, 1 or more: 0"},
        {FindMode::Near, "1", "2.5", "", "", "",
         "Count: expected a whole number of mines, 1 or more: 2.5"},
        {FindMode::Near, "1", "20", "-1", "", "",
         "Within: expected a distance of 0 km or more: -1"},
        {FindMode::Near, "1", "20", "", "", "gold,silver",
         "Commodity: one commodity, without commas: 'gold,silver'"},
        {FindMode::Along, "", "", "1001", badLine, "",
         "Within: expected a distance from 0 to 1000 km: 1001"},
        {FindMode::Along, "", "", "1", "", "", "Route file: the value is empty"},
        {FindMode::Along, "", "", "1", missing, "", "cannot open route file '" + missing + "'"},
        {FindMode::Along, "", "", "1", dir.Path().string(), "",
         "route file '" + dir.Path().string() + "' is a folder"},
        {FindMode::Along, "", "", "1", badLine, "",
         "route file '" + badLine + "': line 2: latitude is not a decimal number: 'x'"},
        {FindMode::Along, "", "", "1", badPoint, "",
         "route file '" + badPoint + "': point 2: <rtept> without lon attribute"},
    };
    for (const auto& c : cases) {
        FindRequest request;
        request.mode = c.mode;
        request.latitude = c.latitude;
        request.longitude = "0";
        request.count = c.count;
        request.withinKm = c.within;
        request.routePath = c.route;
        request.commodity = c.commodity;
        const FindResult result = RunFind(request, mines, index);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message, c.message);
        EXPECT_TRUE(result.rows.empty());
    }
    EXPECT_FALSE(index.IsBuilt()) << "a bad value is refused before the index is needed";
}

TEST(FindTest, SortingIsStableByFoldedTextsAndNumbersAndASecondClickReverses) {
    const CMineArray mines = Collection({
        MakeMine(1, 0, 0, "b"),
        MakeMine(2, 0, 0,
                 "\xC9"
                 "cole"),  // "École" in code page 1252
        MakeMine(3, 0, 0, "B"), MakeMine(4, 0, 0, "a"),
        MakeMine(5, 0, 0,
                 "\xC3\xA9"
                 "cole"),  // "école" in UTF-8
    });
    std::vector<FindRow> rows;
    const double distances[] = {2.0, 1.0, 2.0, 10.0, 1.0};
    for (std::size_t i = 1; i < mines.GetSize(); ++i) {
        FindRow row;
        row.index = i;
        row.distanceKm = distances[i - 1];
        rows.push_back(row);
    }
    CFindRowOrder order;
    order.Reset(rows.size());
    using Order = std::vector<std::uint32_t>;
    order.Click(FindColumn::Name, rows, mines);
    EXPECT_EQ(order.Order(), (Order{3, 0, 2, 1, 4}));  // a, b = B, École = école
    EXPECT_FALSE(order.IsDescending());
    order.Click(FindColumn::Name, rows, mines);
    EXPECT_EQ(order.Order(), (Order{1, 4, 0, 2, 3}));  // equal keys keep their order
    EXPECT_TRUE(order.IsDescending());
    order.Click(FindColumn::Distance, rows, mines);
    EXPECT_EQ(order.Order(), (Order{1, 4, 0, 2, 3}));  // 1, 1, 2, 2, 10: already in order
    order.Click(FindColumn::Distance, rows, mines);
    EXPECT_EQ(order.Order(), (Order{3, 0, 2, 1, 4}));  // 10 before 2 and 1: not as text
    EXPECT_EQ(MinesInOrder(order.Order(), rows), (std::vector<std::size_t>{4, 1, 3, 2, 5}));
    order.Reset(rows.size());
    EXPECT_EQ(order.Order(), (Order{0, 1, 2, 3, 4}));
    EXPECT_FALSE(order.IsSorted());

    // Keys that agree in their first 16 bytes, or end there.
    const CMineArray long_names = Collection({
        MakeMine(1, 0, 0, "Crown Point Mine, No. 9"),
        MakeMine(2, 0, 0, "crown point mine, no. 10"),
        MakeMine(3, 0, 0, "CROWN POINT MINE"),
        MakeMine(4, 0, 0, std::string_view("Crown Point Mine\0", 17)),
        MakeMine(5, 0, 0, "Crown Point Mine, No. 9"),
    });
    order.Reset(rows.size());
    order.Click(FindColumn::Name, rows, long_names);
    EXPECT_EQ(order.Order(), (Order{2, 3, 1, 0, 4}));
    order.Click(FindColumn::Name, rows, long_names);
    EXPECT_EQ(order.Order(), (Order{0, 4, 1, 3, 2}));
    order.Click(FindColumn::Name, rows, long_names);
    EXPECT_EQ(order.Order(), (Order{2, 3, 1, 0, 4}));
}

TEST(FindTest, TheLazyIndexIsBuiltOnceAndResetDropsIt) {
    CMineArray mines = MinesAroundOrigin();
    CLazyMineIndex index(mines);
    EXPECT_FALSE(index.IsBuilt());
    const CMineIndex* first = &index.Get();
    EXPECT_TRUE(index.IsBuilt());
    EXPECT_EQ(&index.Get(), first);
    EXPECT_EQ(first->FindNearest(0, 0, 1, 1000).front().index, 4u);

    CMineArray reloaded = Collection({MakeMine(1, 10.0f, 10.0f, "Other")});
    mines.Swap(reloaded);
    index.Reset();
    EXPECT_FALSE(index.IsBuilt());
    const std::vector<NearMine> near = index.Get().FindNearest(0, 0, 5, 100000);
    ASSERT_EQ(near.size(), 1u);
    EXPECT_EQ(FindCellText(FindRow{near.front().index}, FindColumn::Name, mines), "Other");
}

}  // namespace
