// The batches that build a file's records on worker threads: records keep
// the order of the lines, nothing is lost or doubled at the batch
// boundaries, nor mixed up when a batch's buffer is read into again, and an
// empty line ends the rows wherever it falls.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>

#include "csv/column_map.h"
#include "csv/record_batches.h"
#include "csv/record_builder.h"
#include "fileio/file_ptr.h"
#include "fileio/line_reader.h"
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

// The rows after the header of `content`, built through the batches alone
// (element 0 an empty record); `ended` tells how the reading ended.
CMineArray BuildRows(const std::string& content, CLineReader::Result& ended) {
    const TempDir dir;
    const FilePtr file(std::fopen(dir.Write("rows.csv", content).c_str(), "rb"));
    CMineArray mines;
    if (!file) {
        ADD_FAILURE() << "cannot open the file written";
        return mines;
    }
    CLineReader reader(file.get(), CLineReader::kDefaultBlockSize);
    std::string_view header;
    EXPECT_EQ(reader.ReadLine(header), CLineReader::Result::Line);
    ColumnMap columnMap;
    const ColumnPresence present = BuildColumnMap(header, columnMap);
    mines.Add(CMine());
    ended =
        CRecordBatches(CRecordBuilder(columnMap, present), mines, content.size()).LoadRest(reader);
    return mines;
}

TEST(RecordBatchesTest, RecordsKeepTheOrderOfTheLines) {
    // About 22 MB: more batches than are built at once, so that buffers
    // are used again.
    constexpr int kRows = 300000;
    CLineReader::Result ended = CLineReader::Result::Error;
    const CMineArray mines = BuildRows(LargeFile(kRows), ended);
    EXPECT_EQ(ended, CLineReader::Result::End);
    ASSERT_EQ(mines.GetSize(), static_cast<std::size_t>(kRows));
    for (int i = 1; i < kRows; ++i) {
        const CMine& mine = mines[static_cast<std::size_t>(i)];
        ASSERT_EQ(mine.m_nDepId, i);
        ASSERT_EQ(mine.m_strSiteName.View(), "\"Mine, number " + std::to_string(i) + "\"");
        ASSERT_EQ(mine.m_fLatitude, static_cast<float>(i % 90) + 0.5f);
        ASSERT_EQ(mine.m_strRef.View().size(), static_cast<std::size_t>(i % 97));
    }
}

TEST(RecordBatchesTest, AnEmptyLineEndsTheRowsWhereverItFalls) {
    // Far more megabytes than batches are read ahead, built by several
    // threads: nothing after the empty line, near the start, deep in the
    // file, and on the last line.
    const std::string content = LargeFile(50000);
    for (const int emptyBefore : {2, 40000, 49999}) {
        std::string text = content;
        const std::size_t cut = text.find("\r\n" + std::to_string(emptyBefore) + ",");
        ASSERT_NE(cut, std::string::npos);
        text.insert(cut + 2, "\r\n");
        CLineReader::Result ended = CLineReader::Result::Error;
        const CMineArray mines = BuildRows(text, ended);
        ASSERT_EQ(mines.GetSize(), static_cast<std::size_t>(emptyBefore)) << emptyBefore;
        for (int i = 1; i < emptyBefore; ++i) {
            ASSERT_EQ(mines[static_cast<std::size_t>(i)].m_nDepId, i);
        }
    }
}

}  // namespace
