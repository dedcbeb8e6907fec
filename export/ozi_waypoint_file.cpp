#include "export/ozi_waypoint_file.h"

#include <string_view>

#include "export/file_output.h"
#include "export/waypoint_text.h"
#include "text/text_encoding.h"

namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr const char* kHeaderLines[] = {
    "OziExplorer Waypoint File Version 1.1",
    "WGS 84",
    "Reserved 2",
    "Reserved 3",
};
// OziExplorer reads this byte in a name or description back as a comma.
constexpr char kCommaStandIn = '\xD1';

// Between the coordinates and the description: date (0, none), symbol 0,
// status 1, map display format 3, black on yellow.
constexpr char kFieldsBeforeDescription[] = ",0,0,1,3,0,65535,";
// After it: pointer direction, Garmin display format, proximity off, altitude
// unknown, font size and style, symbol size, proximity symbol position and
// time, proximity or route, and three empty attachment and symbol names.
constexpr char kFieldsAfterDescription[] = ",0,0,0,-777,6,0,17,0,10.0,2,,,";

// Appends a record text as one field of the line.
void AppendField(std::string& line, std::string_view text) {
    for (const char byte : DataTextToCp1252(text)) {
        const auto code = static_cast<unsigned char>(byte);
        if (byte == ',') {
            line += kCommaStandIn;
        } else if (code >= 0x20 && code != 0x7F) {
            line += byte;
        }
    }
}

}  // namespace

std::string OziWaypointLine(std::size_t number, const CMine& mine) {
    std::string line = std::to_string(number);
    line += ',';
    AppendField(line, mine.m_strSiteName);
    line += ',';
    AppendDegrees(line, mine.m_fLatitude);
    line += ',';
    AppendDegrees(line, mine.m_fLongitude);
    line += kFieldsBeforeDescription;
    const std::vector<std::string> description = WaypointDescriptionParts(mine);
    for (std::size_t i = 0; i < description.size(); ++i) {
        if (i > 0) {
            line += kDescriptionSeparator;
        }
        AppendField(line, description[i]);
    }
    line += kFieldsAfterDescription;
    return line;
}

void WriteOziWaypointFile(std::ostream& out, const CMineArray& mines,
                          std::span<const std::size_t> indices) {
    std::string header;
    for (const char* line : kHeaderLines) {
        header += line;
        header += kLineEnd;
    }
    WriteWaypoints(out, header, "", mines, indices,
                   [](std::string& pending, std::size_t number, const CMine& mine) {
                       pending += OziWaypointLine(number, mine);
                       pending += kLineEnd;
                   });
}

SafeWriteResult ExportOziWaypointFile(const std::string& path, const CMineArray& mines,
                                      std::span<const std::size_t> indices) {
    return WriteStreamSafely(path,
                             [&](std::ostream& out) { WriteOziWaypointFile(out, mines, indices); });
}
