#include "minedata/mine_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

CMine MakeMine(float latitude, float longitude, std::string_view major, std::string_view minor,
               std::string_view name) {
    CMine mine;
    mine.m_fLatitude = latitude;
    mine.m_fLongitude = longitude;
    mine.SetText(&CMine::m_strComMajor, major);
    mine.SetText(&CMine::m_strComMinor, minor);
    mine.SetText(&CMine::m_strSiteName, name);
    mine.SetText(&CMine::m_strState, " Alaska");
    mine.SetText(&CMine::m_strDevStat, "Past Producer");
    return mine;
}

TEST(MineFilterTest, BoxesIncludingThoseAcrossTheMeridian) {
    struct Case {
        GeoBox box;
        double latitude;
        double longitude;
        bool inside;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {{10, -20, 11, -19}, 10, -20, true},  // bounds included
        {{10, -20, 11, -19}, 11, -19, true},
        {{10, -20, 11, -19}, 11.001, -19, false},
        {{10, -20, 11, -19}, 10.5, -18.9, false},
        {{50, 170, 55, -170}, 52, 179.9, true},  // crossing 180 degrees
        {{50, 170, 55, -170}, 52, -175, true},
        {{50, 170, 55, -170}, 52, 180, true},
        {{50, 170, 55, -170}, 52, 0, false},
        {{50, 170, 55, -170}, 49, 175, false},
        {{0, 5, 1, 5}, 0.5, 5, true},  // a line
        {{-90, -180, 90, 180}, nan, 0, false},
        {{-90, -180, 90, 180}, 0, nan, false},
        {{-90, 170, 90, -170}, 0, nan, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.box.Contains(c.latitude, c.longitude), c.inside)
            << c.latitude << ", " << c.longitude;
    }
}

TEST(MineFilterTest, TextCriteria) {
    const CMine mine =
        MakeMine(52, -176, "Silver, Gold", "Lead,  copper ", "Golden \"Eagle\" Mine");
    struct Case {
        MineFilter filter;
        bool matches;
    };
    const auto with = [](auto member, std::string value) {
        MineFilter filter;
        filter.*member = std::move(value);
        return filter;
    };
    const Case cases[] = {
        {MineFilter(), true},
        {with(&MineFilter::commodity, "gold"), true},
        {with(&MineFilter::commodity, "COPPER"), true},
        {with(&MineFilter::commodity, "golden"), false},
        {with(&MineFilter::commodity, "silver, gold"), false},
        {with(&MineFilter::commodity, "Lea"), false},
        {with(&MineFilter::state, "alaska"), true},
        {with(&MineFilter::state, "alask"), false},
        {with(&MineFilter::status, "past producer"), true},
        {with(&MineFilter::status, "Producer"), false},
        {with(&MineFilter::name, "\"eagle\""), true},
        {with(&MineFilter::name, "golden eagle"), false},
        {with(&MineFilter::name, "Golden \"Eagle\" Mine"), true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.filter.Matches(mine), c.matches)
            << c.filter.commodity.value_or("") << c.filter.state.value_or("")
            << c.filter.status.value_or("") << c.filter.name.value_or("");
    }
    MineFilter both = with(&MineFilter::commodity, "gold");
    both.box = GeoBox{50, 170, 55, -170};
    EXPECT_TRUE(both.Matches(mine));
    both.box = GeoBox{50, 170, 55, 180};
    EXPECT_FALSE(both.Matches(mine));
}

TEST(MineFilterTest, ParsesOptionTexts) {
    const GeoBox box = ParseGeoBox("-10.5,170,+20,-170");
    EXPECT_EQ(box.south, -10.5);
    EXPECT_EQ(box.west, 170);
    EXPECT_EQ(box.north, 20);
    EXPECT_EQ(box.east, -170);
    EXPECT_NO_THROW(ParseGeoBox("-90,-180,90,180"));
    EXPECT_NO_THROW(ParseGeoBox("5,1,5,1"));
    for (const char* bad :
         {"", ",,,", "1,2,3", "1,2,3,4,", "1,2,3,4,5", "2,0,1,1", "90.1,0,91,1", "0,-180.5,1,1",
          "0,0,1,1e3", "0, 1,2,3", "0,1,2,inf", "0,1,2,nan", "0x1,0,1,1", "a,b,c,d"}) {
        EXPECT_THROW(ParseGeoBox(bad), FilterValueError) << bad;
    }
    EXPECT_EQ(ParseFilterText("\t Past Producer "), "Past Producer");
    EXPECT_EQ(ParseCommodity(" gold"), "gold");
    for (const char* bad : {"", " ", "\t \t"}) {
        EXPECT_THROW(ParseFilterText(bad), FilterValueError) << bad;
        EXPECT_THROW(ParseCommodity(bad), FilterValueError) << bad;
    }
    EXPECT_THROW(ParseCommodity("gold,silver"), FilterValueError);
}

}  // namespace
