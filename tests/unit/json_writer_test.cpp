#include "cli/json_writer.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <nlohmann/json.hpp>
#include <random>
#include <string>
#include <vector>

#include "cli/json_output.h"
#include "csv/column_map.h"
#include "infosheet/page_texts.h"
#include "minedata/mine.h"
#include "text/text_encoding.h"

// Every JSON the CLI prints comes from CJsonWriter. nlohmann's dump() is the
// reference for its numbers, escapes and layout: a byte of difference is a
// fault.

namespace {

using Json = nlohmann::ordered_json;

// The documented forms, built as nlohmann trees.
Json Text(std::string_view text) {
    return DataTextToUtf8(text);
}

Json OptionalText(const std::optional<std::string>& text) {
    return text ? Text(*text) : Json(nullptr);
}

Json Number(double value) {
    return std::isfinite(value) ? Json(value) : Json(nullptr);
}

Json MainPageReference(const CMine& mine) {
    const MainPageTexts page = MakeMainPageTexts(mine);
    return {{"name", Text(page.name)},
            {"position", Text(page.position)},
            {"location", Text(page.location)},
            {"commodity_type", OptionalText(page.commodityType)},
            {"major", Text(page.major)},
            {"minor", Text(page.minor)},
            {"trace", Text(page.trace)},
            {"discovery", Text(page.discovery)},
            {"production", OptionalText(page.production)},
            {"production_years", Text(page.productionYears)}};
}

Json MineReference(std::size_t index, const CMine& mine) {
    Json fields = Json::object();
    for (int slot = 1; slot <= kKnownColumnCount; ++slot) {
        const std::string name(kKnownColumnNames[static_cast<std::size_t>(slot)]);
        fields[name] = slot == kSlotDepId       ? Json(mine.m_nDepId)
                       : slot == kSlotLatitude  ? Number(mine.m_fLatitude)
                       : slot == kSlotLongitude ? Number(mine.m_fLongitude)
                                                : Text((mine.*TextFieldOfSlot(slot)).View());
    }
    return {
        {"index", index}, {"fields", std::move(fields)}, {"main_page", MainPageReference(mine)}};
}

Json NearMineReference(const NearMine& answer, const CMine& mine) {
    return {{"index", answer.index},
            {"distance_km", RoundedDistanceKm(answer.distanceKm)},
            {"bearing_deg", RoundedBearing(answer.bearingDegrees)},
            {"main_page", MainPageReference(mine)}};
}

// Every byte value, quotes and backslashes among them, in one text.
std::string AllBytes() {
    std::string text;
    for (int byte = 0; byte < 256; ++byte) {
        text += static_cast<char>(byte);
    }
    return text;
}

// Records whose texts exercise escapes, Windows-1252 and UTF-8 above 0x7F,
// empty texts and every branch of the main page's optional lines.
std::vector<CMine> AwkwardMines() {
    const std::vector<std::string> texts = {"",
                                            "plain",
                                            "say \"hi\"",
                                            "back\\slash\\",
                                            std::string("nul\0mid", 7),
                                            "\x7f\x1f",
                                            "caf\xe9 \x80\x81\x8d\x9f\xff",
                                            "Pe\xc3\xb1"
                                            "asco \xe2\x82\xac \xf0\x9f\x98\x80",
                                            "Pe\xc3\xb1"
                                            "a\xf1",
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

std::string WholePart(const std::string& number) {
    return number.substr(0, number.find('.'));
}

std::string ExponentPart(const std::string& number) {
    const std::size_t e = number.find('e');
    return e == std::string::npos ? std::string() : number.substr(e);
}

// nlohmann's dump(0) breaks lines; dump() is its one-line form.
std::string Dumped(const Json& json, int indent) {
    return json.dump(indent > 0 ? indent : -1);
}

std::string Written(auto write, int indent = 0) {
    CJsonWriter json(indent);
    write(json);
    return json.Text();
}

}  // namespace

TEST(JsonWriterTest, RecordsAsDocumented) {
    std::size_t index = 0;
    CMineJson forms;
    for (const CMine& mine : AwkwardMines()) {
        SCOPED_TRACE(index);
        EXPECT_EQ(Written([&](CJsonWriter& w) { forms.AppendMine(w, index, mine); }),
                  MineReference(index, mine).dump());
        // lookup --json indents its one record.
        EXPECT_EQ(Written([&](CJsonWriter& w) { forms.AppendMine(w, index, mine); }, kJsonIndent),
                  MineReference(index, mine).dump(kJsonIndent));
        index = index * 7 + 1;
    }
}

TEST(JsonWriterTest, NearMinesAtRoundingEdgesAsDocumented) {
    const CMine mine = AwkwardMines()[1];
    // Distances and bearings on and beside the halfway points of their
    // rounding, bearings that round up to 360, and extremes.
    const std::vector<double> distances = {0.0,        0.0005, 0.0004999, 1.0005, 2.0015,
                                           111.1945,   1e-9,   0.1,       0.3,    1234.5675,
                                           20015.0868, 1e15,   1e16,      1e17};
    const std::vector<double> bearings = {0.0,    0.05,    0.04999, 359.94999, 359.95,
                                          359.96, 359.999, 90.25,   180.05,    270.15};
    CMineJson forms;
    for (double distance : distances) {
        std::vector<NearMine> answers;
        for (double bearing : bearings) {
            answers.push_back({299999, 0.0, distance, bearing});
        }
        Json reference = Json::array();
        for (const NearMine& answer : answers) {
            reference.push_back(NearMineReference(answer, mine));
        }
        for (int indent : {0, kJsonIndent}) {
            EXPECT_EQ(Written(
                          [&](CJsonWriter& w) {
                              w.BeginArray();
                              for (const NearMine& answer : answers) {
                                  forms.AppendNearMine(w, answer, mine);
                              }
                              w.EndArray();
                          },
                          indent),
                      Dumped(reference, indent))
                << distance;
        }
    }
}

TEST(JsonWriterTest, NumbersAndEmptyContainersAsDocumented) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double value;
        std::string_view text;
    } pinned[] = {{0.0, "0.0"},
                  {-0.0, "-0.0"},
                  {17500.0, "17500.0"},
                  {-1.5, "-1.5"},
                  {1e-4, "0.0001"},
                  {1.5e-5, "1.5e-05"},
                  {123456789012345.0, "123456789012345.0"},
                  {1e15, "1e+15"},
                  {5e-324, "5e-324"},
                  {std::numeric_limits<double>::max(), "1.7976931348623157e+308"},
                  {44.12345f, "44.123451232910156"},
                  {172.646687, "172.646687"},  // nlohmann: 172.64668699999999
                  {nan, "null"},
                  {-std::numeric_limits<double>::infinity(), "null"}};
    for (const auto& [value, text] : pinned) {
        EXPECT_EQ(Written([&](CJsonWriter& w) { w.Number(value); }), text);
    }
    // nlohmann's digits are not always the shortest (one typed six-decimal
    // coordinate in about 700, one stored coordinate in about 100); where
    // they differ, the writer's are no longer, read back the same and are
    // laid out alike.
    std::mt19937_64 random(12);
    for (int i = 0; i < 20000; ++i) {
        const double typed =
            std::round(std::uniform_real_distribution<double>(-180.0, 180.0)(random) * 1e6) / 1e6;
        const float stored = std::uniform_real_distribution<float>(-180.0f, 180.0f)(random);
        for (const double value : {std::bit_cast<double>(random()), typed, double{stored},
                                   RoundedDistanceKm(typed * 100), RoundedBearing(typed + 180)}) {
            const std::string written = Written([&](CJsonWriter& w) { w.Number(value); });
            // Without an exponent, the shortest digits are std::to_chars' fixed form.
            if (std::abs(value) >= 1e-4 && std::abs(value) < 1e15) {
                std::array<char, 48> fixed;
                const auto end = std::to_chars(fixed.data(), fixed.data() + fixed.size(), value,
                                               std::chars_format::fixed);
                std::string shortest(fixed.data(), end.ptr);
                EXPECT_EQ(written,
                          shortest.find('.') == std::string::npos ? shortest + ".0" : shortest);
            }
            const std::string reference = Number(value).dump();
            if (written != reference) {
                EXPECT_LE(written.size(), reference.size()) << reference;
                EXPECT_EQ(std::strtod(written.c_str(), nullptr), value) << written;
                EXPECT_EQ(WholePart(written), WholePart(reference));
                EXPECT_EQ(ExponentPart(written), ExponentPart(reference));
            }
        }
    }
    EXPECT_EQ(Written([&](CJsonWriter& w) { w.Number(~std::uint64_t{0}); }),
              Json(~std::uint64_t{0}).dump());
    EXPECT_EQ(Written([&](CJsonWriter& w) { w.Number(std::int64_t{-9}); }), "-9");
    // info --json with no columns read and none under a second name.
    for (int indent : {0, kJsonIndent}) {
        EXPECT_EQ(Written(
                      [](CJsonWriter& w) {
                          w.BeginObject();
                          w.Key("columns");
                          w.BeginArray();
                          w.EndArray();
                          w.Key("second_names");
                          w.BeginObject();
                          w.EndObject();
                          w.Key("list");
                          w.BeginArray();
                          w.String("a");
                          w.Null();
                          w.EndArray();
                          w.EndObject();
                      },
                      indent),
                  Dumped(Json({{"columns", Json::array()},
                               {"second_names", Json::object()},
                               {"list", Json::array({"a", nullptr})}}),
                         indent));
    }
}
