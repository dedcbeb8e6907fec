#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "fileio/safe_file_writer.h"
#include "test_support.h"
#include "text/system_error_text.h"

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

// Paths at the limits: the temporary name must fit wherever the target does.
TEST(TemporaryNameTest, FitsWhereverTheTargetFits) {
    const std::string folder = "C:\\Users\\someone\\Maps/";
    struct Case {
        std::size_t nameLength;
        std::size_t pathLength;  // 0: the folder and the name alone
    };
    for (const Case c :
         {Case{5, 0}, Case{1, kMaxPathLength}, Case{5, kMaxPathLength}, Case{12, kMaxPathLength},
          Case{200, kMaxPathLength}, Case{kMaxFileNameLength, 0}, Case{244, 0}}) {
        std::string path = folder;
        if (c.pathLength != 0) {
            path += std::string(c.pathLength - folder.size() - c.nameLength - 1, 'f') + "/";
        }
        const std::size_t nameStart = path.size();
        path += std::string(c.nameLength - 1, 'n') + "~";
        SCOPED_TRACE(path);
        for (const std::uint32_t random : {0u, 0x7e000000u, 0xFFFFFFFFu}) {
            const std::string temp = TemporaryNameFor(path, random);
            EXPECT_EQ(temp.substr(0, nameStart), path.substr(0, nameStart)) << "same folder";
            EXPECT_EQ(temp.find_first_of("/\\", nameStart), std::string::npos);
            EXPECT_NE(temp, path);
            EXPECT_LE(temp.size() - nameStart, kMaxFileNameLength);
            EXPECT_LE(temp.size(), std::max(path.size(), kMaxPathLength));
        }
    }
    // A short path keeps the target's name in the temporary one.
    EXPECT_EQ(TemporaryNameFor("maps/out.pnt", 0xabcdef12u), "maps/out.pnt.abcdef12.tmp");
    // At the limit, "~" and digits, as long as the name.
    const std::string atLimit =
        folder + std::string(kMaxPathLength - folder.size() - 7, 'f') + "/a.pnt";
    EXPECT_EQ(TemporaryNameFor(atLimit, 0xabcdef12u),
              atLimit.substr(0, atLimit.size() - 5) + "~abcd");
}

// A file as long as a save dialog takes: its whole path, or its name alone.
TEST_F(SafeFileWriterTest, SavesAtTheLongestPathAndName) {
    const std::string folder = dir.File("");
    ASSERT_LT(folder.size() + 1, kMaxPathLength);
    std::vector<std::size_t> nameLengths{kMaxPathLength - folder.size()};
#ifndef _WIN32
    nameLengths.push_back(kMaxFileNameLength);  // past MAX_PATH: Windows needs no more
#endif
    for (const std::size_t length : nameLengths) {
        const std::string path = folder + std::string(std::min(length, kMaxFileNameLength), 'x');
        SCOPED_TRACE(path.size());
        const SafeWriteResult result =
            WriteFileSafely(path, [](CFile& file) { WriteText(file, "long"); });
        EXPECT_TRUE(result.Ok()) << result.message;
        EXPECT_EQ(ReadFileBytes(path), "long");
        std::filesystem::remove(path);
    }
    EXPECT_EQ(EntriesIn(dir.Path()), 0u);
}

TEST_F(SafeFileWriterTest, ReadOnlyTargetStaysAsItWas) {
    namespace fs = std::filesystem;
    const std::string path = dir.Write("locked.pnt", "earlier");
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const SafeWriteResult result =
        WriteFileSafely(path, [](CFile& file) { WriteText(file, "new"); });
    EXPECT_EQ(result.failedAt, SafeWriteStage::Replace);
    EXPECT_EQ(result.message, "Cannot replace the file '" + path + "': it is read-only.");
    EXPECT_EQ(ReadFileBytes(path), "earlier");
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);  // to remove it
}

#ifndef _WIN32

TEST_F(SafeFileWriterTest, ReplacedFileKeepsItsMode) {
    namespace fs = std::filesystem;
    const std::string path = dir.Write("shared.pnt", "earlier");
    const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                           fs::perms::group_write;
    fs::permissions(path, mode);
    EXPECT_TRUE(WriteFileSafely(path, [](CFile& file) { WriteText(file, "new"); }).Ok());
    EXPECT_EQ(ReadFileBytes(path), "new");
    EXPECT_EQ(fs::status(path).permissions(), mode);
}

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
