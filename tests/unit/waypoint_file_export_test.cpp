#include <gtest/gtest.h>

#include <bit>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <random>
#include <span>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "export/csv_file.h"
#include "export/export_kind.h"
#include "export/gpx_file.h"
#include "export/kml_file.h"
#include "export/ozi_waypoint_file.h"
#include "export/waypoint_file_export.h"
#include "load/mine_loader.h"
#include "test_support.h"

namespace {

CMineArray ThreeMines() {
    return Collection({MakeMine(1, 1.0f, 10.0f, "One"), MakeMine(2, 38.1234f, -117.25f, "Two"),
                       MakeMine(3, 3.0f, 30.0f, "Three")});
}

TEST(MinesOnMapTest, AsksForEachMineOnceInOrderAndKeepsThoseOnTheMap) {
    const CMineArray mines = ThreeMines();
    std::vector<std::pair<double, double>> asked;
    const std::vector<std::size_t> chosen =
        MinesOnMap(mines, [&](double latitude, double longitude) {
            asked.emplace_back(latitude, longitude);
            return longitude < 0.0 || latitude == 3.0;
        });
    // Never element 0; the coordinates widened from single precision.
    const std::vector<std::pair<double, double>> expected = {
        {1.0, 10.0}, {static_cast<double>(38.1234f), -117.25}, {3.0, 30.0}};
    EXPECT_EQ(asked, expected);
    EXPECT_EQ(chosen, (std::vector<std::size_t>{2, 3}));
    EXPECT_EQ(MinesOnMap(mines, nullptr), (std::vector<std::size_t>{1, 2, 3}));
    EXPECT_TRUE(MinesOnMap(CMineArray(), nullptr).empty());
}

struct FormatCase {
    ExportKind kind;
    std::function<void(std::ostream&, const CMineArray&, std::span<const std::size_t>)> write;
};

const std::vector<FormatCase>& EveryFormat() {
    static const std::vector<FormatCase> cases = {
        {ExportKind::Gpx, WriteGpxFile},
        {ExportKind::Kml, WriteKmlFile},
        {ExportKind::OziWaypoints, WriteOziWaypointFile},
        {ExportKind::CommaSeparated, WriteCsvFile},
    };
    return cases;
}

std::string Written(const FormatCase& format, const CMineArray& mines,
                    std::vector<std::size_t> indices) {
    std::ostringstream out;
    format.write(out, mines, indices);
    return out.str();
}

TEST(ExportWaypointFileTest, WritesWithTheFormatsOwnWriter) {
    TempDir dir;
    const CMineArray mines = ThreeMines();
    const PositionFilter onlyTwo = [](double, double longitude) { return longitude < 0.0; };
    const PositionFilter none = [](double, double) { return false; };
    for (const FormatCase& format : EveryFormat()) {
        const int name = static_cast<int>(format.kind);
        const std::string path = dir.Write("out", "an earlier file");
        EXPECT_TRUE(ExportWaypointFile(format.kind, path, mines, nullptr).IsWritten()) << name;
        EXPECT_EQ(ReadFileBytes(path), Written(format, mines, {1, 2, 3})) << name;
        EXPECT_TRUE(ExportWaypointFile(format.kind, path, mines, onlyTwo).IsWritten()) << name;
        EXPECT_EQ(ReadFileBytes(path), Written(format, mines, {2})) << name;
        // Nothing on the map: a file without waypoints.
        EXPECT_TRUE(ExportWaypointFile(format.kind, path, mines, none).IsWritten()) << name;
        EXPECT_EQ(ReadFileBytes(path), Written(format, mines, {})) << name;
        // A chosen list of none writes nothing and keeps the earlier file.
        dir.Write("out", "an earlier file");
        EXPECT_EQ(ExportMines(format.kind, path, mines, {}).outcome, ExportOutcome::NothingToWrite);
        EXPECT_EQ(ReadFileBytes(path), "an earlier file");
        const std::vector<std::size_t> backwards = {3, 1};
        EXPECT_TRUE(ExportMines(format.kind, path, mines, backwards).IsWritten()) << name;
        EXPECT_EQ(ReadFileBytes(path), Written(format, mines, {3, 1})) << name;
    }
}

TEST(ExportWaypointFileTest, FailuresAreWordedAsThePointFileWordsThem) {
    TempDir dir;
    const CMineArray mines = ThreeMines();
    for (const FormatCase& format : EveryFormat()) {
        const std::string missing = dir.File("missing/out");
        const ExportResult notMade = ExportWaypointFile(format.kind, missing, mines, nullptr);
        EXPECT_EQ(notMade.outcome, ExportOutcome::Failed);
        EXPECT_EQ(notMade.kind, MessageKind::ExportFailed);
        EXPECT_EQ(notMade.text, "Error opening:\n" + missing);
        const std::string folder = dir.File("folder");
        std::filesystem::create_directories(folder);
        const ExportResult notReplaced = ExportWaypointFile(format.kind, folder, mines, nullptr);
        EXPECT_EQ(notReplaced.outcome, ExportOutcome::Failed);
        EXPECT_EQ(notReplaced.kind, MessageKind::ExportFailed);
        EXPECT_EQ(notReplaced.text.rfind("Cannot replace the file '" + folder + "': ", 0), 0u)
            << notReplaced.text;
        EXPECT_TRUE(std::filesystem::is_directory(folder));
    }
}

TEST(ExportKindTest, TheEndingOfATypedNameChoosesTheKind) {
    EXPECT_EQ(ExportKindForPath("trip.gpx"), ExportKind::Gpx);
    EXPECT_EQ(ExportKindForPath("C:\\Maps\\MINES.KML"), ExportKind::Kml);
    EXPECT_EQ(ExportKindForPath("a.Wpt"), ExportKind::OziWaypoints);
    EXPECT_EQ(ExportKindForPath("a.pnt"), ExportKind::PointFile);
    EXPECT_EQ(ExportKindForPath("a.CSV"), ExportKind::CommaSeparated);
    EXPECT_EQ(ExportKindForPath(".gpx"), ExportKind::Gpx);
    EXPECT_EQ(ExportKindForPath("a.gpx.txt"), std::nullopt);
    EXPECT_EQ(ExportKindForPath("gpx"), std::nullopt);
    // The File menu's save dialogs, word for word.
    const ExportKindRow& point = ExportKindRowOf(ExportKind::PointFile);
    EXPECT_EQ(point.filterText, "Ozi Point files (*.pnt)|*.pnt|All Files (*.*)|*.*||");
    EXPECT_EQ(point.defaultName, "point.pnt");
    EXPECT_EQ(point.dialogTitle, "Ozi Point File Name");
    EXPECT_EQ(ExportKindRowOf(ExportKind::OziWaypoints).filterText,
              "Ozi Waypoint files (*.wpt)|*.wpt|All Files (*.*)|*.*||");
    for (const ExportKindRow& row : ExportKindRows()) {
        EXPECT_EQ(&ExportKindRowOf(row.kind), &row);
        EXPECT_EQ(ExportKindForPath(std::string("x") + std::string(row.ending)), row.kind);
    }
}

// Every text field of a record set, as a comma-separated load leaves them:
// MRDS_ID, MAS_ID and SITE_NAME with the quotes of a quoted field, the
// others without quotes.
CMine MineWithEveryField(std::int32_t id, float latitude, float longitude) {
    CMine mine = MakeMine(id, latitude, longitude, "");
    for (const CMine::TextField field : kMineTextFields) {
        mine.SetText(field, "f" + std::to_string(id));
    }
    return mine;
}

TEST(CsvFileTest, LoadsBackAsTheSameMines) {
    CMine quoted = MineWithEveryField(10186021, 38.1234f, -117.25f);
    quoted.SetText(&CMine::m_strSiteName,
                   "\"Smith, \"\"Old\"\" Pe\xC3\xB1"
                   "asco\"");
    quoted.SetText(&CMine::m_strMrdsId, "\"M,1\"x");
    quoted.SetText(&CMine::m_strRef, "Jones, 1990\rp. 2");
    quoted.SetText(&CMine::m_strCountry, " United States ");
    quoted.SetText(&CMine::m_strDiscr, "\xE9\xE8 ends in a comma,");
    CMine sparse = MakeMine(-7, -0.0f, 1e-7f, "Plain");
    CMine big = MakeMine(0, 89.99999f, std::numeric_limits<float>::infinity(), "");
    big.SetText(&CMine::m_strComMajor, "Gold");
    CMineArray written = Collection({quoted, sparse, big});
    std::mt19937 random(7);
    std::uniform_real_distribution<float> degrees(-180.0f, 180.0f);
    for (int i = 0; i < 2000; ++i) {
        written.Add(MakeMine(i, degrees(random) / 2, degrees(random), "r"));
    }
    std::vector<std::size_t> indices;
    for (std::size_t i = 1; i < written.GetSize(); ++i) {
        indices.push_back(i);
    }
    TempDir dir;
    const std::string path = dir.File("mines.csv");
    ASSERT_TRUE(ExportCsvFile(path, written, indices).IsWritten());
    const std::string bytes = ReadFileBytes(path);
    EXPECT_EQ(bytes.substr(0, bytes.find("\r\n")),
              "DEP_ID,MRDS_ID,MAS_ID,SITE_NAME,LATITUDE,LONGITUDE,REGION,COUNTRY,STATE,COUNTY,"
              "DISTRICT,ADMIN,LAND_STAT,COM_TYPE,COM_MAJOR,COM_MINOR,COM_TRACE,OPER_TYPE,DEP_TYPE,"
              "PROD_SIZE,DEV_STAT,ORE,GANGUE,OTHER_MATL,OREBODY_FM,WORK_TYPE,MODEL,ALTERATION,"
              "CONC_PROC,PREV_NAME,ORE_CTRL,REPORTER,HROCK_UNIT,HROCK_CODE,AROCK_UNIT,AROCK_CODE,"
              "STRUCTURE,TECTONIC,REF,YFP_BA,YR_FST_PRD,YLP_BA,YR_LST_PRD,DY_BA,DISC_YR,PROD_YRS,"
              "DISCR");
    // By hand: the kept quotes as they stand, a field that needs quotes quoted.
    EXPECT_NE(bytes.find("\r\n-7,,,Plain,-0,1e-07,,"), std::string::npos);
    EXPECT_NE(bytes.find(",\"Smith, \"\"Old\"\" Pe\xC3\xB1"
                         "asco\",38.1234,-117.25,f10186021,"
                         "\" United States \","),
              std::string::npos);
    EXPECT_NE(bytes.find(",\"Jones, 1990\rp. 2\","), std::string::npos);
    EXPECT_NE(bytes.find(",\"\xC3\xA9\xC3\xA8 ends in a comma,\"\r\n"), std::string::npos);

    CMineArray read;
    ASSERT_EQ(LoadMineData(path, read).kind, LoadKind::Loaded);
    ASSERT_EQ(read.GetSize(), written.GetSize());
    for (std::size_t i = 2; i < written.GetSize(); ++i) {
        EXPECT_EQ(read[i], written[i]) << i;
        EXPECT_EQ(std::bit_cast<std::uint32_t>(read[i].m_fLatitude),
                  std::bit_cast<std::uint32_t>(written[i].m_fLatitude))
            << i;
        EXPECT_EQ(std::bit_cast<std::uint32_t>(read[i].m_fLongitude),
                  std::bit_cast<std::uint32_t>(written[i].m_fLongitude))
            << i;
    }
    // A code page 1252 text comes back as the same characters, in UTF-8.
    CMine first = read[1];
    EXPECT_EQ(first.m_strDiscr.View(), "\xC3\xA9\xC3\xA8 ends in a comma,");
    first.SetText(&CMine::m_strDiscr, written[1].m_strDiscr.View());
    EXPECT_EQ(first, written[1]);
}

}  // namespace
