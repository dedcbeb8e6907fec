#include "export/gpx_file.h"

#include "export/coordinate_text.h"
#include "export/file_output.h"
#include "export/waypoint_text.h"
#include "export/xml_text.h"
#include "text/text_encoding.h"

namespace {

constexpr char kHeader[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<gpx version=\"1.1\" creator=\"Vemra\" xmlns=\"http://www.topografix.com/GPX/1/1\"\n"
    "     xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\n"
    "     xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 "
    "http://www.topografix.com/GPX/1/1/gpx.xsd\">\n";
constexpr char kFooter[] = "</gpx>\n";
constexpr char kRecordPage[] = "https://mrdata.usgs.gov/mrds/show-mrds.php?dep_id=";
// The symbol Garmin units and their software draw as a mine; a unit without
// it shows its default symbol.
constexpr char kSymbol[] = "    <sym>Mine</sym>\n";

}  // namespace

void AppendGpxWaypoint(std::string& out, const CMine& mine) {
    out += "  <wpt lat=\"";
    AppendDegrees(out, mine.m_fLatitude);
    out += "\" lon=\"";
    // GPX longitudes lie in [-180, 180): the 180th meridian is written as -180.
    AppendDegrees(out, mine.m_fLongitude == 180.0f ? -180.0f : mine.m_fLongitude);
    out += "\">\n    <name>";
    AppendXmlData(out, mine.m_strSiteName);
    out += "</name>\n";
    const std::size_t descStart = out.size();
    out += "    <desc>";
    if (AppendWaypointDescription(out, mine, AppendXmlData)) {
        out += "</desc>\n";
    } else {
        out.resize(descStart);
    }
    if (mine.m_nDepId != 0) {
        const std::string depId = std::to_string(mine.m_nDepId);
        out += "    <link href=\"";
        out += kRecordPage;
        out += depId;
        out += "\"><text>MRDS record ";
        out += depId;
        out += "</text></link>\n";
    }
    out += kSymbol;
    if (!mine.m_strDevStat.IsEmpty()) {
        out += "    <type>";
        AppendXmlData(out, mine.m_strDevStat);
        out += "</type>\n";
    }
    out += "  </wpt>\n";
}

void WriteGpxFile(std::ostream& out, const CMineArray& mines,
                  std::span<const std::size_t> indices) {
    WriteWaypoints(out, kHeader, kFooter, mines, indices,
                   [](std::string& pending, std::size_t, const CMine& mine) {
                       AppendGpxWaypoint(pending, mine);
                   });
}

ExportResult ExportGpxFile(const std::string& path, const CMineArray& mines,
                           std::span<const std::size_t> indices) {
    return ExportStream(path, [&](std::ostream& out) { WriteGpxFile(out, mines, indices); });
}
