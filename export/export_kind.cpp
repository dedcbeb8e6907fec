#include "export/export_kind.h"

#include <array>

#include "export/csv_file.h"
#include "export/gpx_file.h"
#include "export/kml_file.h"
#include "export/ozi_waypoint_file.h"
#include "export/point_file.h"
#include "text/ascii_text.h"

namespace {

constexpr std::array<ExportKindRow, 5> kRows = {{
    {ExportKind::Gpx, "GPX file", ".gpx", "GPX files (*.gpx)",
     "GPX files (*.gpx)|*.gpx|All Files (*.*)|*.*||", "mines.gpx", "GPX File Name", ExportGpxFile},
    {ExportKind::Kml, "KML file", ".kml", "KML files (*.kml)",
     "KML files (*.kml)|*.kml|All Files (*.*)|*.*||", "mines.kml", "KML File Name", ExportKmlFile},
    {ExportKind::OziWaypoints, "OziExplorer waypoint file", ".wpt", "Ozi Waypoint files (*.wpt)",
     "Ozi Waypoint files (*.wpt)|*.wpt|All Files (*.*)|*.*||", "mines.wpt",
     "Ozi Waypoint File Name", ExportOziWaypointFile},
    {ExportKind::PointFile, "OziExplorer point file", ".pnt", "Ozi Point files (*.pnt)",
     "Ozi Point files (*.pnt)|*.pnt|All Files (*.*)|*.*||", "point.pnt", "Ozi Point File Name",
     ExportPointMines},
    {ExportKind::CommaSeparated, "comma-separated text", ".csv", "Comma-separated text (*.csv)",
     "Comma-separated text (*.csv)|*.csv|All Files (*.*)|*.*||", "mines.csv",
     "Comma-Separated File Name", ExportCsvFile},
}};

}  // namespace

std::span<const ExportKindRow> ExportKindRows() {
    return kRows;
}

const ExportKindRow& ExportKindRowOf(ExportKind kind) {
    for (const ExportKindRow& row : kRows) {
        if (row.kind == kind) {
            return row;
        }
    }
    return kRows[0];  // unreachable: every kind has its row
}

std::optional<ExportKind> ExportKindForPath(std::string_view path) {
    for (const ExportKindRow& row : kRows) {
        if (EndsWithIgnoringAsciiCase(path, row.ending)) {
            return row.kind;
        }
    }
    return std::nullopt;
}

ExportResult ExportMines(ExportKind kind, const std::string& path, const CMineArray& mines,
                         std::span<const std::size_t> indices) {
    if (indices.empty()) {
        return ExportResult::NothingToWrite();
    }
    return ExportKindRowOf(kind).write(path, mines, indices);
}
