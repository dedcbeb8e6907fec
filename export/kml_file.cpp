#include "export/kml_file.h"

#include <optional>
#include <string_view>

#include "export/file_output.h"
#include "export/waypoint_text.h"
#include "infosheet/page_texts.h"
#include "text/text_encoding.h"

namespace {

constexpr char kHeader[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n"
    "<Document>\n"
    "  <name>Mines</name>\n";
constexpr char kFooter[] = "</Document>\n</kml>\n";

// One row of the balloon's table. The texts are escaped, so the HTML holds no
// "]]>" and stays inside its CDATA section.
void AppendRow(std::string& out, std::string_view label, std::string_view text) {
    out += "<tr><th align=\"left\">";
    out += label;
    out += "</th><td>";
    AppendXmlText(out, text);
    out += "</td></tr>";
}

// A row for a line that the page may leave out.
void AppendOptionalRow(std::string& out, std::string_view label,
                       const std::optional<std::string>& text) {
    if (text) {
        AppendRow(out, label, *text);
    }
}

}  // namespace

void AppendKmlPlacemark(std::string& out, const CMine& mine) {
    const MainPageTexts page = MakeMainPageTexts(mine);
    out += "  <Placemark>\n    <name>";
    AppendXmlText(out, page.name);
    out += "</name>\n    <description><![CDATA[<table>";
    AppendRow(out, "Name", page.name);
    AppendRow(out, "Position", page.position);
    AppendRow(out, "Location", page.location);
    AppendOptionalRow(out, "Type", page.commodityType);
    AppendRow(out, "Major", page.major);
    AppendRow(out, "Minor", page.minor);
    AppendRow(out, "Trace", page.trace);
    AppendRow(out, "Discovery", page.discovery);
    AppendOptionalRow(out, "Production", page.production);
    AppendRow(out, "Prod. Years", page.productionYears);
    out += "</table>]]></description>\n    <Point><coordinates>";
    AppendDegrees(out, mine.m_fLongitude);
    out += ',';
    AppendDegrees(out, mine.m_fLatitude);
    out += "</coordinates></Point>\n  </Placemark>\n";
}

void WriteKmlFile(std::ostream& out, const CMineArray& mines,
                  std::span<const std::size_t> indices) {
    WriteWaypoints(out, kHeader, kFooter, mines, indices,
                   [](std::string& pending, std::size_t, const CMine& mine) {
                       AppendKmlPlacemark(pending, mine);
                   });
}

SafeWriteResult ExportKmlFile(const std::string& path, const CMineArray& mines,
                              std::span<const std::size_t> indices) {
    return WriteStreamSafely(path, [&](std::ostream& out) { WriteKmlFile(out, mines, indices); });
}
