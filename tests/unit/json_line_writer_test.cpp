#include "cli/json_line_writer.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "cli/json_output.h"
#include "minedata/mine.h"

// The batch commands write their JSON Lines with CJsonLineWriter and every
// other form with nlohmann; a byte of difference between the two is a fault.

namespace {

// Every byte value, quotes and backslashes among them, in one text.
std::string AllBytes() {
    std::string text;
    for (int byte = 0; byte < 256; ++byte) {
        text += static_cast<char>(byte);
    }
    return text;
}

// Records whose texts exercise escapes, code page 1252 above 0x7F, empty
// texts and every branch of the main page's optional lines.
std::vector<CMine> AwkwardMines() {
    const std::vector<std::string> texts = {"",
                                            "plain",
                                            "say \"hi\"",
                                            "back\\slash\\",
                                            std::string("nul\0mid", 7),
                                            "\x7f\x1f",
                                            "caf\xe9 \x80\x81\x8d\x9f\xff",
                                            AllBytes(),
                                            "line\r\nbreak\ttab\b\f"};
    const std::vector<std::string> comTypes = {"M", "n", "B", "X", ""};
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<std::pair<float, float>> positions = {
        {44.12345f, -117.25f}, {0.0f, -0.0f}, {-90.0f, 180.0f}, {nan, inf}, {-inf, 1e-30f}};
    std::vector<CMine> mines;
    for (std::size_t i = 0; i < 24; ++i) {
        CMine mine;
        CMine::Texts values{};
        for (std::size_t field = 0; field < values.size(); ++field) {
            values[field] = texts[(i + field) % texts.size()];
        }
        mine.SetTexts(values);
        mine.SetText(&CMine::m_strComType, comTypes[i % comTypes.size()]);
        // Production lines: both years, the first, the last, neither.
        if (i % 4 == 1 || i % 4 == 3) {
            mine.SetText(&CMine::m_strYrFstPrd, i % 4 == 1 ? "1901" : "");
        }
        if (i % 4 >= 2) {
            mine.SetText(&CMine::m_strYrLstPrd, "");
        }
        mine.m_nDepId = i % 2 == 0 ? static_cast<std::int32_t>(i) : -2147483647 - 1;
        mine.m_fLatitude = positions[i % positions.size()].first;
        mine.m_fLongitude = positions[i % positions.size()].second;
        mines.push_back(std::move(mine));
    }
    mines.emplace_back();  // no texts at all
    return mines;
}

std::string Written(auto write) {
    CJsonLineWriter writer;
    write(writer);
    return writer.Text();
}

}  // namespace

TEST(JsonLineWriterTest, RecordsAsNlohmannDumpsThem) {
    std::size_t index = 0;
    for (const CMine& mine : AwkwardMines()) {
        SCOPED_TRACE(index);
        EXPECT_EQ(Written([&](CJsonLineWriter& w) { w.AppendMine(index, mine); }),
                  MineJson(index, mine).dump());
        EXPECT_EQ(Written([&](CJsonLineWriter& w) { w.AppendMainPage(mine); }),
                  MainPageJson(mine).dump());
        index = index * 7 + 1;
    }
}

TEST(JsonLineWriterTest, NearMinesAtRoundingEdgesAsNlohmannDumpsThem) {
    const CMine mine = AwkwardMines()[1];
    // Distances and bearings on and beside the halfway points of their
    // rounding, bearings that round up to 360, and extremes.
    const std::vector<double> distances = {0.0,        0.0005, 0.0004999, 1.0005, 2.0015,
                                           111.1945,   1e-9,   0.1,       0.3,    1234.5675,
                                           20015.0868, 1e15,   1e16,      1e17};
    const std::vector<double> bearings = {0.0,    0.05,    0.04999, 359.94999, 359.95,
                                          359.96, 359.999, 90.25,   180.05,    270.15};
    for (double distance : distances) {
        for (double bearing : bearings) {
            EXPECT_EQ(Written([&](CJsonLineWriter& w) {
                          w.AppendNearMine(299999, mine, distance, bearing);
                      }),
                      NearMineJson(299999, mine, distance, bearing).dump())
                << distance << " " << bearing;
        }
    }
}

TEST(JsonLineWriterTest, NumbersAsNlohmannDumpsThem) {
    std::vector<double> values = {0.0,
                                  -0.0,
                                  1.0,
                                  -1.5,
                                  1e-5,
                                  1e-4,
                                  123456789012345.0,
                                  1e15,
                                  1e16,
                                  1e300,
                                  5e-324,
                                  0.1,
                                  44.12345f,
                                  -117.25,
                                  std::numeric_limits<double>::quiet_NaN(),
                                  std::numeric_limits<double>::infinity(),
                                  std::numeric_limits<double>::max()};
    std::mt19937_64 random(12);
    for (int i = 0; i < 20000; ++i) {
        values.push_back(std::bit_cast<double>(random()));
        values.push_back(std::uniform_real_distribution<double>(-180.0, 180.0)(random));
    }
    for (double value : values) {
        EXPECT_EQ(Written([&](CJsonLineWriter& w) { w.AppendNumber(value); }),
                  nlohmann::ordered_json(value).dump());
    }
    for (std::uint64_t value : {std::uint64_t{0}, std::uint64_t{10}, ~std::uint64_t{0}}) {
        EXPECT_EQ(Written([&](CJsonLineWriter& w) { w.AppendNumber(value); }),
                  nlohmann::ordered_json(value).dump());
    }
}
