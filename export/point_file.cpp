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

void AppendHeader(std::string& out) {
    for (const char* header : kHeaderLines) {
        out += header;
        out += kLineEnd;
    }
}

void WritePointLines(std::ostream& out, const CMineArray& mines,
                     std::span<const std::size_t> indices) {
    std::string pending;
    AppendHeader(pending);
    for (const std::size_t index : indices) {
        const CMine& mine = mines[index];
        if (HasFiniteCoordinates(mine)) {
            AppendPointFileLine(pending, mine);
            pending += kLineEnd;
            WriteWhenFull(out, pending);
        }
    }
    WritePending(out, pending);
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
    AppendHeader(pending);
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

ExportResult ExportPointFile(const std::string& path, const CMineArray& mines,
                             const PositionFilter& filter) {
    return ExportStream(path, [&](std::ostream& out) { WritePointFile(out, mines, filter); });
}

ExportResult ExportPointMines(const std::string& path, const CMineArray& mines,
                              std::span<const std::size_t> indices) {
    return ExportStream(path, [&](std::ostream& out) { WritePointLines(out, mines, indices); });
}
