#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "minedata/mine.h"
#include "minedata/mine_array.h"
#include "minedata/mine_text_pool.h"
#include "test_support.h"

namespace {

TEST(MineTest, NewRecordIsEmpty) {
    const CMine mine;
    EXPECT_EQ(mine.m_nDepId, 0);
    EXPECT_EQ(mine.m_fLatitude, 0.0f);
    EXPECT_EQ(mine.m_fLongitude, 0.0f);
    for (CMine::TextField field : kMineTextFields) {
        EXPECT_TRUE((mine.*field).IsEmpty());
    }
}

TEST(MineTest, TextsKeepAnyBytesAndLength) {
    CMine mine;
    const std::string withNul("a\0b", 3);
    const std::string longText(70000, 'x');
    mine.SetText(&CMine::m_strRef, withNul);
    mine.SetText(&CMine::m_strSiteName, longText);
    mine.SetText(&CMine::m_strCountry, "\xE9tat");
    EXPECT_EQ(mine.m_strRef.View(), withNul);
    EXPECT_EQ(mine.m_strSiteName.GetLength(), 70000u);
    EXPECT_EQ(mine.m_strCountry.View(), "\xE9tat");
    // Replacing one text keeps the others.
    mine.SetText(&CMine::m_strRef, "");
    EXPECT_TRUE(mine.m_strRef.IsEmpty());
    EXPECT_EQ(mine.m_strSiteName.Str(), longText);
}

TEST(MineTest, TextsOfEveryShortLengthKeepTheirBytes) {
    // Short texts are copied by words of several sizes; each length must
    // come out whole, next to neighbours that are no shorter or longer.
    CMine::Texts texts{};
    std::vector<std::string> values;
    for (std::size_t length = 0; length < CMine::kTextFieldCount; ++length) {
        std::string value;
        for (std::size_t i = 0; i < length; ++i) {
            value += static_cast<char>('a' + (length + i) % 26);
        }
        values.push_back(value);
    }
    for (std::size_t i = 0; i < CMine::kTextFieldCount; ++i) {
        texts[i] = values[i];
    }
    CMine mine;
    mine.SetTexts(texts);
    for (std::size_t i = 0; i < CMine::kTextFieldCount; ++i) {
        EXPECT_EQ((mine.*kMineTextFields[i]).View(), values[i]) << i;
    }
}

TEST(MineTest, SetTextsMayReuseTheRecordsOwnTexts) {
    CMine mine = MakeMine(1, 2, 3, "Blue Bell");
    mine.SetText(&CMine::m_strRegion, "NA");
    CMine::Texts texts = mine.GetTexts();
    std::swap(texts[2], texts[3]);  // site name <-> region
    mine.SetTexts(texts);
    EXPECT_EQ(mine.m_strSiteName.View(), "NA");
    EXPECT_EQ(mine.m_strRegion.View(), "Blue Bell");
}

TEST(MineTest, EachMemberShowsItsOwnTextWhereverTheRecordIs) {
    CMine::Texts texts;
    std::vector<std::string> values;
    for (std::size_t i = 0; i < CMine::kTextFieldCount; ++i) {
        values.push_back("text " + std::to_string(i));
    }
    for (std::size_t i = 0; i < CMine::kTextFieldCount; ++i) {
        texts[i] = values[i];
    }
    CMine mine;
    mine.SetTexts(texts);
    const auto expectTexts = [&](const CMine& record) {
        for (std::size_t i = 0; i < CMine::kTextFieldCount; ++i) {
            EXPECT_EQ((record.*kMineTextFields[i]).View(), values[i]) << i;
        }
        EXPECT_EQ(record.GetTexts(), texts);
    };
    expectTexts(mine);
    // Texts are found through the record that holds them, so they must
    // follow it into a copy, a move and an array.
    const CMine copy = mine;
    expectTexts(copy);
    CMineArray mines;
    mines.Add(std::move(mine));
    expectTexts(mines[0]);
    // Only the replaced text changes; its neighbours keep theirs.
    CMine changed = copy;
    changed.SetText(&CMine::m_strRef, "");
    EXPECT_TRUE(changed.m_strRef.IsEmpty());
    EXPECT_EQ(changed.m_strDiscr.View(), values[42]);
    changed.SetText(&CMine::m_strMrdsId, "");
    EXPECT_TRUE(changed.m_strMrdsId.IsEmpty());
    EXPECT_EQ(changed.m_strMasId.View(), values[1]);
}

TEST(MineTest, RecordsFromOnePoolAreIndependentAndOutliveIt) {
    std::vector<CMine> mines(3);
    {
        // A block of 64 bytes holds one of these records' texts at most, and
        // a text longer than a quarter block gets room of its own.
        CMineTextPool pool(64);
        CMine::Texts texts{};
        texts[2] = "Alpha";
        mines[0].SetTexts(texts, pool);
        texts[2] = "Beta";
        mines[1].SetTexts(texts, pool);
        const std::string longName(100, 'L');
        texts[2] = longName;
        mines[2].SetTexts(texts, pool);
    }
    EXPECT_EQ(mines[0].m_strSiteName.View(), "Alpha");
    EXPECT_EQ(mines[1].m_strSiteName.View(), "Beta");
    EXPECT_EQ(mines[2].m_strSiteName.GetLength(), 100u);

    // Changing a record never reaches the texts it shared.
    CMine copy = mines[1];
    mines[1].SetText(&CMine::m_strSiteName, "Changed");
    mines[0].SetText(&CMine::m_strState, "Utah");
    EXPECT_EQ(mines[0].m_strSiteName.View(), "Alpha");
    EXPECT_EQ(copy.m_strSiteName.View(), "Beta");
    EXPECT_TRUE(copy.m_strState.IsEmpty());
    mines.clear();
    EXPECT_EQ(copy.m_strSiteName.View(), "Beta");
}

TEST(MineTest, CopiesAreIndependent) {
    CMine original = MakeMine(70000, 44.5f, -117.25f, "Silver King");
    original.SetText(&CMine::m_strState, "Nevada");
    CMine copy = original;
    EXPECT_EQ(copy, original);
    EXPECT_EQ(copy.m_nDepId, 70000);  // the full 32 bits
    original.SetText(&CMine::m_strSiteName, "Changed");
    original.m_fLatitude = 1.0f;
    EXPECT_EQ(copy.m_strSiteName.View(), "Silver King");
    EXPECT_EQ(copy.m_strState.View(), "Nevada");
    EXPECT_EQ(copy.m_fLatitude, 44.5f);

    CMine assigned;
    assigned = copy;
    copy = CMine();
    EXPECT_EQ(assigned.m_strSiteName.View(), "Silver King");
    assigned = assigned;  // self-assignment keeps the record
    EXPECT_EQ(assigned.m_strState.View(), "Nevada");

    CMine moved = std::move(assigned);
    EXPECT_EQ(moved.m_strState.View(), "Nevada");
}

TEST(MineTest, EqualityComparesCoordinatesBitForBit) {
    CMine a = MakeMine(1, 0.0f, 0.0f, "x");
    CMine b = a;
    b.m_fLatitude = -0.0f;
    EXPECT_FALSE(a == b);
    a.m_fLongitude = b.m_fLongitude = std::numeric_limits<float>::quiet_NaN();
    b.m_fLatitude = 0.0f;
    EXPECT_TRUE(a == b);
}

TEST(MineArrayTest, ResizeKeepsRecordsAndAddsEmptyOnes) {
    CMineArray mines;
    mines.SetSize(3, 1000);
    ASSERT_EQ(mines.GetSize(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(mines[i], CMine());
    }
    for (int i = 0; i < 5; ++i) {
        mines.SetAtGrow(i, MakeMine(i, i * 1.5f, -i * 1.0f, "m" + std::to_string(i)));
    }
    mines.SetSize(2, 1000);
    ASSERT_EQ(mines.GetSize(), 2u);
    EXPECT_EQ(mines[1].m_strSiteName.View(), "m1");
    // Regrown elements are empty again, coordinates included.
    mines.SetSize(4, 1000);
    EXPECT_EQ(mines[3], CMine());
    EXPECT_EQ(mines.Coordinates()[3].latitude, 0.0f);
}

TEST(MineArrayTest, GrowsAcrossChunksWithoutMovingRecords) {
    CMineArray mines;
    mines.Add(CMine());
    const CMine* first = &mines[0];
    for (int i = 1; i < 5000; ++i) {
        mines.Add(MakeMine(i, static_cast<float>(i), static_cast<float>(-i), "n"));
    }
    EXPECT_EQ(&mines[0], first);
    ASSERT_EQ(mines.GetSize(), 5000u);
    EXPECT_EQ(mines[4999].m_nDepId, 4999);
    EXPECT_EQ(mines.Coordinates()[4999].longitude, -4999.0f);

    mines.SetAt(10, MakeMine(7, 1.0f, 2.0f, "replaced"));
    EXPECT_EQ(mines.Coordinates()[10].latitude, 1.0f);

    CMineArray other;
    other.Swap(mines);
    EXPECT_EQ(mines.GetSize(), 0u);
    EXPECT_EQ(other.GetSize(), 5000u);
    other.RemoveAll();
    EXPECT_TRUE(other.IsEmpty());
    EXPECT_TRUE(other.Coordinates().empty());
}

}  // namespace
