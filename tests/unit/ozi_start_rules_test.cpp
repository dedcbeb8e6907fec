#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ozilink/ozi_start_rules.h"

namespace {

// The bytes a registry query leaves for a REG_SZ value: the text and its
// terminator.
std::string Value(const std::string& text) {
    return text + '\0';
}

TEST(OziExePath, AppendsTheExecutableToTheRegisteredFolder) {
    EXPECT_EQ(OziExePathFromRegistryValue(Value("C:\\OziExplorer")),
              std::optional<std::string>("C:\\OziExplorer\\OziExp.exe"));
    // Bytes after the terminator (a REG_MULTI_SZ, a padded value) are not read.
    EXPECT_EQ(OziExePathFromRegistryValue(std::string("D:\\Ozi\0junk\0", 12)),
              std::optional<std::string>("D:\\Ozi\\OziExp.exe"));
    // An empty folder names "\OziExp.exe", which the existence test then
    // turns down.
    EXPECT_EQ(OziExePathFromRegistryValue(Value("")), std::optional<std::string>("\\OziExp.exe"));
}

TEST(OziExePath, TreatsValuesWithoutRoomOrTerminatorAsNotFound) {
    // Backslash, "OziExp.exe" (10) and the terminator must fit the 512 bytes.
    const std::string longestFolder(512 - 12, 'f');
    const auto fits = OziExePathFromRegistryValue(Value(longestFolder));
    ASSERT_TRUE(fits.has_value());
    EXPECT_EQ(fits->size(), 511u);
    EXPECT_FALSE(OziExePathFromRegistryValue(Value(longestFolder + 'f')).has_value());

    // A value that fills the buffer, with or without its terminator.
    EXPECT_FALSE(OziExePathFromRegistryValue(Value(std::string(511, 'a'))).has_value());
    EXPECT_FALSE(OziExePathFromRegistryValue(std::string(512, 'a')).has_value());
    // No terminator at all (a REG_BINARY value, say), however short.
    EXPECT_FALSE(OziExePathFromRegistryValue("C:\\OziExplorer").has_value());
    EXPECT_FALSE(OziExePathFromRegistryValue("").has_value());
    // More bytes than the buffer holds cannot come from the query; refused.
    EXPECT_FALSE(OziExePathFromRegistryValue(Value(std::string(600, 'a'))).has_value());
}

TEST(WaitForOzi, AsksAtMostTenTimesAndWaitsOnceMoreWhenFound) {
    for (const int answersAt : {1, 4, 10, 0}) {  // 0: never found
        int asked = 0;
        std::vector<unsigned> sleeps;
        const bool found = WaitForOziExplorer(
            [&] {
                ++asked;
                return asked == answersAt ? 0 : -1;
            },
            [&](unsigned milliseconds) { sleeps.push_back(milliseconds); });
        const int attempts = answersAt == 0 ? 10 : answersAt;
        EXPECT_EQ(found, answersAt != 0) << answersAt;
        EXPECT_EQ(asked, attempts) << answersAt;
        EXPECT_EQ(sleeps, std::vector<unsigned>(attempts + (found ? 1 : 0), 5000u)) << answersAt;
    }
}

}  // namespace
