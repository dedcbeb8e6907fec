#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <span>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "export/gpx_file.h"
#include "export/kml_file.h"
#include "export/ozi_waypoint_file.h"
#include "export/waypoint_file_export.h"
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
    WaypointFormat format;
    std::function<void(std::ostream&, const CMineArray&, std::span<const std::size_t>)> write;
};

const std::vector<FormatCase>& EveryFormat() {
    static const std::vector<FormatCase> cases = {
        {WaypointFormat::Gpx, WriteGpxFile},
        {WaypointFormat::Kml, WriteKmlFile},
        {WaypointFormat::OziWaypoints, WriteOziWaypointFile},
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
        const int name = static_cast<int>(format.format);
        RecordingSink sink;
        const std::string path = dir.Write("out", "an earlier file");
        EXPECT_TRUE(ExportWaypointFile(format.format, path, mines, nullptr, sink)) << name;
        EXPECT_EQ(ReadFileBytes(path), Written(format, mines, {1, 2, 3})) << name;
        EXPECT_TRUE(ExportWaypointFile(format.format, path, mines, onlyTwo, sink)) << name;
        EXPECT_EQ(ReadFileBytes(path), Written(format, mines, {2})) << name;
        // Nothing on the map: a file without waypoints, and no message.
        EXPECT_TRUE(ExportWaypointFile(format.format, path, mines, none, sink)) << name;
        EXPECT_EQ(ReadFileBytes(path), Written(format, mines, {})) << name;
        EXPECT_TRUE(sink.messages.empty()) << name;
    }
}

TEST(ExportWaypointFileTest, FailuresAreReportedAsThePointFileReportsThem) {
    TempDir dir;
    const CMineArray mines = ThreeMines();
    for (const FormatCase& format : EveryFormat()) {
        RecordingSink sink;
        const std::string missing = dir.File("missing/out");
        EXPECT_FALSE(ExportWaypointFile(format.format, missing, mines, nullptr, sink));
        const std::string folder = dir.File("folder");
        std::filesystem::create_directories(folder);
        EXPECT_FALSE(ExportWaypointFile(format.format, folder, mines, nullptr, sink));
        ASSERT_EQ(sink.messages.size(), 2u);
        EXPECT_EQ(sink.messages[0].kind, MessageKind::ExportFailed);
        EXPECT_EQ(sink.messages[0].text, "Error opening:\n" + missing);
        EXPECT_EQ(sink.messages[1].kind, MessageKind::ExportFailed);
        EXPECT_EQ(sink.messages[1].text.rfind("Cannot replace the file '" + folder + "': ", 0), 0u)
            << sink.messages[1].text;
        EXPECT_TRUE(std::filesystem::is_directory(folder));
    }
}

}  // namespace
