#include "export/point_file.h"

#include <cmath>

#include "export/coordinate_text.h"
#include "export/file_output.h"
#include "export/ozi_field.h"

namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr const char* kHeaderLines[] = {
    "OziExplorer Point File Version 1.0", "WGS 84", "Reserved 1", "Reserved 2",
    "255,16777215,3,8,0,0,Mines",
};

void AppendPointFileLine(std::string& out, const CMine& mine) {
    AppendDegrees(out, mine.m_fLatitude);
    out += ',';
    AppendDegrees(out, mine.m_fLongitude);
    out += ",0,";
    AppendOziField(out, mine.m_strSiteName, OtherControls::Keep);
    out += ",,,,-777.0";
}

}  // namespace

bool HasFiniteCoordinates(const CMine& mine) {
    return std::isfinite(mine.m_fLatitude) && std::isfinite(mine.m_fLongitude);
}

std::string PointFileLine(const CMine& mine) {
    std::string line;
    AppendPointFileLine(line, mine);
    return line;
}

void WritePointFile(std::ostream& out, const CMineArray& mines, const PositionFilter& filter) {
    std::string pending;
    for (const char* header : kHeaderLines) {
        pending += header;
        pending += kLineEnd;
    }
    for (std::size_t i = 1; i < mines.GetSize(); ++i) {
        const CMine& mine = mines[i];
        if (!HasFiniteCoordinates(mine) ||
            (filter && !filter(static_cast<double>(mine.m_fLatitude),
                               static_cast<double>(mine.m_fLongitude)))) {
            continue;
        }
        AppendPointFileLine(pending, mine);
        pending += kLineEnd;
        WriteWhenFull(out, pending);
    }
    WritePending(out, pending);
}

bool ExportPointFile(const std::string& path, const CMineArray& mines, const PositionFilter& filter,
                     IMessageSink& sink) {
    const SafeWriteResult result =
        WriteStreamSafely(path, [&](std::ostream& out) { WritePointFile(out, mines, filter); });
    return ReportExportResult(result, path, sink);
}
