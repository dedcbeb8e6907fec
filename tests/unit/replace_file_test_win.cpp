// What a file replaced on Windows keeps of the old one: its attributes.

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "fileio/safe_file_writer.h"
#include "test_support.h"

namespace {

TEST(ReplaceFileTest, HiddenTargetStaysHiddenWithTheNewBytes) {
    TempDir dir;
    const std::string path = dir.Write("hidden.pnt", "earlier");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));

    const SafeWriteResult result = WriteFileSafely(path, [](CFile& file) { file.Write("new", 3); });
    EXPECT_TRUE(result.Ok()) << result.message;
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "new");
    const DWORD attributes = GetFileAttributesA(path.c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(attributes & FILE_ATTRIBUTE_HIDDEN, 0u);
}

}  // namespace
