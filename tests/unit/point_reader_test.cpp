#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "points/gpx_point_reader.h"
#include "points/text_point_reader.h"

namespace {

// What a reader gives for one entry: its number and either the position or a
// part of the error message.
struct Entry {
    std::size_t number;
    double latitude;
    double longitude;
    std::string error;
};

std::vector<Entry> ReadAll(IPointReader& reader) {
    std::vector<Entry> entries;
    QueryPoint point;
    while (reader.Next(point)) {
        entries.push_back({point.number, point.latitude, point.longitude, point.error});
    }
    return entries;
}

template <typename Reader>
void ExpectEntries(const std::string& input, const std::vector<Entry>& expected) {
    std::istringstream stream(input);
    Reader reader(stream);
    const std::vector<Entry> entries = ReadAll(reader);
    ASSERT_EQ(entries.size(), expected.size()) << input.substr(0, 200);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(input.substr(0, 200) + " entry " + std::to_string(i));
        EXPECT_EQ(entries[i].number, expected[i].number);
        if (expected[i].error.empty()) {
            EXPECT_EQ(entries[i].error, "");
            EXPECT_EQ(entries[i].latitude, expected[i].latitude);
            EXPECT_EQ(entries[i].longitude, expected[i].longitude);
        } else {
            EXPECT_NE(entries[i].error.find(expected[i].error), std::string::npos)
                << entries[i].error;
        }
    }
}

TEST(TextPointReaderTest, ReadsLinesAndReportsEachBadOne) {
    const struct {
        std::string input;
        std::vector<Entry> expected;
    } cases[] = {
        {"45.5,-117.25\n", {{1, 45.5, -117.25, ""}}},
        {"  45.5 ,\t-117.25  \r\n# comment\n\n   \n  # indented\n-90,180",
         {{1, 45.5, -117.25, ""}, {6, -90, 180, ""}}},
        {"", {}},
        {"90.0001,0\n0,-180.5\nnan,1\n1,inf\n1 2\n1,2,3\n,\n1,\n+1e1,.5\n",
         {{1, 0, 0, "latitude '90.0001' is outside -90 to 90"},
          {2, 0, 0, "longitude '-180.5' is outside -180 to 180"},
          {3, 0, 0, "latitude is not a decimal number: 'nan'"},
          {4, 0, 0, "longitude is not a decimal number: 'inf'"},
          {5, 0, 0, "expected LAT,LON"},
          {6, 0, 0, "expected LAT,LON"},
          {7, 0, 0, "latitude is missing"},
          {8, 0, 0, "longitude is missing"},
          {9, 10, 0.5, ""}}},
        {std::string("1,\0"
                     "2\n3,4",
                     8),
         {{1, 0, 0, "NUL byte"}, {2, 3, 4, ""}}},
        {"\xff\xfe,\x01\n", {{1, 0, 0, "latitude is not a decimal number: a text that is not"}}},
    };
    for (const auto& c : cases) {
        ExpectEntries<CTextPointReader>(c.input, c.expected);
    }
}

TEST(TextPointReaderTest, ALongLineIsOneErrorAndTheNextLineIsRead) {
    const std::string line(10 << 20, '1');
    ExpectEntries<CTextPointReader>(
        "1,2\n" + line + "\n3,4\n",
        {{1, 1, 2, ""}, {2, 0, 0, "line longer than 1024 bytes"}, {3, 3, 4, ""}});
    // A long comment is still a comment; long blanks may hide a point.
    ExpectEntries<CTextPointReader>("#" + line + "\n" + std::string(2000, ' ') + "1,2\n5,6",
                                    {{2, 0, 0, "line longer than"}, {3, 5, 6, ""}});
    // Just within the limit is still a line.
    const std::string padded = "1,2" + std::string(CTextPointReader::kMaxLineBytes - 3, ' ');
    ExpectEntries<CTextPointReader>(padded, {{1, 1, 2, ""}});
}

TEST(GpxPointReaderTest, ReadsWaypointsRoutePointsAndTrackPointsInDocumentOrder) {
    const std::string document =
        "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n"
        "<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
        "<!-- a <wpt lat=\"1\" lon=\"1\"/> in a comment -->\n"
        "<wpt lat=\"45.5\" lon='-117.25'><name><![CDATA[<trkpt lat=\"2\">]]></name></wpt>\n"
        "<rte><rtept lat=\"3\" lon=\"3\"/></rte>\n"
        "<trk><trkseg><trkpt lat=\" 10 \" lon=\"20\"/><trkpt lon=\"5\"/>"
        "<trkpt lat=\"91\" lon=\"0\"></trkpt><trkpt lat=\"-1\" lon=\"-2\"><ele>5</ele></trkpt>"
        "</trkseg></trk>\n"
        "<extensions><wpt lat=\"7\" lon=\"7\"/></extensions>\n"
        "</gpx>\n";
    ExpectEntries<CGpxPointReader>(document, {{1, 45.5, -117.25, ""},
                                              {2, 3, 3, ""},
                                              {3, 10, 20, ""},
                                              {4, 0, 0, "<trkpt> without lat attribute"},
                                              {5, 0, 0, "latitude '91' is outside"},
                                              {6, -1, -2, ""}});
    ExpectEntries<CGpxPointReader>("<g:gpx xmlns:g=\"x\"><g:wpt lat=\"1\" lon=\"2\"/></g:gpx>",
                                   {{1, 1, 2, ""}});
}

TEST(GpxPointReaderTest, MalformedDocumentsEndWithOneError) {
    // Whole messages: the line number counts from 1, and a fault found on the
    // next line after a line break names that line.
    const struct {
        std::string input;
        std::string error;
    } cases[] = {
        {"", "GPX line 1: no <gpx> element"},
        {"   \n", "GPX line 2: no <gpx> element"},
        {"<gpx>\n<wpt lat=\"1\" lon=\"2\">", "GPX line 2: the document ends inside <wpt>"},
        {"<gpx>\n\n</wpt>", "GPX line 3: </wpt> closes no open element of that name"},
        {"<kml></kml>", "GPX line 1: the root element is <kml>, not <gpx>"},
        {"\nhello", "GPX line 2: text outside the <gpx> element"},
        {"<!DOCTYPE gpx [<!ENTITY x \"y\">]><gpx/>",
         "GPX line 1: a DOCTYPE or other declaration is not read"},
        {"<gpx><wpt lat=\"1\"\n lat=\"2\" lon=\"3\"/></gpx>",
         "GPX line 2: <wpt> has two lat attributes"},
        {"<gpx><wpt lat=\"1\"lon=\"3\"/></gpx>",
         "GPX line 1: expected a blank before an attribute of <wpt>"},
        {"<gpx><wpt lat=1 lon=3/></gpx>", "GPX line 1: expected a quoted value for lat"},
        {"<gpx>\n<wpt lat=\"1<\" lon=\"3\"/></gpx>",
         "GPX line 2: an attribute value is not closed"},
        {"<gpx><!-- never closed\n", "GPX line 2: the document ends inside a comment"},
        {"<gpx/>\n<gpx/>", "GPX line 2: an element after the end of <gpx>"},
        {std::string("<gpx>\n\0</gpx>", 13), "GPX line 2: a NUL byte: not a GPX document"},
        {"<gpx>" + std::string(300, 'a') + "</gpx>", ""},  // text inside is fine
        {"<gpx><" + std::string(300, 'a') + "/></gpx>", "GPX line 1: a name longer than 256 bytes"},
        {"<gpx><wpt lat=\"" + std::string(2000, '1') + "\" lon=\"1\"/></gpx>",
         "GPX line 1: an attribute value longer than 1024 bytes"},
        {"<gpx>" + std::string(100 * 3, ' ') +
             [] {
                 std::string deep;
                 for (int i = 0; i < 70; ++i)
                     deep += "<a>";
                 return deep;
             }(),
         "GPX line 1: elements nested more than 64 deep"},
    };
    for (const auto& c : cases) {
        std::istringstream stream(c.input);
        CGpxPointReader reader(stream);
        const std::vector<Entry> entries = ReadAll(reader);
        if (c.error.empty()) {
            EXPECT_TRUE(entries.empty());
            continue;
        }
        ASSERT_FALSE(entries.empty()) << c.input.substr(0, 80);
        EXPECT_EQ(entries.back().error, c.error) << c.input.substr(0, 80);
        EXPECT_EQ(entries.back().number, entries.size());
    }
}

TEST(GpxPointReaderTest, KnowsGpxNames) {
    EXPECT_TRUE(IsGpxName("trip.gpx"));
    EXPECT_TRUE(IsGpxName("/a/TRIP.GPX"));
    EXPECT_FALSE(IsGpxName("trip.gpx.txt"));
    EXPECT_FALSE(IsGpxName("gpx"));
    EXPECT_FALSE(IsGpxName("-"));
    // The ending alone is a name with that ending, as for every ending the
    // commands read.
    EXPECT_TRUE(IsGpxName(".GPX"));
}

}  // namespace
