#include "export/point_file.h"

#include <cstdio>

#include "export/file_output.h"

namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr const char* kHeaderLines[] = {
    "OziExplorer Point File Version 1.0", "WGS 84", "Reserved 1", "Reserved 2",
    "255,16777215,3,8,0,0,Mines",
};
// OziExplorer reads this byte in a point's name back as a comma.
constexpr char kCommaStandIn = '\xD1';

// Room for "%f" of any float widened to double: FLT_MAX takes 39 digits
// before the point, plus sign, point and six decimals.
constexpr std::size_t kCoordinateTextSize = 64;

void AppendCoordinate(std::string& line, float value) {
    char text[kCoordinateTextSize];
    const int length = std::snprintf(text, sizeof text, "%f", static_cast<double>(value));
    if (length > 0) {
        line.append(text, static_cast<std::size_t>(length) < sizeof text
                              ? static_cast<std::size_t>(length)
                              : sizeof text - 1);
    }
}

}  // namespace

std::string PointFileLine(const CMine& mine) {
    std::string line;
    AppendCoordinate(line, mine.m_fLatitude);
    line += ',';
    AppendCoordinate(line, mine.m_fLongitude);
    line += ",0,";
    for (char byte : mine.m_strSiteName.View()) {
        line += byte == ',' ? kCommaStandIn : byte;
    }
    line += ",,,,-777.0";
    return line;
}

void WritePointFile(std::ostream& out, const CMineArray& mines, const PositionFilter& filter) {
    for (const char* header : kHeaderLines) {
        out << header << kLineEnd;
    }
    for (std::size_t i = 1; i < mines.GetSize(); ++i) {
        const CMine& mine = mines[i];
        if (filter && !filter(static_cast<double>(mine.m_fLatitude),
                              static_cast<double>(mine.m_fLongitude))) {
            continue;
        }
        std::string line = PointFileLine(mine);
        line += kLineEnd;
        out.write(line.data(), static_cast<std::streamsize>(line.size()));
    }
}

bool ExportPointFile(const std::string& path, const CMineArray& mines, const PositionFilter& filter,
                     IMessageSink& sink) {
    const SafeWriteResult result =
        WriteStreamSafely(path, [&](std::ostream& out) { WritePointFile(out, mines, filter); });
    switch (result.failedAt) {
        case SafeWriteStage::None:
            return true;
        case SafeWriteStage::Create:
            sink.Report(MessageKind::ExportFailed, "Error opening:\n" + path);
            return false;
        case SafeWriteStage::Write:
        case SafeWriteStage::Replace:
            break;
    }
    sink.Report(MessageKind::ExportFailed, result.message);
    return false;
}
