// The comma-separated member of a zip: read as its file would be, and every
// damaged or hostile zip refused with the reason, the mines loaded before
// kept.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "load/mine_loader.h"
#include "test_support.h"

namespace {

constexpr std::string_view kCsv =
    "DEP_ID,SITE_NAME,LATITUDE,LONGITUDE\n"
    "10,\"Gold Hill\",39.5,-117.25\r\n"
    "11,Silver Star,40.25,-116.5\n";

// Rows enough for several of the loader's batches.
std::string LargeCsv() {
    std::string csv = "DEP_ID,SITE_NAME,LATITUDE,LONGITUDE\n";
    for (int i = 1; i < 60000; ++i) {
        csv += std::to_string(i) + ",Mine number " + std::to_string(i * 7919) + "," +
               std::to_string(i % 90) + ".5,-" + std::to_string(i % 180) + ".25\n";
    }
    return csv;
}

std::string RawDeflated(std::string_view data) {
    z_stream stream{};
    EXPECT_EQ(deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::string out(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

void Put(std::string& bytes, std::size_t at, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
    }
}

std::string Field(std::uint32_t value, int width) {
    std::string bytes(static_cast<std::size_t>(width), '\0');
    Put(bytes, 0, value, width);
    return bytes;
}

// A zip of one member, and where its parts stand.
struct Zip {
    std::string bytes;
    std::size_t dataAt = 0;
    std::size_t centralAt = 0;
    std::size_t endAt = 0;
};

// The sizes in the headers' 4-byte fields, or (`zip64`) 0xFFFFFFFF there
// and both in the zip64 extra field: the size, then the compressed size.
Zip MakeZip(std::string_view name, std::string_view content, bool deflate,
            std::string_view comment = "", bool zip64 = false) {
    const std::string data = deflate ? RawDeflated(content) : std::string(content);
    const auto crc = static_cast<std::uint32_t>(crc32(
        0, reinterpret_cast<const Bytef*>(content.data()), static_cast<uInt>(content.size())));
    const std::string method = Field(deflate ? 8 : 0, 2);
    const std::string sizes =
        Field(crc, 4) + (zip64 ? Field(0xFFFFFFFF, 4) + Field(0xFFFFFFFF, 4)
                               : Field(static_cast<std::uint32_t>(data.size()), 4) +
                                     Field(static_cast<std::uint32_t>(content.size()), 4));
    const std::string extra =
        zip64 ? Field(1, 2) + Field(16, 2) + Field(static_cast<std::uint32_t>(content.size()), 4) +
                    Field(0, 4) + Field(static_cast<std::uint32_t>(data.size()), 4) + Field(0, 4)
              : std::string();
    const std::string lengths = Field(static_cast<std::uint32_t>(name.size()), 2) +
                                Field(static_cast<std::uint32_t>(extra.size()), 2);
    Zip zip;
    zip.bytes = std::string("PK\3\4", 4) + Field(20, 2) + Field(0, 2) + method + Field(0, 4) +
                sizes + lengths + std::string(name) + extra;
    zip.dataAt = zip.bytes.size();
    zip.bytes += data;
    zip.centralAt = zip.bytes.size();
    zip.bytes += std::string("PK\1\2", 4) + Field(20, 2) + Field(20, 2) + Field(0, 2) + method +
                 Field(0, 4) + sizes + lengths + Field(0, 2) + Field(0, 2) + Field(0, 2) +
                 Field(0, 4) + Field(0, 4) + std::string(name) + extra;
    zip.endAt = zip.bytes.size();
    zip.bytes += std::string("PK\5\6", 4) + Field(0, 4) + Field(1, 2) + Field(1, 2) +
                 Field(static_cast<std::uint32_t>(zip.endAt - zip.centralAt), 4) +
                 Field(static_cast<std::uint32_t>(zip.centralAt), 4) +
                 Field(static_cast<std::uint32_t>(comment.size()), 2) + std::string(comment);
    return zip;
}

// Offsets within the central entry.
constexpr std::size_t kFlagsAt = 8, kMethodAt = 10, kCrcAt = 16, kCompressedAt = 20, kSizeAt = 24;

class ZipLoaderTest : public testing::Test {
protected:
    LoadResult Load(const std::string& bytes) {
        m_path = m_dir.Write("mrds-csv.zip", bytes);
        return LoadMineData(m_path, m_mines);
    }

    CMineArray Expected(std::string_view csv) {
        CMineArray mines;
        EXPECT_EQ(LoadMineData(m_dir.Write("plain.csv", csv), mines).kind, LoadKind::Loaded);
        return mines;
    }

    TempDir m_dir;
    std::string m_path;
    CMineArray m_mines;
};

TEST_F(ZipLoaderTest, TheMemberLoadsAsItsFileWould) {
    const std::string large = LargeCsv();
    struct Case {
        const char* what;
        std::string zip;
        std::string_view member;
        std::string_view csv;
    };
    // Stored and deflated; in a folder, with ".CSV" in capitals, and a
    // comment after the directory; the longest comment; zip64 sizes; many
    // batches; no bytes at all.
    const Case cases[] = {
        {"stored", MakeZip("mrds.csv", kCsv, false).bytes, "mrds.csv", kCsv},
        {"deflated", MakeZip("mrds.csv", kCsv, true).bytes, "mrds.csv", kCsv},
        {"commented", MakeZip("usgs/MRDS.CSV", kCsv, true, "from the USGS").bytes, "usgs/MRDS.CSV",
         kCsv},
        {"longest comment", MakeZip("mrds.csv", kCsv, true, std::string(65535, 'c')).bytes,
         "mrds.csv", kCsv},
        {"zip64 sizes", MakeZip("mrds.csv", kCsv, true, "", true).bytes, "mrds.csv", kCsv},
        {"large", MakeZip("mrds.csv", large, true).bytes, "mrds.csv", large},
        {"empty", MakeZip("mrds.csv", "", true).bytes, "mrds.csv", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_mines = CMineArray();
        const LoadResult result = Load(c.zip);
        ASSERT_EQ(result.kind, LoadKind::Loaded);
        EXPECT_EQ(result.format, DataFormat::ZippedCommaSeparated);
        EXPECT_EQ(result.zipMember, c.member);
        const CMineArray expected = Expected(c.csv);
        ASSERT_EQ(m_mines.GetSize(), expected.GetSize());
        for (std::size_t i = 0; i < expected.GetSize(); ++i) {
            ASSERT_TRUE(m_mines[i] == expected[i]) << i;
        }
    }
}

TEST_F(ZipLoaderTest, AZipIsKnownByItsFirstBytesNotItsName) {
    const std::string zip = MakeZip("mrds.csv", kCsv, false).bytes;
    const LoadResult result = LoadMineData(m_dir.Write("mines.dat", zip), m_mines);
    ASSERT_EQ(result.kind, LoadKind::Loaded);
    EXPECT_EQ(m_mines.GetSize(), 3u);
    EXPECT_EQ(result.minesRead, 2u);
    // Not a zip, named like one: read as an archive, as before.
    const std::string notZip = "PK\3";
    CMineArray asArchive;
    const LoadResult named = LoadMineData(m_dir.Write("mines.zip", notZip), m_mines);
    const LoadResult archive = LoadMineData(m_dir.Write("mines.dat", notZip), asArchive);
    EXPECT_EQ(named.kind, archive.kind);
    EXPECT_EQ(named.format, DataFormat::Archive);
    EXPECT_EQ(m_mines.GetSize(), asArchive.GetSize());
}

TEST_F(ZipLoaderTest, DamagedAndHostileZipsAreRefusedWithTheReason) {
    const std::string large = LargeCsv();
    const Zip stored = MakeZip("mrds.csv", kCsv, false);
    const Zip deflated = MakeZip("mrds.csv", kCsv, true);
    const Zip big = MakeZip("mrds.csv", large, true);
    const auto central = [](const Zip& zip, std::size_t at, std::uint32_t value, int width) {
        std::string bytes = zip.bytes;
        Put(bytes, zip.centralAt + at, value, width);
        return bytes;
    };
    const auto compressed = [](const Zip& zip) {
        return static_cast<std::uint32_t>(zip.centralAt - zip.dataAt);
    };
    std::string flipped = stored.bytes;
    flipped[stored.dataAt + 20] ^= 0x20;
    std::string lostLocalHeader = deflated.bytes;
    Put(lostLocalHeader, deflated.centralAt + 42, 4, 4);
    std::string garbage = deflated.bytes;
    garbage[deflated.dataAt] = static_cast<char>(0xFF);
    const std::string zeros(4 << 20, '0');

    struct Case {
        const char* what;
        std::string zip;
        std::string reason;
    };
    const Case cases[] = {
        {"cut short", deflated.bytes.substr(0, deflated.bytes.size() - 1),
         "the zip is cut short or damaged: its central directory is missing"},
        {"bytes after the end record", deflated.bytes + "x",
         "the zip is cut short or damaged: its central directory is missing"},
        {"a flipped byte", flipped, "the member 'mrds.csv' fails its CRC-32 check"},
        {"a wrong CRC-32 far into the member", central(big, kCrcAt, 0x12345678, 4),
         "the member 'mrds.csv' fails its CRC-32 check"},
        {"a size too small", central(deflated, kSizeAt, 40, 4),
         "the member 'mrds.csv' is longer than its recorded size"},
        {"a size too large", central(deflated, kSizeAt, kCsv.size() + 1, 4),
         "the member 'mrds.csv' is shorter than its recorded size"},
        {"a stored size that differs", central(stored, kSizeAt, 40, 4),
         "the member 'mrds.csv' is stored, yet its recorded sizes differ"},
        {"stored sizes one byte longer than the data",
         central(stored, kSizeAt, static_cast<std::uint32_t>(kCsv.size()) + 1, 4)
             .replace(stored.centralAt + kCompressedAt, 4,
                      Field(static_cast<std::uint32_t>(kCsv.size()) + 1, 4)),
         "the zip is cut short in the member 'mrds.csv'"},
        {"a compressed size too small",
         central(deflated, kCompressedAt, compressed(deflated) - 2, 4),
         "the member 'mrds.csv' is damaged (its compressed bytes end early)"},
        {"a compressed size past the directory",
         central(deflated, kCompressedAt, compressed(deflated) + 1, 4),
         "the zip is cut short in the member 'mrds.csv'"},
        {"deflated bytes that are not deflate", garbage,
         "the member 'mrds.csv' is damaged (invalid block type)"},
        {"a local header moved", lostLocalHeader,
         "the zip is damaged: the member 'mrds.csv' is not where its entry says"},
        {"encrypted", central(deflated, kFlagsAt, 1, 2), "the member 'mrds.csv' is encrypted"},
        {"bzip2", central(deflated, kMethodAt, 12, 2),
         "the member 'mrds.csv' is compressed by method 12; only stored and deflated members "
         "are read"},
        {"no comma-separated member", MakeZip("mrds.txt", kCsv, true).bytes,
         "the zip holds no comma-separated file (no member whose name holds \".csv\")"},
        {"a zip bomb", MakeZip("mrds.csv", zeros, true).bytes,
         "the member 'mrds.csv' would inflate to 4194304 bytes, more than 1000 times its "
         "compressed size"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_mines = Expected(kCsv);
        const LoadResult result = Load(c.zip);
        EXPECT_EQ(result.kind, LoadKind::Failed);
        EXPECT_EQ(result.text, "Error loading Mine data from '" + m_path + "': " + c.reason);
        EXPECT_EQ(m_mines.GetSize(), 3u);
    }
}

TEST_F(ZipLoaderTest, CutShortAtAnyByteIsRefused) {
    const Zip zip = MakeZip("mrds.csv", kCsv, true, "comment");
    for (std::size_t size = 4; size < zip.bytes.size(); ++size) {
        SCOPED_TRACE(size);
        const LoadResult result = Load(zip.bytes.substr(0, size));
        EXPECT_EQ(result.kind, LoadKind::Failed);
        EXPECT_NE(result.text.find("cut short"), std::string::npos);
    }
}

}  // namespace
