#include "export/waypoint_file_export.h"

#include <span>

#include "export/file_output.h"
#include "export/gpx_file.h"
#include "export/kml_file.h"
#include "export/ozi_waypoint_file.h"

namespace {

SafeWriteResult WriteInFormat(WaypointFormat format, const std::string& path,
                              const CMineArray& mines, std::span<const std::size_t> indices) {
    switch (format) {
        case WaypointFormat::Gpx:
            return ExportGpxFile(path, mines, indices);
        case WaypointFormat::Kml:
            return ExportKmlFile(path, mines, indices);
        case WaypointFormat::OziWaypoints:
            break;
    }
    return ExportOziWaypointFile(path, mines, indices);
}

}  // namespace

std::vector<std::size_t> MinesOnMap(const CMineArray& mines, const PositionFilter& onMap) {
    std::vector<std::size_t> chosen;
    for (std::size_t i = 1; i < mines.GetSize(); ++i) {
        const CMine& mine = mines[i];
        if (!onMap ||
            onMap(static_cast<double>(mine.m_fLatitude), static_cast<double>(mine.m_fLongitude))) {
            chosen.push_back(i);
        }
    }
    return chosen;
}

bool ExportWaypointFile(WaypointFormat format, const std::string& path, const CMineArray& mines,
                        const PositionFilter& onMap, IMessageSink& sink) {
    return ReportExportResult(WriteInFormat(format, path, mines, MinesOnMap(mines, onMap)), path,
                              sink);
}
