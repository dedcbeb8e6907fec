#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "export/export_kind.h"
#include "export/gpx_file.h"
#include "export/kml_file.h"
#include "export/ozi_waypoint_file.h"
#include "export/point_file.h"
#include "export/xml_text.h"
#include "test_support.h"
#include "text/text_encoding.h"

namespace {

using namespace std::string_literals;

struct EncodingCase {
    std::string text;  // bytes as a data file holds them
    bool utf8;
    std::string asUtf8;
    std::string asXml;
    std::string asCp1252;
};

TEST(TextEncodingTest, DataTextsInEachEncoding) {
    const std::vector<EncodingCase> cases = {
        {"Plain", true, "Plain", "Plain", "Plain"},
        {"Caf\xE9", false, "Caf\xC3\xA9", "Caf\xC3\xA9", "Caf\xE9"},
        {"Caf\xC3\xA9", true, "Caf\xC3\xA9", "Caf\xC3\xA9", "Caf\xE9"},
        {"M\xDC\xD1OZ", false, "M\xC3\x9C\xC3\x91OZ", "M\xC3\x9C\xC3\x91OZ", "M\xDC\xD1OZ"},
        {"\x80\x93\x94", false, "\xE2\x82\xAC\xE2\x80\x9C\xE2\x80\x9D",
         "\xE2\x82\xAC\xE2\x80\x9C\xE2\x80\x9D", "\x80\x93\x94"},
        // The five bytes code page 1252 leaves undefined: C1 controls.
        {"\x81\x8D\x8F\x90\x9D", false, "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D", "",
         "\x81\x8D\x8F\x90\x9D"},
        {"\xC2\x81", true, "\xC2\x81", "", "\x81"},
        {"a&b<c>d\"e'f", true, "a&b<c>d\"e'f", "a&amp;b&lt;c&gt;d&quot;e&apos;f", "a&b<c>d\"e'f"},
        {"t\tl\nc\r", true, "t\tl\nc\r", "t\tl\nc&#13;", "t\tl\nc\r"},
        {"a\0b\x01\x1F\x7F"s, true, "a\0b\x01\x1F\x7F"s, "ab", "a\0b\x01\x1F\x7F"s},
        // U+FFFE, U+FFFF: UTF-8, but no XML characters.
        {"\xEF\xBF\xBE\xEF\xBF\xBF", true, "\xEF\xBF\xBE\xEF\xBF\xBF", "", "??"},
        {"\xF0\x9F\x98\x80 \xC4\x82", true, "\xF0\x9F\x98\x80 \xC4\x82",
         "\xF0\x9F\x98\x80 \xC4\x82", "? ?"},
        // Overlong form, surrogate, cut-off sequence, beyond U+10FFFF: code page 1252.
        {"\xC0\xAF", false, "\xC3\x80\xC2\xAF", "\xC3\x80\xC2\xAF", "\xC0\xAF"},
        {"\xED\xA0\x80", false, "\xC3\xAD\xC2\xA0\xE2\x82\xAC", "\xC3\xAD\xC2\xA0\xE2\x82\xAC",
         "\xED\xA0\x80"},
        {"\xE2\x82", false, "\xC3\xA2\xE2\x80\x9A", "\xC3\xA2\xE2\x80\x9A", "\xE2\x82"},
        {"\xF4\x90\x80\x80", false, "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC",
         "\xC3\xB4\xE2\x82\xAC\xE2\x82\xAC", "\xF4\x90\x80\x80"},
    };
    for (const EncodingCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(IsUtf8(c.text), c.utf8);
        EXPECT_EQ(DataTextToUtf8(c.text), c.asUtf8);
        std::string xml = "<";
        AppendXmlText(xml, c.text);
        EXPECT_EQ(xml, "<" + c.asXml);
        xml = "<";
        AppendXmlData(xml, "plain " + c.text);  // the exports' short cut
        EXPECT_EQ(xml, "<plain " + c.asXml);
        EXPECT_EQ(DataTextToCp1252(c.text), c.asCp1252);
    }
}

CMine MakeMine(float latitude, float longitude, std::string_view name) {
    CMine mine;
    mine.m_nDepId = 10186021;
    mine.m_fLatitude = latitude;
    mine.m_fLongitude = longitude;
    mine.SetText(&CMine::m_strSiteName, name);
    mine.SetText(&CMine::m_strCountry, "United States");
    mine.SetText(&CMine::m_strState, "Nevada");
    mine.SetText(&CMine::m_strComType, "M");
    mine.SetText(&CMine::m_strComMajor, "Silver, Gold");
    mine.SetText(&CMine::m_strComTrace, "Lead & Zinc");
    mine.SetText(&CMine::m_strDevStat, "Past Producer");
    mine.SetText(&CMine::m_strDiscYr, "1862");
    return mine;
}

TEST(WaypointExportTest, GpxWaypoint) {
    std::string out;
    AppendGpxWaypoint(out, MakeMine(39.63718f, -117.05204f, "Caf\xE9 <King>"));
    EXPECT_EQ(out,
              "  <wpt lat=\"39.637180\" lon=\"-117.052040\">\n"
              "    <name>Caf\xC3\xA9 &lt;King&gt;</name>\n"
              "    <desc>Silver, Gold; Lead &amp; Zinc; Past Producer; United States, "
              "Nevada</desc>\n"
              "    <link href=\"https://mrdata.usgs.gov/mrds/show-mrds.php?dep_id=10186021\">"
              "<text>MRDS record 10186021</text></link>\n"
              "    <sym>Mine</sym>\n"
              "    <type>Past Producer</type>\n"
              "  </wpt>\n");
    // DEL is no character XML carries.
    out.clear();
    AppendGpxWaypoint(out, MakeMine(1.0f, 2.0f, "Bell\x7F Mine"));
    EXPECT_NE(out.find("<name>Bell Mine</name>"), std::string::npos) << out;
    CMine unknown;
    unknown.m_fLongitude = 180.0f;
    out.clear();
    AppendGpxWaypoint(out, unknown);
    EXPECT_EQ(out,
              "  <wpt lat=\"0.000000\" lon=\"-180.000000\">\n    <name></name>\n"
              "    <sym>Mine</sym>\n  </wpt>\n");
}

TEST(WaypointExportTest, KmlPlacemarkCarriesTheFieldsAndItsStyleShowsTheMainPage) {
    const CMine mine = MakeMine(39.63718f, -117.05204f, "A]]>B");
    std::string out;
    AppendKmlPlacemark(out, mine);
    EXPECT_EQ(out,
              "  <Placemark>\n"
              "    <name>A]]&gt;B</name>\n"
              "    <styleUrl>#past-producer-m03</styleUrl>\n"
              "    <ExtendedData><Data name=\"DEP_ID\"><value>10186021</value></Data>"
              "<Data name=\"SITE_NAME\"><value>A]]&gt;B</value></Data>"
              "<Data name=\"LATITUDE\"><value>39.637180</value></Data>"
              "<Data name=\"LONGITUDE\"><value>-117.052040</value></Data>"
              "<Data name=\"COUNTRY\"><value>United States</value></Data>"
              "<Data name=\"STATE\"><value>Nevada</value></Data>"
              "<Data name=\"COM_TYPE\"><value>M</value></Data>"
              "<Data name=\"COM_MAJOR\"><value>Silver, Gold</value></Data>"
              "<Data name=\"COM_TRACE\"><value>Lead &amp; Zinc</value></Data>"
              "<Data name=\"DEV_STAT\"><value>Past Producer</value></Data>"
              "<Data name=\"DISC_YR\"><value>1862</value></Data></ExtendedData>\n"
              "    <Point><coordinates>-117.052040,39.637180</coordinates></Point>\n"
              "  </Placemark>\n");
    out.clear();
    AppendKmlStyle(out, mine);
    EXPECT_EQ(
        out,
        "  <Style id=\"past-producer-m03\"><IconStyle><color>ff0080ff</color><Icon><href>"
        "http://maps.google.com/mapfiles/kml/shapes/placemark_circle.png</href></Icon>"
        "</IconStyle><BalloonStyle><text><![CDATA[<h3>$[name]</h3><table>"
        "<tr><th align=\"left\">Name</th><td>$[SITE_NAME]</td></tr>"
        "<tr><th align=\"left\">Position</th><td>Lat: $[LATITUDE], Lon: $[LONGITUDE]</td></tr>"
        "<tr><th align=\"left\">Location</th><td>$[COUNTRY], $[STATE]</td></tr>"
        "<tr><th align=\"left\">Type</th><td>metallic</td></tr>"
        "<tr><th align=\"left\">Major</th><td>$[COM_MAJOR]</td></tr>"
        "<tr><th align=\"left\">Minor</th><td>$[COM_MINOR]</td></tr>"
        "<tr><th align=\"left\">Trace</th><td>$[COM_TRACE]</td></tr>"
        "<tr><th align=\"left\">Discovery</th><td>$[DY_BA]$[DISC_YR]</td></tr>"
        "<tr><th align=\"left\">Prod. Years</th><td>$[PROD_YRS]</td></tr>"
        "</table>$[geDirections]]]></text></BalloonStyle></Style>\n");
}

// The balloon a viewer draws: the style's template with each $[NAME] of the
// placemark's data put in (nothing for a field left out).
std::string RenderedBalloon(const CMine& mine) {
    std::string style;
    AppendKmlStyle(style, mine);
    std::string placemark;
    AppendKmlPlacemark(placemark, mine);
    const auto between = [](const std::string& text, const std::string& start,
                            const std::string& end, std::size_t& at) {
        const std::size_t from = text.find(start, at);
        if (from == std::string::npos) {
            return std::string();
        }
        const std::size_t to = text.find(end, from + start.size());
        at = to + end.size();
        return text.substr(from + start.size(), to - from - start.size());
    };
    std::size_t at = 0;
    std::string balloon = between(style, "<table>", "</table>", at);
    for (std::size_t open = balloon.find("$["); open != std::string::npos;
         open = balloon.find("$[", open)) {
        const std::size_t close = balloon.find(']', open);
        const std::string name = balloon.substr(open + 2, close - open - 2);
        std::size_t from = 0;
        const std::string value =
            between(placemark, "<Data name=\"" + name + "\"><value>", "</value>", from);
        balloon.replace(open, close + 1 - open, value);
        open += value.size();
    }
    return balloon;
}

TEST(WaypointExportTest, KmlBalloonShowsWhatTheMainPageShows) {
    CMine mine = MakeMine(39.63718f, -117.05204f, "Bell & Co");
    // The page's own rows, as written by hand from its texts.
    EXPECT_EQ(RenderedBalloon(mine),
              "<tr><th align=\"left\">Name</th><td>Bell &amp; Co</td></tr>"
              "<tr><th align=\"left\">Position</th><td>Lat: 39.637180, Lon: -117.052040</td></tr>"
              "<tr><th align=\"left\">Location</th><td>United States, Nevada</td></tr>"
              "<tr><th align=\"left\">Type</th><td>metallic</td></tr>"
              "<tr><th align=\"left\">Major</th><td>Silver, Gold</td></tr>"
              "<tr><th align=\"left\">Minor</th><td></td></tr>"
              "<tr><th align=\"left\">Trace</th><td>Lead &amp; Zinc</td></tr>"
              "<tr><th align=\"left\">Discovery</th><td>1862</td></tr>"
              "<tr><th align=\"left\">Prod. Years</th><td></td></tr>");
    mine.SetText(&CMine::m_strCountry, "");
    mine.SetText(&CMine::m_strCounty, "Lander");
    mine.SetText(&CMine::m_strComType, "b");
    mine.SetText(&CMine::m_strYfpBa, "before ");
    mine.SetText(&CMine::m_strYrFstPrd, "1905");
    mine.SetText(&CMine::m_strDyBa, "in ");
    const std::string balloon = RenderedBalloon(mine);
    EXPECT_NE(balloon.find("<td>Nevada, Lander</td>"), std::string::npos) << balloon;
    EXPECT_NE(balloon.find("<td>metallic and non-metallic</td>"), std::string::npos) << balloon;
    EXPECT_NE(balloon.find("<th align=\"left\">Production</th><td>before 1905 to ??"
                           "?</td>"),
              std::string::npos)
        << balloon;
    EXPECT_NE(balloon.find("<td>in 1862</td>"), std::string::npos) << balloon;
    mine.SetText(&CMine::m_strYrFstPrd, "");
    mine.SetText(&CMine::m_strYrLstPrd, "1940");
    EXPECT_NE(RenderedBalloon(mine).find("<td> ??? to 1940</td>"), std::string::npos);
    // A code the page does not know: no Type line, as the page writes none.
    mine.SetText(&CMine::m_strComType, "X");
    EXPECT_EQ(RenderedBalloon(mine).find("Type"), std::string::npos);
}

TEST(WaypointExportTest, OziWaypointLine) {
    EXPECT_EQ(OziWaypointLine(7, MakeMine(39.63718f, -117.05204f, "Bull Run, \"N\"\r\n\t\xC3\xA9")),
              "7,Bull Run\xD1 \"N\"  \xE9,39.637180,-117.052040,0,0,1,3,0,65535,"
              "Silver\xD1 Gold; Lead & Zinc; Past Producer; United States\xD1 Nevada,"
              "0,0,0,-777,6,0,17,0,10.0,2,,,");
}

TEST(WaypointExportTest, KmlStyleOfEachDevelopmentStatus) {
    const std::vector<std::pair<std::string, std::string_view>> cases = {
        {"Producer", "producer"},   {"past producer", "past-producer"},
        {" PROSPECT ", "prospect"}, {"Occurrence", "occurrence"},
        {"Plant", "other-status"},  {"Producers", "other-status"},
        {"", "no-status"},          {" \t", "no-status"},
    };
    for (const auto& [status, id] : cases) {
        EXPECT_EQ(KmlStyleId(status), id) << status;
    }
}

// The same names stored in code page 1252 and in UTF-8 read the same in
// every export.
TEST(WaypointExportTest, NamesReadTheSameInEitherEncoding) {
    const std::vector<std::pair<std::string, std::string>> names = {
        {"Pe\xF1"
         "asco",
         "Pe\xC3\xB1"
         "asco"},
        {"San Jos\xE9, \x93"
         "Upper\x94",
         "San Jos\xC3\xA9, \xE2\x80\x9CUpper\xE2\x80\x9D"},
        {"Ste-Th\xE9r\xE8se \x80\r\n", "Ste-Th\xC3\xA9r\xC3\xA8se \xE2\x82\xAC\r\n"},
    };
    const auto exports = [](const CMine& mine) {
        std::string gpx;
        AppendGpxWaypoint(gpx, mine);
        std::string kml;
        AppendKmlPlacemark(kml, mine);
        return std::vector<std::string>{gpx, kml, OziWaypointLine(1, mine), PointFileLine(mine)};
    };
    for (const auto& [cp1252, utf8] : names) {
        SCOPED_TRACE(cp1252);
        CMine stored1252 = MakeMine(1.0f, 2.0f, cp1252);
        stored1252.SetText(&CMine::m_strComMajor, cp1252);
        CMine storedUtf8 = MakeMine(1.0f, 2.0f, utf8);
        storedUtf8.SetText(&CMine::m_strComMajor, utf8);
        EXPECT_EQ(exports(stored1252), exports(storedUtf8));
    }
}

// Element 0, then mines at (1, 1), (nan, 2), (3, 181), (4, -4).
CMineArray MixedCollection() {
    CMineArray mines;
    mines.Add(CMine());
    mines.Add(MakeMine(1.0f, 1.0f, "one"));
    mines.Add(MakeMine(std::nanf(""), 2.0f, "nan"));
    mines.Add(MakeMine(3.0f, 181.0f, "beyond"));
    mines.Add(MakeMine(4.0f, -4.0f, "four"));
    return mines;
}

TEST(WaypointExportTest, FilesFollowTheIndicesAndLeaveOutMinesWithoutAPlace) {
    const CMineArray mines = MixedCollection();
    const std::vector<std::size_t> indices = {4, 3, 2, 1};

    std::ostringstream gpx;
    WriteGpxFile(gpx, mines, indices);
    EXPECT_EQ(
        gpx.str().rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\"", 0), 0u);
    EXPECT_LT(gpx.str().find("<name>four</name>"), gpx.str().find("<name>one</name>"));
    EXPECT_EQ(gpx.str().find("nan"), std::string::npos);
    EXPECT_EQ(gpx.str().find("beyond"), std::string::npos);
    EXPECT_EQ(gpx.str().substr(gpx.str().size() - 7), "</gpx>\n");

    std::ostringstream kml;
    WriteKmlFile(kml, mines, indices);
    // The one style both placed mines use, defined once.
    const std::string style = "<Style id=\"past-producer-m03\">";
    EXPECT_NE(kml.str().find(style), std::string::npos);
    EXPECT_EQ(kml.str().find(style), kml.str().rfind(style));
    EXPECT_EQ(kml.str().find("<Style "), kml.str().rfind("<Style "));
    EXPECT_LT(kml.str().rfind("<Style "), kml.str().find("<Placemark>"));
    EXPECT_LT(kml.str().find("<name>four</name>"), kml.str().find("<name>one</name>"));
    EXPECT_EQ(kml.str().find("beyond"), std::string::npos);
    EXPECT_EQ(kml.str().substr(kml.str().size() - 19), "</Document>\n</kml>\n");

    std::ostringstream wpt;
    WriteOziWaypointFile(wpt, mines, indices);
    const std::string text = wpt.str();
    EXPECT_EQ(text.substr(0, text.find("\r\n1,")),
              "OziExplorer Waypoint File Version 1.1\r\nWGS 84\r\nReserved 2\r\nReserved 3");
    EXPECT_NE(text.find("\r\n1,four,4.000000,"), std::string::npos);
    EXPECT_NE(text.find("\r\n2,one,1.000000,"), std::string::npos);
    EXPECT_EQ(text.find("\r\n3,"), std::string::npos);
}

TEST(WaypointExportTest, FailedExportsLeaveNothingBehind) {
    const CMineArray mines = MixedCollection();
    const std::vector<std::size_t> indices = {1};
    TempDir dir;
    for (const ExportKindRow& row : ExportKindRows()) {
        const ExportWriter write = row.write;
        const std::string missing = dir.File("missing/out");
        const ExportResult created = write(missing, mines, indices);
        EXPECT_EQ(created.outcome, ExportOutcome::Failed);
        EXPECT_EQ(created.text, "Error opening:\n" + missing);

        const std::string folder = dir.File("folder");
        std::filesystem::create_directory(folder);
        const ExportResult replaced = write(folder, mines, indices);
        EXPECT_EQ(replaced.outcome, ExportOutcome::Failed);
        EXPECT_NE(replaced.text.find(folder), std::string::npos);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);

        const std::string written = dir.File("out");
        EXPECT_TRUE(write(written, mines, indices).IsWritten());
        EXPECT_TRUE(std::filesystem::remove(written));
    }
}

}  // namespace
