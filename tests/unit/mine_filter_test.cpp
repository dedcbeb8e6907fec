#include "minedata/mine_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <limits>
#include <optional>
#include <string>

#include "text/text_encoding.h"

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
    const auto with = [](auto member, std::string_view value) {
        MineFilter filter;
        (filter.*member).emplace(value);
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
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(cases[i].filter.Matches(mine), cases[i].matches) << "case " << i;
    }
    MineFilter both = with(&MineFilter::commodity, "gold");
    both.box = GeoBox{50, 170, 55, -170};
    EXPECT_TRUE(both.Matches(mine));
    both.box = GeoBox{50, 170, 55, 180};
    EXPECT_FALSE(both.Matches(mine));
}

// The Windows-1252 bytes of a UTF-8 text, when the code page has every
// character of it.
std::optional<std::string> AsCp1252(std::string_view utf8) {
    const std::string bytes = DataTextToCp1252(utf8);
    if (DataTextToUtf8(bytes) != utf8) {
        return std::nullopt;
    }
    return bytes;
}

// Every text criterion on the same characters stored, and typed, as UTF-8 or
// as Windows-1252.
TEST(MineFilterTest, LatinLettersInAnyCaseAndEitherEncoding) {
    struct Case {
        const char* stored;  // UTF-8; also tried as Windows-1252 where it can be
        const char* typed;   // likewise
        bool inName;
        bool whole;  // so --state, --status and --commodity match as --name does
    };
    const Case cases[] = {
        {"PEÑASCO", "peñasco", true, true},
        {"Peñasco Mine", "PEÑAS", true, false},
        {"San José", "san josé", true, true},
        {"San José", "san jose", false, false},  // accents count
        {"Ste-Thérèse", "STE-THÉRÈSE", true, true},
        {"ÿ and Ÿ", "Ÿ AND ÿ", true, true},  // Ÿ is 0x9F in Windows-1252
        {"Œuvre", "œuvre", true, true},
        {"Šumava Žilina", "šumava žilina", true, true},
        {"Łódź", "łÓdŹ", true, true},
        {"Győr", "GYŐR", true, true},
        {"Sfântu Ștefan", "SFÂNTU șTEFAN", true, true},  // Latin Extended-B
        {"Đà Nẵng", "ĐÀ NẴNG", true, true},              // Latin Extended Additional
        {"İzmir", "izmir", true, true},
        {"Kırıkkale", "KIRIKKALE", true, true},
        {"Straße", "STRASSE", false, false},  // ß has no one-letter capital
        {"STRAẞE", "straße", true, true},
        {"µ Mine", "Μ MINE", false, false},  // Greek is left alone
        {"Ã©", "é", false, false},           // valid UTF-8 is read as UTF-8
        {"ZINC", "zinc", true, true},
        {"×", "÷", false, false},  // 0xD7 and 0xF7 are no letters
    };
    const auto check = [](const Case& c, std::string_view stored, std::string_view typed) {
        CMine mine = MakeMine(0, 0, stored, "", stored);
        mine.SetText(&CMine::m_strState, stored);
        mine.SetText(&CMine::m_strDevStat, stored);
        MineFilter byName, byState, byStatus, byCommodity;
        byName.name.emplace(typed);
        byState.state.emplace(typed);
        byStatus.status.emplace(typed);
        byCommodity.commodity.emplace(typed);
        const std::string what = c.stored + std::string(" / ") + c.typed;
        EXPECT_EQ(byName.Matches(mine), c.inName) << what;
        EXPECT_EQ(byState.Matches(mine), c.inName && c.whole) << what;
        EXPECT_EQ(byStatus.Matches(mine), c.inName && c.whole) << what;
        EXPECT_EQ(byCommodity.Matches(mine), c.inName && c.whole) << what;
    };
    for (const Case& c : cases) {
        const std::optional<std::string> stored1252 = AsCp1252(c.stored);
        const std::optional<std::string> typed1252 = AsCp1252(c.typed);
        for (const auto& stored : {std::optional<std::string>(c.stored), stored1252}) {
            for (const auto& typed : {std::optional<std::string>(c.typed), typed1252}) {
                if (stored && typed) {
                    check(c, *stored, *typed);
                }
            }
        }
    }
    // The items of a list read as the whole list: "\xC3\xA9" is "é" in a
    // UTF-8 list and "Ã©" in a Windows-1252 one.
    const CMine cp1252List = MakeMine(0, 0, "\xC3\xA9, caf\xE9", "", "");
    const CMine utf8List = MakeMine(0, 0, "\xC3\xA9, Gold", "", "");
    MineFilter filter;
    filter.commodity.emplace("Ã©");
    EXPECT_TRUE(filter.Matches(cp1252List));
    EXPECT_FALSE(filter.Matches(utf8List));
    filter.commodity.emplace("é");
    EXPECT_FALSE(filter.Matches(cp1252List));
    EXPECT_TRUE(filter.Matches(utf8List));
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
