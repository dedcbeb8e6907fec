// Loads of files larger than the batches the loader builds on its worker
// threads: records keep the order of the lines, and nothing is lost or
// doubled at the batch boundaries, nor mixed up when a batch's buffer is
// read into again.
#include <gtest/gtest.h>

#include <string>

#include "minedata/mine_loader.h"
#include "test_support.h"

namespace {

// Rows of different widths, so that batch boundaries fall everywhere
// within a row; about 75 bytes a row.
std::string LargeFile(int rows) {
    std::string content = "DEP_ID,SITE_NAME,LATITUDE,REF\n";
    for (int i = 1; i < rows; ++i) {
        content += std::to_string(i) + ",\"Mine, number " + std::to_string(i) + "\"," +
                   std::to_string(i % 90) + ".5," +
                   std::string(static_cast<std::size_t>(i % 97), 'r') + "\r\n";
    }
    return content;
}

TEST(MineLoaderLargeTest, RecordsKeepTheOrderOfTheLines) {
    // About 22 MB: more batches than are built at once, so that buffers
    // are used again.
    constexpr int kRows = 300000;
    TempDir dir;
    RecordingSink sink;
    CMineArray mines;
    ASSERT_EQ(LoadMineData(dir.Write("large.csv", LargeFile(kRows)), mines, sink), kLoadDone);
    ASSERT_EQ(mines.GetSize(), static_cast<std::size_t>(kRows));
    EXPECT_EQ(mines[0].m_strSiteName.View(), "SITE_NAME");
    for (int i = 1; i < kRows; ++i) {
        const CMine& mine = mines[static_cast<std::size_t>(i)];
        ASSERT_EQ(mine.m_nDepId, i);
        ASSERT_EQ(mine.m_strSiteName.View(), "\"Mine, number " + std::to_string(i) + "\"");
        ASSERT_EQ(mine.m_fLatitude, static_cast<float>(i % 90) + 0.5f);
        ASSERT_EQ(mine.m_strRef.View().size(), static_cast<std::size_t>(i % 97));
    }
    EXPECT_TRUE(sink.messages.empty());
}

TEST(MineLoaderLargeTest, AnEmptyLineFarIntoTheFileEndsTheLoad) {
    std::string content = LargeFile(50000);
    const std::size_t cut = content.find("\r\n40000,");
    ASSERT_NE(cut, std::string::npos);
    content.insert(cut + 2, "\r\n");
    TempDir dir;
    RecordingSink sink;
    CMineArray mines;
    ASSERT_EQ(LoadMineData(dir.Write("large.csv", content), mines, sink), kLoadDone);
    ASSERT_EQ(mines.GetSize(), 40000u);
    EXPECT_EQ(mines[39999].m_nDepId, 39999);
}

}  // namespace
