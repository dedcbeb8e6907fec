#include "export/gpx_file.h"

#include "export/file_output.h"
#include "export/waypoint_text.h"
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

}  // namespace

void AppendGpxWaypoint(std::string& out, const CMine& mine) {
    out += "  <wpt lat=\"";
    AppendDegrees(out, mine.m_fLatitude);
    out += "\" lon=\"";
    // GPX longitudes lie in [-180, 180): the 180th meridian is written as -180.
    AppendDegrees(out, mine.m_fLongitude == 180.0f ? -180.0f : mine.m_fLongitude);
    out += "\">\n    <name>";
    AppendXmlText(out, mine.m_strSiteName);
    out += "</name>\n";
    const std::vector<std::string> description = WaypointDescriptionParts(mine);
    if (!description.empty()) {
        out += "    <desc>";
        for (std::size_t i = 0; i < description.size(); ++i) {
            if (i > 0) {
                out += kDescriptionSeparator;
            }
            AppendXmlText(out, description[i]);
        }
        out += "</desc>\n";
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
    if (!mine.m_strDevStat.IsEmpty()) {
        out += "    <type>";
        AppendXmlText(out, mine.m_strDevStat);
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

SafeWriteResult ExportGpxFile(const std::string& path, const CMineArray& mines,
                              std::span<const std::size_t> indices) {
    return WriteStreamSafely(path, [&](std::ostream& out) { WriteGpxFile(out, mines, indices); });
}
