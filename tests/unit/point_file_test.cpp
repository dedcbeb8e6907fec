#include <gtest/gtest.h>

#include <bit>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "export/coordinate_text.h"
#include "export/point_file.h"
#include "fileio/byte_file.h"
#include "test_support.h"
#include "text/system_error_text.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

namespace {

constexpr char kHeader[] =
    "OziExplorer Point File Version 1.0\r\n"
    "WGS 84\r\n"
    "Reserved 1\r\n"
    "Reserved 2\r\n"
    "255,16777215,3,8,0,0,Mines\r\n";

std::string PointFileText(const CMineArray& mines, const PositionFilter& filter = nullptr) {
    std::ostringstream out;
    WritePointFile(out, mines, filter);
    return out.str();
}

TEST(PointFileTest, WholeFileBytes) {
    const CMineArray mines = Collection({MakeMine(5, 38.5f, -117.25f, "Silver King"),
                                         MakeMine(5, 38.1234f, 0.5f, "\"Big\" Pit"), CMine()});
    EXPECT_EQ(PointFileText(mines), std::string(kHeader) +
                                        "38.500000,-117.250000,0,Silver King,,,,-777.0\r\n"
                                        "38.123402,0.500000,0,\"Big\" Pit,,,,-777.0\r\n"
                                        "0.000000,0.000000,0,,,,,-777.0\r\n");
}

TEST(PointFileTest, CommasInTheNameBecomeD1) {
    EXPECT_EQ(PointFileLine(MakeMine(5, 1.0f, -2.0f, "Mine, Upper,Lower")),
              "1.000000,-2.000000,0,Mine\xD1 Upper\xD1Lower,,,,-777.0");
}

TEST(PointFileTest, ExtremeCoordinatesFitTheLine) {
    EXPECT_EQ(PointFileLine(MakeMine(5, FLT_MAX, -FLT_MAX, "x")),
              "340282346638528859811704183484516925440.000000,"
              "-340282346638528859811704183484516925440.000000,0,x,,,,-777.0");
    EXPECT_EQ(PointFileLine(MakeMine(5, FLT_TRUE_MIN, -0.0000006f, "x")),
              "0.000000,-0.000001,0,x,,,,-777.0");
}

// "%f" as the C library writes it, the reference the point file's bytes were
// pinned against.
std::string PrintfDegrees(float value) {
    char text[64];
    const int length = std::snprintf(text, sizeof text, "%f", static_cast<double>(value));
    return std::string(text, static_cast<std::size_t>(length));
}

TEST(PointFileTest, CoordinatesAreWrittenAsPrintfWritesThem) {
    std::vector<float> values = {0.0f,       -0.0f,        1.0f,          -1.0f,       0.5f,
                                 180.0f,     -180.0f,      90.0f,         FLT_MAX,     -FLT_MAX,
                                 FLT_MIN,    FLT_TRUE_MIN, -FLT_TRUE_MIN, 0.0000005f,  -0.0000005f,
                                 0.0000015f, 0.0000025f,   999999.9375f,  16777216.0f, 1e10f,
                                 1e30f,      38.123402f,   -117.052040f};
    // Exact ties at the sixth decimal: odd multiples of 2^-7 and beyond.
    for (int odd = 1; odd < 4096; odd += 2) {
        values.push_back(std::ldexp(static_cast<float>(odd), -7));
        values.push_back(-std::ldexp(static_cast<float>(odd), -7));
        values.push_back(std::ldexp(static_cast<float>(odd), -20));
    }
    // Every exponent, with random mantissas and signs.
    std::mt19937 random(20261208);
    for (int i = 0; i < 200000; ++i) {
        values.push_back(std::bit_cast<float>(static_cast<std::uint32_t>(random())));
    }
    std::uniform_real_distribution<float> degrees(-180.0f, 180.0f);
    for (int i = 0; i < 200000; ++i) {
        values.push_back(degrees(random));
    }
    std::size_t mismatches = 0;
    for (const float value : values) {
        if (!std::isfinite(value)) {
            continue;  // never written
        }
        std::string text;
        AppendDegrees(text, value);
        if (text != PrintfDegrees(value) && ++mismatches <= 10) {
            ADD_FAILURE() << text << " != " << PrintfDegrees(value);
        }
    }
    EXPECT_EQ(mismatches, 0u);
}

TEST(PointFileTest, MinesWithoutFiniteCoordinatesAreLeftOut) {
    constexpr float kInf = std::numeric_limits<float>::infinity();
    const CMineArray mines =
        Collection({MakeMine(5, kInf, 1.0f, "inf"), MakeMine(5, 95.0f, 200.0f, "beyond"),
                    MakeMine(5, 1.0f, std::numeric_limits<float>::quiet_NaN(), "nan"),
                    MakeMine(5, 2.0f, -kInf, "-inf")});
    int calls = 0;
    EXPECT_EQ(PointFileText(mines, [&](double, double) { return ++calls > 0; }),
              std::string(kHeader) + "95.000000,200.000000,0,beyond,,,,-777.0\r\n");
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(HasFiniteCoordinates(mines[1]));
    EXPECT_TRUE(HasFiniteCoordinates(mines[2]));
}

TEST(PointFileTest, NamesAreWrittenInCodePage1252OnOneLine) {
    struct NameCase {
        std::string stored;
        std::string written;
    };
    const std::vector<NameCase> cases = {
        // Code page 1252 stays byte for byte, tabs and other controls too.
        {"Pe\xF1"
         "asco \x80\x93\x94\x81\t\x01",
         "Pe\xF1"
         "asco \x80\x93\x94\x81\t\x01"},
        // UTF-8 becomes code page 1252; what it lacks becomes '?'.
        {"Pe\xC3\xB1"
         "asco \xE2\x82\xAC \xC4\x82 \xF0\x9F\x98\x80",
         "Pe\xF1"
         "asco \x80 ? ?"},
        // CR and LF would end the line: spaces, in either encoding.
        {"Upper\r\nLower\rEnd\n", "Upper  Lower End "},
        {"Caf\xE9\r\n", "Caf\xE9  "},
        {"Caf\xC3\xA9\r\n, A", "Caf\xE9  \xD1 A"},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(PointFileLine(MakeMine(5, 1.0f, 2.0f, c.stored)),
                  "1.000000,2.000000,0," + c.written + ",,,,-777.0");
    }
}

TEST(PointFileTest, FilterSeesEachMineOnceInOrder) {
    const CMineArray mines =
        Collection({MakeMine(5, 1.0f, 10.0f, "one"), MakeMine(5, 2.0f, 20.0f, "two"),
                    MakeMine(5, 3.0f, 30.0f, "three")});
    std::vector<std::pair<double, double>> calls;
    const std::string text = PointFileText(mines, [&](double latitude, double longitude) {
        calls.emplace_back(latitude, longitude);
        return latitude != 2.0;
    });
    const std::vector<std::pair<double, double>> expected = {{1, 10}, {2, 20}, {3, 30}};
    EXPECT_EQ(calls, expected);  // never element 0
    EXPECT_EQ(text, std::string(kHeader) + "1.000000,10.000000,0,one,,,,-777.0\r\n" +
                        "3.000000,30.000000,0,three,,,,-777.0\r\n");
}

TEST(PointFileTest, NoMinesGivesTheHeaderOnly) {
    CMineArray empty;
    EXPECT_EQ(PointFileText(empty), kHeader);
    int calls = 0;
    EXPECT_EQ(PointFileText(Collection({}), [&](double, double) { return ++calls > 0; }), kHeader);
    EXPECT_EQ(calls, 0);
}

class ExportPointFileTest : public ::testing::Test {
protected:
    TempDir dir;
    CMineArray mines = Collection({MakeMine(5, 38.5f, -117.25f, "Silver King")});
};

TEST_F(ExportPointFileTest, WritesTheExactBytes) {
    const std::string path = dir.Write("point.pnt", "earlier, longer content than the new one");
    EXPECT_TRUE(ExportPointFile(path, mines, nullptr).IsWritten());
    EXPECT_EQ(ReadFileBytes(path),
              std::string(kHeader) + "38.500000,-117.250000,0,Silver King,,,,-777.0\r\n");

    EXPECT_TRUE(ExportPointFile(path, mines, [](double, double) { return false; }).IsWritten());
    EXPECT_EQ(ReadFileBytes(path), kHeader);

    // A chosen list, in its own order, leaving out what has no finite position.
    mines.Add(MakeMine(6, std::nanf(""), 1.0f, "Nowhere"));
    mines.Add(MakeMine(7, -1.5f, 2.0f, "Second"));
    const std::vector<std::size_t> chosen = {3, 2, 1};
    EXPECT_TRUE(ExportPointMines(path, mines, chosen).IsWritten());
    EXPECT_EQ(ReadFileBytes(path), std::string(kHeader) +
                                       "-1.500000,2.000000,0,Second,,,,-777.0\r\n"
                                       "38.500000,-117.250000,0,Silver King,,,,-777.0\r\n");
}

TEST_F(ExportPointFileTest, UnopenableFileIsReported) {
    const std::string path = dir.File("missing/point.pnt");
    const ExportResult result = ExportPointFile(path, mines, nullptr);
    EXPECT_EQ(result.outcome, ExportOutcome::Failed);
    EXPECT_EQ(result.text, "Error opening:\n" + path);
    EXPECT_EQ(result.kind, MessageKind::ExportFailed);
}

TEST_F(ExportPointFileTest, FolderInTheWayIsReported) {
    const std::string path = dir.File("point.pnt");
    std::filesystem::create_directory(path);
    const ExportResult result = ExportPointFile(path, mines, nullptr);
    EXPECT_EQ(result.outcome, ExportOutcome::Failed);
    EXPECT_EQ(result.text.rfind("Cannot replace the file '" + path + "': ", 0), 0u);
    EXPECT_EQ(result.kind, MessageKind::ExportFailed);
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

#ifndef _WIN32

TEST_F(ExportPointFileTest, DiskFullIsReportedAndKeepsTheEarlierFile) {
    const std::string path = dir.Write("point.pnt", "earlier");
    for (int i = 0; i < 5000; ++i) {
        mines.Add(MakeMine(5, 1.0f * i, 2.0f, "A mine with a long name to fill the disk"));
    }
    EXPECT_EXIT(
        {
            // Files may grow to 16 KiB only: the write fails with EFBIG.
            signal(SIGXFSZ, SIG_IGN);
            rlimit limit{};
            getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = 16 * 1024;
            setrlimit(RLIMIT_FSIZE, &limit);
            const ExportResult result = ExportPointFile(path, mines, nullptr);
            const bool ok =
                result.outcome == ExportOutcome::Failed &&
                result.text == "Cannot write the file '" + path + "': " + ErrnoText(EFBIG) + "." &&
                result.kind == MessageKind::ExportFailed && ReadFileBytes(path) == "earlier";
            std::_Exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

#endif

}  // namespace
