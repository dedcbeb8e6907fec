#include "export/kml_file.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "csv/column_map.h"
#include "export/coordinate_text.h"
#include "export/file_output.h"
#include "export/waypoint_text.h"
#include "export/xml_text.h"
#include "infosheet/main_page_lines.h"
#include "text/ascii_text.h"
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
constexpr std::array<std::pair<std::string_view, std::size_t>, 4> kStatusStyles = {{
    {"Producer", 0},
    {"Past Producer", 1},
    {"Prospect", 2},
    {"Occurrence", 3},
}};
constexpr std::size_t kOtherStatusStyle = 4;
constexpr std::size_t kNoStatusStyle = 5;

constexpr char kIcon[] = "http://maps.google.com/mapfiles/kml/shapes/placemark_circle.png";
constexpr char kFooter[] = "</Document>\n</kml>\n";

std::size_t StatusStyleOf(std::string_view developmentStatus) {
    const std::string_view status = TrimSpacesAndTabs(developmentStatus);
    if (status.empty()) {
        return kNoStatusStyle;
    }
    for (const auto& [name, style] : kStatusStyles) {
        if (EqualIgnoringAsciiCase(status, name)) {
            return style;
        }
    }
    return kOtherStatusStyle;
}

// What of "Main Page" a balloon template cannot take from a field as it
// stands: the page's meaning of the commodity type code, which production
// years are known, and which of country, state and county the location
// joins. A placemark's style has the template of its form, so that its
// balloon shows the lines the page shows, and only those.
struct BalloonForm {
    std::uint8_t type = 0;        // 0 none (line left out), 1 M, 2 N, 3 B
    std::uint8_t production = 0;  // 0 no year (line left out), 1 both, 2 first only, 3 last only
    std::uint8_t location = 0;    // bits: 1 country, 2 state, 4 county
};

constexpr std::size_t kFormCount = 4 * 4 * 8;
constexpr std::array<std::string_view, 4> kTypeCodes = {"", "M", "N", "B"};
constexpr std::array<std::string_view, 4> kTypeMeanings = {"", "metallic", "non-metallic",
                                                           "metallic and non-metallic"};

std::size_t FormNumber(const BalloonForm& form) {
    return (form.type * 4u + form.production) * 8u + form.location;
}

BalloonForm FormOfNumber(std::size_t number) {
    return {static_cast<std::uint8_t>(number / 32), static_cast<std::uint8_t>(number / 8 % 4),
            static_cast<std::uint8_t>(number % 8)};
}

BalloonForm BalloonFormOf(const CMine& mine) {
    BalloonForm form;
    const std::string_view code = mine.m_strComType.View();
    for (std::uint8_t i = 1; i < kTypeCodes.size(); ++i) {
        if (EqualIgnoringAsciiCase(code, kTypeCodes[i])) {
            form.type = i;
        }
    }
    const bool first = !mine.m_strYrFstPrd.IsEmpty();
    const bool last = !mine.m_strYrLstPrd.IsEmpty();
    form.production = first && last ? 1 : first ? 2 : last ? 3 : 0;
    form.location = static_cast<std::uint8_t>((mine.m_strCountry.IsEmpty() ? 0 : 1) |
                                              (mine.m_strState.IsEmpty() ? 0 : 2) |
                                              (mine.m_strCounty.IsEmpty() ? 0 : 4));
    return form;
}

// A style of the document: development status and balloon form.
std::size_t StyleNumber(std::size_t statusStyle, const BalloonForm& form) {
    return statusStyle * kFormCount + FormNumber(form);
}

void AppendStyleId(std::string& out, std::size_t styleNumber) {
    const BalloonForm form = FormOfNumber(styleNumber % kFormCount);
    out += kStyles[styleNumber / kFormCount].id;
    out += '-';
    out += form.type == 0 ? 'x' : static_cast<char>(AsciiLower(kTypeCodes[form.type][0]));
    out += static_cast<char>('0' + form.production);
    out += static_cast<char>('0' + form.location);
}

// The value of a line in the balloon template: the fields it shows, as
// entities of the placemark's data.
std::string LineTemplate(MainPageField field, const BalloonForm& form) {
    switch (field) {
        case MainPageField::Name:
            return "$[SITE_NAME]";
        case MainPageField::Position:
            return "Lat: $[LATITUDE], Lon: $[LONGITUDE]";
        case MainPageField::Location: {
            std::string joined;
            for (const auto& [bit, entity] : {std::pair<int, std::string_view>{1, "$[COUNTRY]"},
                                              {2, "$[STATE]"},
                                              {4, "$[COUNTY]"}}) {
                if ((form.location & bit) != 0) {
                    joined.append(joined.empty() ? "" : ", ").append(entity);
                }
            }
            return joined;
        }
        case MainPageField::CommodityType:
            return std::string(kTypeMeanings[form.type]);
        case MainPageField::Major:
            return "$[COM_MAJOR]";
        case MainPageField::Minor:
            return "$[COM_MINOR]";
        case MainPageField::Trace:
            return "$[COM_TRACE]";
        case MainPageField::Discovery:
            return "$[DY_BA]$[DISC_YR]";
        case MainPageField::Production:
            switch (form.production) {
                case 1:
                    return "$[YFP_BA]$[YR_FST_PRD] to $[YLP_BA]$[YR_LST_PRD]";
                case 2:
                    return "$[YFP_BA]$[YR_FST_PRD] to ???";
                default:
                    return " ??? to $[YLP_BA]$[YR_LST_PRD]";
            }
        case MainPageField::ProductionYears:
            break;
    }
    return "$[PROD_YRS]";
}

bool LineShown(MainPageField field, const BalloonForm& form) {
    return (field != MainPageField::CommodityType || form.type != 0) &&
           (field != MainPageField::Production || form.production != 0);
}

void AppendStyle(std::string& out, std::size_t styleNumber) {
    const BalloonForm form = FormOfNumber(styleNumber % kFormCount);
    out += "  <Style id=\"";
    AppendStyleId(out, styleNumber);
    out.append("\"><IconStyle><color>")
        .append(kStyles[styleNumber / kFormCount].color)
        .append("</color><Icon><href>")
        .append(kIcon)
        .append("</href></Icon></IconStyle>");
    out += "<BalloonStyle><text><![CDATA[<h3>$[name]</h3><table>";
    for (const MainPageLine& line : kMainPageLines) {
        if (LineShown(line.field, form)) {
            out.append("<tr><th align=\"left\">")
                .append(line.heading)
                .append("</th><td>")
                .append(LineTemplate(line.field, form))
                .append("</td></tr>");
        }
    }
    out += "</table>$[geDirections]]]></text></BalloonStyle></Style>\n";
}

std::string MakeHeader(const std::vector<bool>& used) {
    std::string header =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n"
        "<Document>\n"
        "  <name>Mines</name>\n";
    for (std::size_t style = 0; style < used.size(); ++style) {
        if (used[style]) {
            AppendStyle(header, style);
        }
    }
    return header;
}

// "<Data name=\"COLUMN\"><value>" of each slot.
const std::array<std::string, kKnownColumnCount + 1>& DataOpenings() {
    static const std::array<std::string, kKnownColumnCount + 1> openings = [] {
        std::array<std::string, kKnownColumnCount + 1> texts;
        for (int slot = 1; slot <= kKnownColumnCount; ++slot) {
            texts[static_cast<std::size_t>(slot)] =
                "<Data name=\"" + std::string(kKnownColumnNames[static_cast<std::size_t>(slot)]) +
                "\"><value>";
        }
        return texts;
    }();
    return openings;
}

constexpr std::string_view kDataClose = "</value></Data>";

void AppendExtendedData(std::string& out, const CMine& mine) {
    const auto& openings = DataOpenings();
    const CMine::Texts texts = mine.GetTexts();
    out += "    <ExtendedData>";
    for (int slot = 1; slot <= kKnownColumnCount; ++slot) {
        const std::string& opening = openings[static_cast<std::size_t>(slot)];
        switch (slot) {
            case kSlotDepId:
                if (mine.m_nDepId != 0) {
                    out.append(opening).append(std::to_string(mine.m_nDepId)).append(kDataClose);
                }
                continue;
            case kSlotLatitude:
                out += opening;
                AppendDegrees(out, mine.m_fLatitude);
                out += kDataClose;
                continue;
            case kSlotLongitude:
                out += opening;
                AppendDegrees(out, mine.m_fLongitude);
                out += kDataClose;
                continue;
            default:
                break;
        }
        const std::string_view text = texts[TextIndexOfSlot(slot)];
        if (!text.empty()) {
            out += opening;
            AppendXmlData(out, text);
            out += kDataClose;
        }
    }
    out += "</ExtendedData>\n";
}

void AppendPlacemark(std::string& out, const CMine& mine, std::size_t styleNumber) {
    out += "  <Placemark>\n    <name>";
    AppendXmlData(out, mine.m_strSiteName.View());
    out += "</name>\n    <styleUrl>#";
    AppendStyleId(out, styleNumber);
    out += "</styleUrl>\n";
    AppendExtendedData(out, mine);
    out += "    <Point><coordinates>";
    AppendDegrees(out, mine.m_fLongitude);
    out += ',';
    AppendDegrees(out, mine.m_fLatitude);
    out += "</coordinates></Point>\n  </Placemark>\n";
}

std::size_t StyleNumberOf(const CMine& mine) {
    return StyleNumber(StatusStyleOf(mine.m_strDevStat.View()), BalloonFormOf(mine));
}

}  // namespace

std::string_view KmlStyleId(std::string_view developmentStatus) {
    return kStyles[StatusStyleOf(developmentStatus)].id;
}

void AppendKmlPlacemark(std::string& out, const CMine& mine) {
    AppendPlacemark(out, mine, StyleNumberOf(mine));
}

void AppendKmlStyle(std::string& out, const CMine& mine) {
    AppendStyle(out, StyleNumberOf(mine));
}

void WriteKmlFile(std::ostream& out, const CMineArray& mines,
                  std::span<const std::size_t> indices) {
    // The styles come before the placemarks: those the mines use are found first.
    std::vector<std::uint16_t> styleOf(indices.size());
    std::vector<bool> used(kStyles.size() * kFormCount);
    for (std::size_t i = 0; i < indices.size(); ++i) {
        const CMine& mine = mines[indices[i]];
        if (HasMapPosition(mine)) {
            styleOf[i] = static_cast<std::uint16_t>(StyleNumberOf(mine));
            used[styleOf[i]] = true;
        }
    }
    std::string pending = MakeHeader(used);
    for (std::size_t i = 0; i < indices.size(); ++i) {
        const CMine& mine = mines[indices[i]];
        if (HasMapPosition(mine)) {
            AppendPlacemark(pending, mine, styleOf[i]);
            WriteWhenFull(out, pending);
        }
    }
    pending += kFooter;
    WritePending(out, pending);
}

ExportResult ExportKmlFile(const std::string& path, const CMineArray& mines,
                           std::span<const std::size_t> indices) {
    return ExportStream(path, [&](std::ostream& out) { WriteKmlFile(out, mines, indices); });
}
