#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "minedata/safe_file_writer.h"
#include "test_support.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

namespace {

std::size_t EntriesIn(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

void WriteText(CFile& file, std::string_view text) {
    file.Write(text.data(), text.size());
}

class SafeFileWriterTest : public ::testing::Test {
protected:
    TempDir dir;
};

TEST_F(SafeFileWriterTest, WritesANewFileAndReplacesAnOldOne) {
    const std::string path = dir.File("out.txt");
    SafeWriteResult result = WriteFileSafely(path, [](CFile& file) { WriteText(file, "first"); });
    EXPECT_TRUE(result.Ok());
    EXPECT_EQ(ReadFileBytes(path), "first");

    result = WriteFileSafely(path, [](CFile& file) { WriteText(file, "second\r\n"); });
    EXPECT_TRUE(result.Ok());
    EXPECT_EQ(ReadFileBytes(path), "second\r\n");  // binary: the bytes as given
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

TEST_F(SafeFileWriterTest, WriteErrorKeepsTheEarlierFile) {
    const std::string path = dir.Write("out.txt", "earlier");
    const SafeWriteResult result = WriteFileSafely(path, [&](CFile& file) {
        WriteText(file, "partial");
        throw CFileException::FromErrno(FileAction::Write, path, ENOSPC);
    });
    EXPECT_EQ(result.failedAt, SafeWriteStage::Write);
    EXPECT_EQ(result.message, "Cannot write the file '" + path + "': " + ErrnoText(ENOSPC) + ".");
    EXPECT_EQ(ReadFileBytes(path), "earlier");
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

TEST_F(SafeFileWriterTest, OtherErrorsLeaveAfterRemovingTheTemporaryFile) {
    const std::string path = dir.Write("out.txt", "earlier");
    EXPECT_THROW(WriteFileSafely(path,
                                 [](CFile& file) {
                                     WriteText(file, "partial");
                                     throw std::runtime_error("stop");
                                 }),
                 std::runtime_error);
    EXPECT_EQ(ReadFileBytes(path), "earlier");
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

TEST_F(SafeFileWriterTest, MissingFolderFailsAtCreation) {
    const std::string path = dir.File("missing/out.txt");
    bool called = false;
    const SafeWriteResult result = WriteFileSafely(path, [&](CFile&) { called = true; });
    EXPECT_FALSE(called);
    EXPECT_EQ(result.failedAt, SafeWriteStage::Create);
    EXPECT_EQ(result.message, "Cannot create the file '" + path + "': " + ErrnoText(ENOENT) + ".");
    EXPECT_EQ(EntriesIn(dir.Path()), 0u);
}

TEST_F(SafeFileWriterTest, FolderInTheWayFailsAtReplacing) {
    const std::string path = dir.File("taken");
    std::filesystem::create_directory(path);
    const SafeWriteResult result =
        WriteFileSafely(path, [](CFile& file) { WriteText(file, "text"); });
    EXPECT_EQ(result.failedAt, SafeWriteStage::Replace);
    EXPECT_EQ(result.message.rfind("Cannot replace the file '" + path + "': ", 0), 0u);
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
    EXPECT_EQ(EntriesIn(path), 0u);
}

#ifndef _WIN32

TEST(DiskFileTest, FullDeviceFailsOnFlush) {
    std::FILE* stream = std::fopen("/dev/full", "wb");
    if (stream == nullptr) {
        GTEST_SKIP() << "no /dev/full";
    }
    CDiskFile file(stream, "/dev/full");
    WriteText(file, "buffered");
    try {
        file.Flush();
        FAIL() << "no error";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.GetAction(), FileAction::Write);
        EXPECT_STREQ(e.what(),
                     ("Cannot write the file '/dev/full': " + ErrnoText(ENOSPC) + ".").c_str());
    }
}

// A real write failure: the process may not make files larger than `limit`.
void LimitFileSize(rlim_t limit) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit value{};
    getrlimit(RLIMIT_FSIZE, &value);
    value.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &value);
}

TEST_F(SafeFileWriterTest, RealWriteFailureKeepsTheEarlierFile) {
    const std::string path = dir.Write("big.txt", "earlier");
    EXPECT_EXIT(
        {
            LimitFileSize(64 * 1024);
            const SafeWriteResult result = WriteFileSafely(path, [](CFile& file) {
                const std::string block(1024, 'b');
                for (int i = 0; i < 1024; ++i) {
                    file.Write(block.data(), block.size());
                }
            });
            const bool ok = result.failedAt == SafeWriteStage::Write &&
                            result.message ==
                                "Cannot write the file '" + path + "': " + ErrnoText(EFBIG) + "." &&
                            ReadFileBytes(path) == "earlier";
            std::fprintf(stderr, "%s", result.message.c_str());
            std::_Exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

#endif

}  // namespace
