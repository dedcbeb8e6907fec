#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "archive/archive.h"
#include "archive/mine_archive.h"
#include "minedata/mine.h"
#include "test_support.h"
#include "text/system_error_text.h"

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int value : values) {
        bytes += static_cast<char>(value);
    }
    return bytes;
}

template <typename Store>
std::string Stored(Store store) {
    CMemoryFile file;
    CArchive ar(file, CArchive::Mode::Store);
    store(ar);
    ar.Close();
    return file.Bytes();
}

// A record with every text set to something of its own.
CMine FullMine(int32_t id) {
    CMine mine = MakeMine(id, 38.1234f, -117.25f, "");
    CMine::Texts texts;
    std::vector<std::string> storage;
    storage.reserve(CMine::kTextFieldCount);
    for (std::size_t i = 0; i < CMine::kTextFieldCount; ++i) {
        storage.push_back("field " + std::to_string(i) + " of " + std::to_string(id));
        texts[i] = storage.back();
    }
    mine.SetTexts(texts);
    return mine;
}

std::string SerializedForm(const CMine& mine) {
    return Stored([&](CArchive& ar) {
        CMine copy = mine;
        copy.Serialize(ar);
    });
}

CMine Deserialized(const std::string& bytes) {
    CMemoryFile file(bytes);
    CArchive ar(file, CArchive::Mode::Load);
    CMine mine;
    mine.Serialize(ar);
    return mine;
}

CArchiveException::Cause FailureOfReadingString(const std::string& bytes) {
    CMemoryFile file(bytes);
    CArchive ar(file, CArchive::Mode::Load);
    try {
        ar.ReadString();
    } catch (const CArchiveException& e) {
        return e.GetCause();
    }
    ADD_FAILURE() << "no error";
    return CArchiveException::Cause::EndOfFile;
}

// Passes reads through and remembers the largest one asked of the file.
class CountingFile : public CFile {
public:
    explicit CountingFile(std::string bytes) : m_inner(std::move(bytes)) {}
    std::size_t Read(void* buffer, std::size_t count) override {
        largestRead = std::max(largestRead, count);
        return m_inner.Read(buffer, count);
    }
    void Write(const void* data, std::size_t count) override { m_inner.Write(data, count); }
    void Flush() override {}
    std::uint64_t GetLength() const override { return m_inner.GetLength(); }
    std::uint64_t GetPosition() const override { return m_inner.GetPosition(); }
    const std::string& GetFilePath() const override { return m_inner.GetFilePath(); }

    std::size_t largestRead = 0;

private:
    CMemoryFile m_inner;
};

TEST(ArchiveTest, StringPrefixesAtTheirLimits) {
    struct Case {
        std::size_t length;
        std::string prefix;
    };
    const Case cases[] = {
        {0, Bytes({0x00})},
        {254, Bytes({0xFE})},
        {255, Bytes({0xFF, 0xFF, 0x00})},
        {65533, Bytes({0xFF, 0xFD, 0xFF})},
        {65534, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
        {70000, Bytes({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        const std::string text(c.length, 'k');
        const std::string bytes = Stored([&](CArchive& ar) { ar.WriteString(text); });
        EXPECT_EQ(bytes.substr(0, c.prefix.size()), c.prefix);
        EXPECT_EQ(bytes.size(), c.prefix.size() + c.length);

        CMemoryFile file(bytes);
        CArchive ar(file, CArchive::Mode::Load);
        EXPECT_EQ(ar.ReadString(), text);
        EXPECT_EQ(ar.BytesLeft(), 0u);
    }
}

TEST(ArchiveTest, LongerPrefixFormsAreReadForShortTexts) {
    for (const std::string& bytes : {Bytes({0xFF, 0x03, 0x00, 'a', 'b', 'c'}),
                                     Bytes({0xFF, 0xFF, 0xFF, 0x03, 0, 0, 0, 'a', 'b', 'c'})}) {
        CMemoryFile file(bytes);
        CArchive ar(file, CArchive::Mode::Load);
        EXPECT_EQ(ar.ReadString(), "abc");
    }
}

TEST(ArchiveTest, DamagedStringsThrow) {
    using Cause = CArchiveException::Cause;
    // The 16-bit-character marker, whatever follows it.
    EXPECT_EQ(FailureOfReadingString(Bytes({0xFF, 0xFE, 0xFF, 0x02, 'a', 0, 'b', 0})),
              Cause::WideString);
    // Prefixes cut short, and lengths beyond the end.
    EXPECT_EQ(FailureOfReadingString(""), Cause::EndOfFile);
    EXPECT_EQ(FailureOfReadingString(Bytes({0xFF, 0x05})), Cause::EndOfFile);
    EXPECT_EQ(FailureOfReadingString(Bytes({0xFF, 0xFF, 0xFF, 0x01, 0x00})), Cause::EndOfFile);
    EXPECT_EQ(FailureOfReadingString(Bytes({0x04, 'a', 'b', 'c'})), Cause::EndOfFile);
    EXPECT_EQ(FailureOfReadingString(Bytes({0xFF, 0xFD, 0xFF, 'a'})), Cause::EndOfFile);
}

TEST(ArchiveTest, HugeLengthFailsBeforeAskingForTheBytes) {
    // 4,000,000,000 bytes claimed in a file of 100.
    std::string bytes = Bytes({0xFF, 0xFF, 0xFF, 0x00, 0x28, 0x6B, 0xEE});
    bytes.resize(100, 'x');
    CountingFile file(bytes);
    CArchive ar(file, CArchive::Mode::Load);
    try {
        ar.ReadString();
        FAIL() << "no error";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.GetCause(), CArchiveException::Cause::EndOfFile);
    }
    EXPECT_LE(file.largestRead, bytes.size());
}

TEST(ArchiveTest, NumbersAreLittleEndianAndReadsPastTheEndThrow) {
    const std::string bytes = Stored([](CArchive& ar) {
        ar.WriteWord(0x1234);
        ar.WriteDWord(0x89ABCDEF);
        ar.WriteByte(0x7F);
    });
    EXPECT_EQ(bytes, Bytes({0x34, 0x12, 0xEF, 0xCD, 0xAB, 0x89, 0x7F}));

    CMemoryFile file(bytes);
    CArchive ar(file, CArchive::Mode::Load);
    EXPECT_EQ(ar.ReadWord(), 0x1234);
    EXPECT_EQ(ar.ReadDWord(), 0x89ABCDEFu);
    EXPECT_THROW(ar.ReadWord(), CArchiveException);  // one byte left

    CMemoryFile three(Bytes({1, 2, 3}));
    CArchive ar3(three, CArchive::Mode::Load);
    EXPECT_THROW(ar3.ReadDWord(), CArchiveException);

    CMemoryFile big(std::string(4999, 'b'));
    CArchive arBig(big, CArchive::Mode::Load);
    std::string target(5000, '\0');
    EXPECT_THROW(arBig.Read(target.data(), target.size()), CArchiveException);
}

TEST(ArchiveTest, BufferBoundariesKeepEveryByte) {
    // Texts of many lengths, some larger than the buffer, cross its edges at
    // every offset.
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < 400; ++i) {
        const std::size_t length = (i * 37) % 300 + (i % 50 == 0 ? 9000 : 0);
        texts.emplace_back(length, static_cast<char>('a' + i % 26));
    }
    const std::string bytes = Stored([&](CArchive& ar) {
        for (const std::string& text : texts) {
            ar.WriteString(text);
            ar.WriteWord(0xBEEF);
        }
    });
    CMemoryFile file(bytes);
    CArchive ar(file, CArchive::Mode::Load);
    for (const std::string& text : texts) {
        ASSERT_EQ(ar.ReadString(), text);
        ASSERT_EQ(ar.ReadWord(), 0xBEEF);
    }
    EXPECT_EQ(ar.BytesLeft(), 0u);
}

TEST(ArchiveTest, FullFileIsAWriteError) {
    CMemoryFile file;
    file.SetCapacity(100);
    CArchive ar(file, CArchive::Mode::Store);
    ar.WriteString(std::string(200, 'z'));  // still buffered
    try {
        ar.Close();
        FAIL() << "no error";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.GetAction(), FileAction::Write);
        EXPECT_EQ(e.GetReason(), ErrnoText(ENOSPC));
    }
}

TEST(MineSerializeTest, EmptyRecordIs54ZeroBytes) {
    EXPECT_EQ(SerializedForm(CMine()), std::string(kEmptyRecordSize, '\0'));
    EXPECT_EQ(kEmptyRecordSize, 54u);
}

TEST(MineSerializeTest, RecordLayout) {
    CMine mine = MakeMine(0x00031234, 38.5f, -117.25f, "AB");
    mine.SetText(&CMine::m_strMrdsId, "M");
    mine.SetText(&CMine::m_strRef, "R");
    const std::string bytes = SerializedForm(mine);
    // 38.5f = 0x421A0000, -117.25f = 0xC2EA8000; the identifier keeps 0x1234.
    EXPECT_EQ(bytes.substr(0, 10),
              Bytes({0x00, 0x00, 0x1A, 0x42, 0x00, 0x80, 0xEA, 0xC2, 0x34, 0x12}));
    // MRDS_ID, MAS_ID, SITE_NAME, then 40 empty texts and REF last.
    EXPECT_EQ(bytes.substr(10),
              Bytes({1, 'M', 0, 2, 'A', 'B'}) + std::string(40, '\0') + Bytes({1, 'R'}));
}

TEST(MineSerializeTest, IdentifierKeepsItsLow16Bits) {
    EXPECT_EQ(Deserialized(SerializedForm(MakeMine(70000, 1, 2, "x"))).m_nDepId, 4464);
    EXPECT_EQ(Deserialized(SerializedForm(MakeMine(-1, 1, 2, "x"))).m_nDepId, 65535);
    EXPECT_EQ(Deserialized(SerializedForm(MakeMine(65535, 1, 2, "x"))).m_nDepId, 65535);
}

TEST(MineSerializeTest, RoundTripKeepsEveryField) {
    CMine mine = FullMine(4321);
    mine.SetText(&CMine::m_strRef, std::string(70000, 'r'));
    mine.SetText(&CMine::m_strDiscr, std::string("nul\0inside", 10));
    EXPECT_EQ(Deserialized(SerializedForm(mine)), mine);

    CMine odd = MakeMine(7, -0.0f, std::numeric_limits<float>::quiet_NaN(), "odd");
    EXPECT_EQ(Deserialized(SerializedForm(odd)), odd);  // bit for bit
}

TEST(MineSerializeTest, DamagedRecordLeavesTheTargetAsItWas) {
    std::string bytes = SerializedForm(FullMine(1));
    bytes.pop_back();
    CMemoryFile file(bytes);
    CArchive ar(file, CArchive::Mode::Load);
    CMine target = FullMine(2);
    EXPECT_THROW(target.Serialize(ar), CArchiveException);
    EXPECT_EQ(target, FullMine(2));
}

class MineArchiveTest : public ::testing::Test {
protected:
    std::string DamageText(const std::string& path, const std::string& read) {
        return "The mine archive '" + path + "' is damaged: " + read + ", the rest is lost.";
    }

    TempDir dir;
    RecordingSink sink;
};

TEST_F(MineArchiveTest, EmptyAndPlaceholderOnlyCollections) {
    CMineArray empty;
    const std::string zero = dir.File("zero.dat");
    ASSERT_TRUE(WriteMineArchive(zero, empty).IsWritten());
    EXPECT_EQ(ReadFileBytes(zero), Bytes({0, 0}));

    CMineArray one;
    one.Add(MakeMine(0, 0, 0, "header row"));
    const std::string oneFile = dir.File("one.dat");
    ASSERT_TRUE(WriteMineArchive(oneFile, one).IsWritten());
    EXPECT_EQ(ReadFileBytes(oneFile), Bytes({1, 0}));

    CMineArray read = Collection({FullMine(1)});
    EXPECT_EQ(ReadMineArchive(zero, OpenForReading(zero), read).kind, LoadKind::Loaded);
    EXPECT_EQ(read.GetSize(), 0u);
    EXPECT_EQ(ReadMineArchive(oneFile, OpenForReading(oneFile), read).kind, LoadKind::Loaded);
    ASSERT_EQ(read.GetSize(), 1u);
    EXPECT_EQ(read[0], CMine());
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(MineArchiveTest, RoundTripDropsWhollyEmptyRecords) {
    const CMine a = FullMine(11);
    const CMine b = MakeMine(12, 0, 0, "");  // only the identifier set: kept
    const CMine c = MakeMine(0, 0.0f, 1.0f, "");
    const CMineArray written = Collection({a, CMine(), b, CMine(), c});
    const std::string path = dir.File("mines.dat");
    ASSERT_TRUE(WriteMineArchive(path, written).IsWritten());
    EXPECT_EQ(ReadFileBytes(path), Bytes({6, 0}) + SerializedForm(a) + SerializedForm(CMine()) +
                                       SerializedForm(b) + SerializedForm(CMine()) +
                                       SerializedForm(c));

    CMineArray read = Collection({FullMine(99), FullMine(98)});
    const LoadResult result = ReadMineArchive(path, OpenForReading(path), read);
    EXPECT_EQ(result.kind, LoadKind::Loaded);
    EXPECT_EQ(result.minesRead, 3u);
    ASSERT_EQ(read.GetSize(), 4u);
    EXPECT_EQ(read[0], CMine());
    EXPECT_EQ(read[1], a);
    EXPECT_EQ(read[2], b);
    EXPECT_EQ(read[3], c);
    EXPECT_EQ(read.Coordinates()[3].longitude, 1.0f);
    EXPECT_TRUE(sink.messages.empty());

    // Writing the same collection again gives the same bytes.
    const std::string again = dir.File("again.dat");
    ASSERT_TRUE(WriteMineArchive(again, written).IsWritten());
    EXPECT_EQ(ReadFileBytes(again), ReadFileBytes(path));
}

TEST_F(MineArchiveTest, BytesAfterTheLastRecordAreIgnored) {
    const CMine a = FullMine(1);
    const std::string path = dir.Write("tail.dat", Bytes({2, 0}) + SerializedForm(a) + "junk");
    CMineArray read;
    EXPECT_EQ(ReadMineArchive(path, OpenForReading(path), read).kind, LoadKind::Loaded);
    ASSERT_EQ(read.GetSize(), 2u);
    EXPECT_EQ(read[1], a);
}

TEST_F(MineArchiveTest, TruncationAtEveryByteKeepsTheCompleteRecords) {
    const std::vector<CMine> mines = {FullMine(1), MakeMine(2, 1.5f, 2.5f, "Second"), FullMine(3)};
    std::string whole = Bytes({4, 0});
    std::vector<std::size_t> recordEnds;
    for (const CMine& mine : mines) {
        whole += SerializedForm(mine);
        recordEnds.push_back(whole.size());
    }

    for (std::size_t length = 0; length < whole.size(); ++length) {
        SCOPED_TRACE(length);
        const std::string path = dir.Write("cut.dat", whole.substr(0, length));
        const std::size_t complete = static_cast<std::size_t>(std::count_if(
            recordEnds.begin(), recordEnds.end(), [&](std::size_t end) { return end <= length; }));
        CMineArray read = Collection({FullMine(50)});
        const LoadResult result = ReadMineArchive(path, OpenForReading(path), read);
        ASSERT_EQ(result.kind, LoadKind::Damaged);
        EXPECT_EQ(result.minesRead, complete);

        // Without a count there is no placeholder either.
        ASSERT_EQ(read.GetSize(), length < 2 ? 0u : complete + 1);
        for (std::size_t i = 0; i < complete; ++i) {
            EXPECT_EQ(read[i + 1], mines[i]);
        }
        const std::string read_text =
            complete == 1 ? "1 mine was read" : std::to_string(complete) + " mines were read";
        EXPECT_EQ(result.text, DamageText(path, read_text));
    }
}

TEST_F(MineArchiveTest, LargeArchivesKeepEveryByteAcrossTheirBlocks) {
    // Texts of every prefix form, records larger than the room kept for
    // a record cut by a block edge, and a record larger than the blocks an
    // archive is read in, among records that cross many block edges.
    const std::size_t prefixLimits[] = {0, 1, 127, 128, 254, 255, 65533, 65534, 70000};
    CMineArray written;
    written.Add(CMine());
    std::string bytes = Bytes({0xB9, 0x0B});  // 3001 elements
    std::vector<std::size_t> recordEnds;
    for (std::size_t i = 0; i < 3000; ++i) {
        CMine mine = FullMine(static_cast<int32_t>(i));
        const std::size_t length = i == 1500             ? std::size_t{3} << 20
                                   : (i >= 10 && i < 25) ? 100000
                                   : i % 50 == 0 ? prefixLimits[(i / 50) % std::size(prefixLimits)]
                                                 : i % 300;
        mine.SetText(&CMine::m_strRef, std::string(length, static_cast<char>('a' + i % 26)));
        bytes += SerializedForm(mine);
        recordEnds.push_back(bytes.size());
        written.Add(std::move(mine));
    }
    const std::string path = dir.File("large.dat");
    ASSERT_TRUE(WriteMineArchive(path, written).IsWritten());
    ASSERT_EQ(ReadFileBytes(path), bytes);

    CMineArray read;
    ASSERT_EQ(ReadMineArchive(path, OpenForReading(path), read).kind, LoadKind::Loaded);
    ASSERT_EQ(read.GetSize(), written.GetSize());
    for (std::size_t i = 1; i < read.GetSize(); ++i) {
        ASSERT_EQ(read[i], written[i]) << i;
    }
    // Records read together share their block, yet change alone.
    read.SetAt(1, MakeMine(1, 0, 0, "changed"));
    EXPECT_EQ(read[2], written[2]);

    // Cut at block edges and inside the large record: the records before the
    // cut are kept.
    for (const std::size_t cut :
         {std::size_t{1} << 20, (std::size_t{1} << 20) + 1, recordEnds[1499],
          recordEnds[1499] + 4000, recordEnds[1500], recordEnds[1500] - 1, bytes.size() - 1}) {
        SCOPED_TRACE(cut);
        const std::string cutPath = dir.Write("cut.dat", bytes.substr(0, cut));
        const auto complete = static_cast<std::size_t>(std::count_if(
            recordEnds.begin(), recordEnds.end(), [&](std::size_t end) { return end <= cut; }));
        const LoadResult result = ReadMineArchive(cutPath, OpenForReading(cutPath), read);
        ASSERT_EQ(result.kind, LoadKind::Damaged);
        ASSERT_EQ(read.GetSize(), complete + 1);
        EXPECT_EQ(read[complete], written[complete]);
        EXPECT_EQ(result.text, DamageText(cutPath, std::to_string(complete) + " mines were read"));
    }
}

TEST_F(MineArchiveTest, CountLargerThanTheFile) {
    const CMine a = FullMine(1);
    const std::string path = dir.Write("count.dat", Bytes({0xFF, 0xFF}) + SerializedForm(a));
    CMineArray read;
    const LoadResult result = ReadMineArchive(path, OpenForReading(path), read);
    EXPECT_EQ(result.kind, LoadKind::Damaged);
    ASSERT_EQ(read.GetSize(), 2u);
    EXPECT_EQ(read[1], a);
    EXPECT_EQ(result.text, DamageText(path, "1 mine was read"));
}

TEST_F(MineArchiveTest, LyingLengthsAndWideStringsAreDamage) {
    const CMine a = FullMine(1);
    const std::string second = SerializedForm(MakeMine(2, 0, 0, ""));
    // The second record's first text: a wide string, then a length of 4e9.
    const std::string wide = second.substr(0, 10) + Bytes({0xFF, 0xFE, 0xFF, 0x01, 'a', 0});
    const std::string huge =
        second.substr(0, 10) + Bytes({0xFF, 0xFF, 0xFF, 0x00, 0x28, 0x6B, 0xEE}) + "abc";
    for (const std::string& damaged : {wide, huge}) {
        const std::string path =
            dir.Write("damaged.dat", Bytes({3, 0}) + SerializedForm(a) + damaged);
        CMineArray read;
        const LoadResult result = ReadMineArchive(path, OpenForReading(path), read);
        EXPECT_EQ(result.kind, LoadKind::Damaged);
        ASSERT_EQ(read.GetSize(), 2u);
        EXPECT_EQ(read[1], a);
        EXPECT_EQ(result.text, DamageText(path, "1 mine was read"));
    }
}

TEST_F(MineArchiveTest, UnreadableFileIsReportedAndLeavesTheMines) {
    const std::string missing = dir.File("missing.dat");
    CMineArray mines = Collection({FullMine(1)});
    const LoadResult result = ReadMineArchive(missing, OpenForReading(missing), mines);
    EXPECT_EQ(result.kind, LoadKind::NotOpened);
    EXPECT_EQ(result.format, DataFormat::Archive);
    EXPECT_EQ(mines.GetSize(), 2u);
    EXPECT_EQ(result.text, "Cannot open the file '" + missing + "': " + ErrnoText(ENOENT) + ".");

    // A very long name still fits the 511-character message buffer.
    const std::string longName = dir.File(std::string(600, 'n') + ".dat");
    const LoadResult tooLong = ReadMineArchive(longName, OpenForReading(longName), mines);
    EXPECT_EQ(tooLong.kind, LoadKind::NotOpened);
    EXPECT_EQ(tooLong.text.size(), 510u);
    EXPECT_EQ(tooLong.text.rfind("Cannot open the file '", 0), 0u);

    // A folder is not an archive.
    EXPECT_EQ(ReadMineArchive(dir.Path().string(), OpenForReading(dir.Path().string()), mines).kind,
              LoadKind::NotOpened);
    EXPECT_EQ(mines.GetSize(), 2u);
}

TEST_F(MineArchiveTest, RefusesMoreElementsThanTheCountHolds) {
    CMineArray mines;
    mines.SetSize(kArchiveMaxElements, 100);
    const std::string fits = dir.File("fits.dat");
    ASSERT_TRUE(WriteMineArchive(fits, mines).IsWritten());
    const std::string bytes = ReadFileBytes(fits);
    EXPECT_EQ(bytes.substr(0, 2), Bytes({0xFF, 0xFF}));
    EXPECT_EQ(bytes.size(), 2 + 65534 * kEmptyRecordSize);

    mines.SetSize(kArchiveMaxElements + 1, 100);
    const std::string tooMany = dir.File("too_many.dat");
    const ExportResult refused = WriteMineArchive(tooMany, mines);
    EXPECT_EQ(refused.outcome, ExportOutcome::Failed);
    EXPECT_EQ(refused.text,
              "There are 65535 mines, more than a mine archive can hold (65534 mines). '" +
                  tooMany + "' was not written.");
    EXPECT_EQ(refused.kind, MessageKind::FileError);
    EXPECT_FALSE(std::filesystem::exists(tooMany));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST_F(MineArchiveTest, WriteFailureIsReportedAndKeepsTheEarlierFile) {
    const CMineArray mines = Collection({FullMine(1)});
    const std::string inMissingFolder = dir.File("no_such_folder/mines.dat");
    const ExportResult notMade = WriteMineArchive(inMissingFolder, mines);
    EXPECT_EQ(notMade.outcome, ExportOutcome::Failed);
    EXPECT_EQ(notMade.text,
              "Cannot create the file '" + inMissingFolder + "': " + ErrnoText(ENOENT) + ".");
    EXPECT_EQ(notMade.kind, MessageKind::FileError);

    // A folder where the file should go stays a folder.
    const std::string folder = dir.File("folder.dat");
    std::filesystem::create_directory(folder);
    const ExportResult notReplaced = WriteMineArchive(folder, mines);
    EXPECT_EQ(notReplaced.outcome, ExportOutcome::Failed);
    EXPECT_EQ(notReplaced.text.rfind("Cannot replace the file '" + folder + "': ", 0), 0u);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

}  // namespace
