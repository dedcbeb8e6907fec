#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "csv/column_map.h"

namespace {

std::string AllNames(bool reversed) {
    std::string header;
    for (int i = 1; i <= kKnownColumnCount; ++i) {
        const int slot = reversed ? kKnownColumnCount + 1 - i : i;
        if (!header.empty()) {
            header += ',';
        }
        header += kKnownColumnNames[static_cast<std::size_t>(slot)];
    }
    return header;
}

// Every slot except the listed ones is kNoColumn.
void ExpectOnly(const ColumnMap& map, const std::map<int, int>& expected) {
    for (int slot = 1; slot <= kKnownColumnCount; ++slot) {
        const auto found = expected.find(slot);
        const int column = found == expected.end() ? kNoColumn : found->second;
        EXPECT_EQ(map[static_cast<std::size_t>(slot)], column) << "slot " << slot;
    }
}

TEST(ColumnNamesTest, SlotsAndRecordFields) {
    EXPECT_EQ(kKnownColumnNames[1], "DEP_ID");
    EXPECT_EQ(kKnownColumnNames[4], "SITE_NAME");
    EXPECT_EQ(kKnownColumnNames[38], "TECTONIC");
    EXPECT_EQ(kKnownColumnNames[39], "REF");
    EXPECT_EQ(kKnownColumnNames[40], "YFP_BA");
    EXPECT_EQ(kKnownColumnNames[47], "DISCR");

    EXPECT_EQ(TextFieldOfSlot(kSlotDepId), nullptr);
    EXPECT_EQ(TextFieldOfSlot(kSlotLatitude), nullptr);
    EXPECT_EQ(TextFieldOfSlot(kSlotLongitude), nullptr);
    EXPECT_EQ(TextFieldOfSlot(0), nullptr);
    EXPECT_EQ(TextFieldOfSlot(48), nullptr);
    EXPECT_EQ(TextFieldOfSlot(-1), nullptr);
    EXPECT_EQ(TextFieldOfSlot(2), &CMine::m_strMrdsId);
    EXPECT_EQ(TextFieldOfSlot(39), &CMine::m_strRef);
    EXPECT_EQ(TextFieldOfSlot(40), &CMine::m_strYfpBa);
    EXPECT_EQ(TextFieldOfSlot(47), &CMine::m_strDiscr);

    // The 44 text slots feed the 44 text fields, each exactly once, and the
    // names are distinct.
    std::set<std::size_t> fed;
    std::set<std::string_view> names;
    for (int slot = 1; slot <= kKnownColumnCount; ++slot) {
        names.insert(kKnownColumnNames[static_cast<std::size_t>(slot)]);
        const CMine::TextField field = TextFieldOfSlot(slot);
        for (std::size_t i = 0; i < kMineTextFields.size(); ++i) {
            if (field != nullptr && kMineTextFields[i] == field) {
                fed.insert(i);
            }
        }
    }
    EXPECT_EQ(fed.size(), CMine::kTextFieldCount);
    EXPECT_EQ(names.size(), static_cast<std::size_t>(kKnownColumnCount));
}

TEST(ColumnMapTest, AnyOrderAnyCaseAmongOtherColumns) {
    ColumnMap map;
    BuildColumnMap(AllNames(true), map);
    for (int slot = 1; slot <= kKnownColumnCount; ++slot) {
        EXPECT_EQ(map[static_cast<std::size_t>(slot)], kKnownColumnCount + 1 - slot);
    }

    BuildColumnMap("dep_id,site_name,latitude", map);
    ExpectOnly(map, {{1, 1}, {4, 2}, {5, 3}});

    BuildColumnMap("x,Longitude,,y,Ref,SITE", map);
    ExpectOnly(map, {{6, 2}, {39, 5}});
}

TEST(ColumnMapTest, QuotesRemovedButBlanksKept) {
    ColumnMap map;
    BuildColumnMap("\"DEP_ID\",\"SITE_NAME\",LATI\"TUDE", map);
    ExpectOnly(map, {{1, 1}, {4, 2}, {5, 3}});

    BuildColumnMap(" DEP_ID,SITE_NAME ,\" LATITUDE\"", map);
    ExpectOnly(map, {});
}

TEST(ColumnMapTest, NothingRecognised) {
    ColumnMap map;
    map.fill(7);
    BuildColumnMap("", map);
    ExpectOnly(map, {});

    // A byte-order mark belongs to the first name.
    BuildColumnMap(
        "\xEF\xBB\xBF"
        "DEP_ID,SITE_NAME",
        map);
    ExpectOnly(map, {{4, 2}});

    // Only ASCII letters fold: a Latin-1 byte is not a letter here.
    BuildColumnMap("D\xC9P_ID,DEP\xFFID", map);
    ExpectOnly(map, {});
}

TEST(ColumnMapTest, EveryCallStartsAfresh) {
    ColumnMap map;
    BuildColumnMap(AllNames(false), map);
    BuildColumnMap("REGION", map);
    ExpectOnly(map, {{7, 1}});
}

TEST(ColumnMapTest, LaterDuplicateWins) {
    ColumnMap map;
    BuildColumnMap("SITE_NAME,x,site_name,\"Site_Name\",y", map);
    ExpectOnly(map, {{4, 4}});
}

TEST(ColumnMapTest, ColumnsFarToTheRight) {
    std::string header;
    for (int i = 1; i < 1500; ++i) {
        header += "c" + std::to_string(i) + ",";
    }
    header += "DISCR";
    ColumnMap map;
    BuildColumnMap(header, map);
    ExpectOnly(map, {{47, 1500}});
}

// The header of the USGS export as it is downloaded today; newer copies add
// "url" after "dep_id" and "score" at the end.
std::string TodaysHeader(bool newer) {
    std::string header = newer ? "dep_id,url," : "dep_id,";
    header +=
        "mrds_id,mas_id,site_name,latitude,longitude,region,country,state,county,com_type,"
        "commod1,commod2,commod3,oper_type,dep_type,prod_size,dev_stat,ore,gangue,other_matl,"
        "orebody_fm,work_type,model,alteration,conc_proc,prev_name,ore_ctrl,reporter,hrock_unit,"
        "hrock_type,arock_unit,arock_type,structure,tectonic,ref,yfp_ba,yr_fst_prd,ylp_ba,"
        "yr_lst_prd,dy_ba,disc_yr,prod_yrs,discr";
    return newer ? header + ",score" : header;
}

TEST(ColumnMapTest, SecondNamesOfTodaysExport) {
    EXPECT_EQ(SecondNameOfSlot(15), "commod1");
    EXPECT_EQ(SecondNameOfSlot(16), "commod2");
    EXPECT_EQ(SecondNameOfSlot(17), "commod3");
    EXPECT_EQ(SecondNameOfSlot(34), "hrock_type");
    EXPECT_EQ(SecondNameOfSlot(36), "arock_type");
    EXPECT_EQ(SecondNameOfSlot(35), "");
    EXPECT_EQ(kKnownColumnNames[15], "COM_MAJOR");
    EXPECT_EQ(kKnownColumnNames[34], "HROCK_CODE");
    EXPECT_EQ(kKnownColumnNames[36], "AROCK_CODE");

    for (const bool newer : {false, true}) {
        const int shift = newer ? 1 : 0;
        ColumnMap map;
        ColumnPresence second;
        const ColumnPresence present = BuildColumnMap(TodaysHeader(newer), map, &second);
        // Every slot but DISTRICT, ADMIN and LAND_STAT.
        EXPECT_EQ(present.count(), static_cast<std::size_t>(kKnownColumnCount - 3));
        EXPECT_FALSE(present.test(11) || present.test(12) || present.test(13));
        EXPECT_EQ(second.count(), 5u);
        EXPECT_EQ(map[1], 1);
        EXPECT_EQ(map[4], 4 + shift);
        EXPECT_EQ(map[15], 12 + shift);
        EXPECT_EQ(map[16], 13 + shift);
        EXPECT_EQ(map[17], 14 + shift);
        EXPECT_EQ(map[34], 31 + shift);
        EXPECT_EQ(map[36], 33 + shift);
        EXPECT_EQ(map[39], 36 + shift);
        EXPECT_EQ(map[47], 44 + shift);
        for (const int slot : {15, 16, 17, 34, 36}) {
            EXPECT_TRUE(second.test(static_cast<std::size_t>(slot))) << slot;
        }
    }
}

// A second name gives way to the slot's own name wherever that stands, and
// otherwise follows the own names' rules: any case, quotes, later wins.
TEST(ColumnMapTest, SecondNamesOnlyWhereTheOwnNameIsMissing) {
    struct Case {
        const char* header;
        std::map<int, int> expected;
        std::set<int> bySecondName;
    };
    const Case cases[] = {
        {"commod1,COM_MAJOR", {{15, 2}}, {}},
        {"com_major,Commod1", {{15, 1}}, {}},
        {"COMMOD1,x,\"commod2\"", {{15, 1}, {16, 3}}, {15, 16}},
        {"commod1,commod1,com_minor", {{15, 2}, {16, 3}}, {15}},
        {"hrock_type,HROCK_CODE,arock_type", {{34, 2}, {36, 3}}, {36}},
        {"commod3,commod 3,commod4,rock_type", {{17, 1}}, {17}},
        {"HROCK_UNIT,hrock_type", {{33, 1}, {34, 2}}, {34}},
    };
    for (const Case& c : cases) {
        ColumnMap map;
        ColumnPresence second;
        second.set(1);  // every call starts afresh
        const ColumnPresence present = BuildColumnMap(c.header, map, &second);
        ExpectOnly(map, c.expected);
        EXPECT_EQ(present.count(), c.expected.size()) << c.header;
        for (int slot = 1; slot <= kKnownColumnCount; ++slot) {
            EXPECT_EQ(second.test(static_cast<std::size_t>(slot)), c.bySecondName.count(slot) == 1)
                << c.header << " slot " << slot;
        }
    }
}

// Column 999 is a column like any other, although its number is kNoColumn's.
TEST(ColumnMapTest, ColumnNumberedLikeNoColumnIsFound) {
    std::string header;
    for (int i = 1; i < kNoColumn; ++i) {
        header += "c,";
    }
    header += "SITE_NAME,REF";
    ColumnMap map;
    const ColumnPresence present = BuildColumnMap(header, map);
    EXPECT_TRUE(present.test(4));
    EXPECT_TRUE(present.test(39));
    EXPECT_EQ(present.count(), 2u);
    EXPECT_EQ(map[4], kNoColumn);
    EXPECT_EQ(map[39], kNoColumn + 1);

    EXPECT_TRUE(BuildColumnMap("", map).none());
    EXPECT_EQ(BuildColumnMap("x,\"Dep_Id\",LATITUDE,", map).count(), 2u);
}

}  // namespace
