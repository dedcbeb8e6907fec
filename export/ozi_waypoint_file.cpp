#include "export/ozi_waypoint_file.h"

#include <string_view>

#include "export/coordinate_text.h"
#include "export/file_output.h"
#include "export/ozi_field.h"
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
// Between the coordinates and the description: date (0, none), symbol 0,
// status 1, map display format 3, black on yellow.
constexpr char kFieldsBeforeDescription[] = ",0,0,1,3,0,65535,";
// After it: pointer direction, Garmin display format, proximity off, altitude
// unknown, font size and style, symbol size, proximity symbol position and
// time, proximity or route, and three empty attachment and symbol names.
constexpr char kFieldsAfterDescription[] = ",0,0,0,-777,6,0,17,0,10.0,2,,,";

// Appends a record text as one field of the line.
void AppendField(std::string& line, std::string_view text) {
    AppendOziField(line, text, OtherControls::Drop);
}

void AppendWaypointLine(std::string& line, std::size_t number, const CMine& mine) {
    line += std::to_string(number);
    line += ',';
    AppendField(line, mine.m_strSiteName);
    line += ',';
    AppendDegrees(line, mine.m_fLatitude);
    line += ',';
    AppendDegrees(line, mine.m_fLongitude);
    line += kFieldsBeforeDescription;
    AppendWaypointDescription(line, mine, AppendField);
    line += kFieldsAfterDescription;
}

}  // namespace

std::string OziWaypointLine(std::size_t number, const CMine& mine) {
    std::string line;
    AppendWaypointLine(line, number, mine);
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
                       AppendWaypointLine(pending, number, mine);
                       pending += kLineEnd;
                   });
}

ExportResult ExportOziWaypointFile(const std::string& path, const CMineArray& mines,
                                   std::span<const std::size_t> indices) {
    return ExportStream(path,
                        [&](std::ostream& out) { WriteOziWaypointFile(out, mines, indices); });
}
