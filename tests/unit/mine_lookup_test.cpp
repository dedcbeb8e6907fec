#include <gtest/gtest.h>

#include <limits>

#include "minedata/mine_array.h"
#include "ozilink/mine_lookup.h"

namespace {

CMine At(float latitude, float longitude) {
    CMine mine;
    mine.m_fLatitude = latitude;
    mine.m_fLongitude = longitude;
    return mine;
}

// Element 0 is the placeholder; the mines follow.
CMineArray Mines(std::initializer_list<CMine> mines) {
    CMineArray array;
    array.Add(CMine());
    for (const CMine& mine : mines) {
        array.Add(mine);
    }
    return array;
}

TEST(SensitivityTest, ReadsTheTextAsAtofDoes) {
    EXPECT_EQ(SensitivityFromText("0.001"), 0.001f);
    EXPECT_EQ(SensitivityFromText("  0.01abc"), 0.01f);
    EXPECT_EQ(SensitivityFromText(""), 0.0f);
    EXPECT_EQ(SensitivityFromText("abc"), 0.0f);
    EXPECT_EQ(SensitivityFromText("-1"), -1.0f);
    EXPECT_EQ(SensitivityFromText("5"), 5.0f);
    // Only decimal notation counts.
    EXPECT_EQ(SensitivityFromText("0x10"), 0.0f);
    EXPECT_EQ(SensitivityFromText("inf"), 0.0f);
    EXPECT_EQ(SensitivityFromText("nan"), 0.0f);
    EXPECT_EQ(SensitivityFromText("1e400"), std::numeric_limits<float>::infinity());
}

TEST(SensitivityTest, ReadsOnlyTheFirstThirtyCharacters) {
    // 28 zeros after "0." put the digit 5 at position 31: it is not read.
    const std::string forty = "0." + std::string(28, '0') + "5" + std::string(9, '0');
    ASSERT_EQ(forty.size(), 40u);
    EXPECT_EQ(SensitivityFromText(forty), 0.0f);
    const std::string thirty = "0." + std::string(27, '0') + "5";
    EXPECT_GT(SensitivityFromText(thirty), 0.0f);
}

TEST(FindMineAtTest, FirstMatchInCollectionOrderWins) {
    const CMineArray mines =
        Mines({At(10.0f, 20.0f), At(45.0005f, -117.0005f), At(45.0f, -117.0f)});
    // The third mine is nearer, but the second comes first.
    EXPECT_EQ(FindMineAt(mines, 45.0, -117.0, 0.001f), 2u);
    EXPECT_EQ(FindMineAt(mines, 10.0, 20.0, 0.001f), 1u);
    EXPECT_EQ(FindMineAt(mines, 30.0, 30.0, 0.001f), std::nullopt);
}

TEST(FindMineAtTest, ComparisonsAreStrict) {
    const CMineArray mines = Mines({At(1.0f, 1.0f)});
    // A difference of exactly the sensitivity does not match.
    EXPECT_EQ(FindMineAt(mines, 1.5, 1.0, 0.5f), std::nullopt);
    EXPECT_EQ(FindMineAt(mines, 1.0, 0.5, 0.5f), std::nullopt);
    EXPECT_EQ(FindMineAt(mines, 1.25, 1.25, 0.5f), 1u);
    // A click exactly on the stored coordinates matches.
    EXPECT_EQ(FindMineAt(mines, 1.0, 1.0, 0.001f), 1u);
    // Zero or negative sensitivities never match.
    EXPECT_EQ(FindMineAt(mines, 1.0, 1.0, 0.0f), std::nullopt);
    EXPECT_EQ(FindMineAt(mines, 1.0, 1.0, -1.0f), std::nullopt);
}

TEST(FindMineAtTest, UsesTheStoredSinglePrecisionValues) {
    // 38.1234 is held as 38.123401641845703...
    const CMineArray mines = Mines({At(38.1234f, 0.0f)});
    const double stored = static_cast<double>(38.1234f);
    EXPECT_EQ(FindMineAt(mines, stored + 0.0009, 0.0, 0.001f), 1u);
}

TEST(FindMineAtTest, NeverShowsThePlaceholderOrNaNs) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const CMineArray mines = Mines({At(nan, 0.0f), At(0.0f, nan)});
    EXPECT_EQ(FindMineAt(mines, 0.0, 0.0, 1.0f), std::nullopt);
    const CMineArray onlyPlaceholder = Mines({});
    EXPECT_EQ(FindMineAt(onlyPlaceholder, 0.0, 0.0, 1.0f), std::nullopt);
    EXPECT_EQ(FindMineAt(CMineArray(), 0.0, 0.0, 1.0f), std::nullopt);
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(FindMineAt(Mines({At(inf, inf)}), 0.0, 0.0, inf), std::nullopt);
}

}  // namespace
