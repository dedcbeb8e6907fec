#include "export/kml_file.h"

#include <array>
#include <optional>
#include <string_view>

#include "export/coordinate_text.h"
#include "export/file_output.h"
#include "export/waypoint_text.h"
#include "export/xml_text.h"
#include "infosheet/page_texts.h"
#include "text/ascii_text.h"
#include "text/text_encoding.h"
#include "text/trim.h"

namespace {

// A placemark style: the id a placemark names and the colour (aabbggrr) of
// its icon.
struct KmlStyle {
    std::string_view id;
    std::string_view color;
};

// One style per kind of site, told apart by colour at a glance.
constexpr KmlStyle kProducer{"producer", "ff00c000"};
constexpr KmlStyle kPastProducer{"past-producer", "ff0080ff"};
constexpr KmlStyle kProspect{"prospect", "ffff8000"};
constexpr KmlStyle kOccurrence{"occurrence", "ff00ffff"};
constexpr KmlStyle kOtherStatus{"other-status", "ffff00aa"};
constexpr KmlStyle kNoStatus{"no-status", "ffa0a0a0"};
constexpr std::array<KmlStyle, 6> kStyles = {kProducer,   kPastProducer, kProspect,
                                             kOccurrence, kOtherStatus,  kNoStatus};

// The development statuses that have a style of their own.
constexpr std::array<std::pair<std::string_view, KmlStyle>, 4> kStatusStyles = {{
    {"Producer", kProducer},
    {"Past Producer", kPastProducer},
    {"Prospect", kProspect},
    {"Occurrence", kOccurrence},
}};

constexpr char kIcon[] = "http://maps.google.com/mapfiles/kml/shapes/placemark_circle.png";

std::string MakeHeader() {
    std::string header =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n"
        "<Document>\n"
        "  <name>Mines</name>\n";
    for (const KmlStyle& style : kStyles) {
        header.append("  <Style id=\"")
            .append(style.id)
            .append("\"><IconStyle><color>")
            .append(style.color)
            .append("</color><Icon><href>")
            .append(kIcon)
            .append("</href></Icon></IconStyle></Style>\n");
    }
    return header;
}

constexpr char kFooter[] = "</Document>\n</kml>\n";

// One row of the balloon's table. The texts are escaped, so the HTML holds no
// "]]>" and stays inside its CDATA section.
void AppendRow(std::string& out, std::string_view label, std::string_view text) {
    out += "<tr><th align=\"left\">";
    out += label;
    out += "</th><td>";
    AppendXmlData(out, text);
    out += "</td></tr>";
}

// A row for a line that the page may leave out.
void AppendOptionalRow(std::string& out, std::string_view label,
                       const std::optional<std::string>& text) {
    if (text) {
        AppendRow(out, label, *text);
    }
}

// The placemark of `mine` with the main page texts filled into `page`, whose
// strings keep their room from one placemark to the next.
void AppendPlacemark(std::string& out, const CMine& mine, MainPageTexts& page) {
    FillMainPageTexts(mine, page);
    out += "  <Placemark>\n    <name>";
    AppendXmlData(out, page.name);
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
    out += "</table>]]></description>\n    <styleUrl>#";
    out += KmlStyleId(mine.m_strDevStat);
    out += "</styleUrl>\n    <Point><coordinates>";
    AppendDegrees(out, mine.m_fLongitude);
    out += ',';
    AppendDegrees(out, mine.m_fLatitude);
    out += "</coordinates></Point>\n  </Placemark>\n";
}

}  // namespace

std::string_view KmlStyleId(std::string_view developmentStatus) {
    const std::string_view status = TrimSpacesAndTabs(developmentStatus);
    if (status.empty()) {
        return kNoStatus.id;
    }
    for (const auto& [name, style] : kStatusStyles) {
        if (EqualIgnoringAsciiCase(status, name)) {
            return style.id;
        }
    }
    return kOtherStatus.id;
}

void AppendKmlPlacemark(std::string& out, const CMine& mine) {
    MainPageTexts page;
    AppendPlacemark(out, mine, page);
}

void WriteKmlFile(std::ostream& out, const CMineArray& mines,
                  std::span<const std::size_t> indices) {
    MainPageTexts page;
    WriteWaypoints(out, MakeHeader(), kFooter, mines, indices,
                   [&page](std::string& pending, std::size_t, const CMine& mine) {
                       AppendPlacemark(pending, mine, page);
                   });
}

ExportResult ExportKmlFile(const std::string& path, const CMineArray& mines,
                           std::span<const std::size_t> indices) {
    return ExportStream(path, [&](std::ostream& out) { WriteKmlFile(out, mines, indices); });
}
