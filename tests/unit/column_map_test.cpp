#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "minedata/column_map.h"

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
