#include <iostream>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "archive/mine_archive.h"
#include "cli/commands.h"
#include "cli/data_file.h"
#include "cli/export_status.h"
#include "cli/filter_options.h"
#include "export/export_kind.h"
#include "export/point_file.h"
#include "export/waypoint_text.h"

namespace {

struct ExportOptions {
    std::string dataFile;
    std::string outFile;
    FilterOptions filters;
};

void AddExportArguments(CLI::App& command, ExportOptions& options, const std::string& outHelp) {
    command.add_option("DATAFILE", options.dataFile, "Mine data file (.csv, zip or archive)")
        ->required();
    command.add_option("OUT", options.outFile, outHelp)->required();
    AddFilterOptions(command, options.filters);
}

// Says on stderr how many of the mines written an export left out, and why.
template <typename Placeable>
void ReportLeftOut(const CMineArray& mines, std::span<const std::size_t> indices,
                   Placeable placeable, std::string_view reason) {
    std::size_t count = 0;
    for (const std::size_t index : indices) {
        count += placeable(mines[index]) ? 0 : 1;
    }
    if (count > 0) {
        std::cerr << "vemra-cli: " << count << " mine(s) left out: their coordinates are " << reason
                  << "\n";
    }
}

// Loads the data file and writes the mines the filters take, in file order,
// as `kind`. Nothing taken by a filter writes nothing.
int RunExport(const ExportOptions& options, ExportKind kind, IMessageSink& sink) {
    const MineFilter filter = MakeMineFilter(options.filters);
    const LoadedData data = LoadDataFile(options.dataFile, sink);
    const std::vector<std::size_t> indices = SelectMines(data.mines, filter);
    const ExportResult result =
        filter.IsEmpty() ? ExportKindRowOf(kind).write(options.outFile, data.mines, indices)
                         : ExportMines(kind, options.outFile, data.mines, indices);
    ThrowUnlessWritten(result, data);
    switch (kind) {
        case ExportKind::PointFile:
            ReportLeftOut(data.mines, indices, HasFiniteCoordinates, "not finite numbers");
            break;
        case ExportKind::Gpx:
        case ExportKind::Kml:
        case ExportKind::OziWaypoints:
            ReportLeftOut(data.mines, indices, HasMapPosition, "not a place on the globe");
            break;
        case ExportKind::CommaSeparated:
            break;
    }
    return data.ExitStatus(kExitOk);
}

Command AddKindCommand(CLI::App& app, const std::string& name, const std::string& description,
                       const std::string& outHelp, ExportKind kind) {
    auto options = std::make_shared<ExportOptions>();
    CLI::App* command = app.add_subcommand(name, description);
    AddExportArguments(*command, *options, outHelp);
    return {command,
            [options, kind](IMessageSink& sink) { return RunExport(*options, kind, sink); }};
}

}  // namespace

Command AddExportPointCommand(CLI::App& app) {
    return AddKindCommand(app, "export-pnt", "Write the mines as an Ozi point file",
                          "Point file to write", ExportKind::PointFile);
}

Command AddExportArchiveCommand(CLI::App& app) {
    auto options = std::make_shared<ExportOptions>();
    CLI::App* command = app.add_subcommand("export-dat", "Write the mines as a mine archive");
    AddExportArguments(*command, *options, "Mine archive to write");
    return {command, [options](IMessageSink& sink) {
                const MineFilter filter = MakeMineFilter(options->filters);
                const LoadedData data = LoadDataFile(options->dataFile, sink);
                // Without a filter the collection is written as loaded.
                ExportResult result;
                if (filter.IsEmpty()) {
                    result = WriteMineArchive(options->outFile, data.mines);
                } else {
                    const std::vector<std::size_t> indices = SelectMines(data.mines, filter);
                    result = indices.empty()
                                 ? ExportResult::NothingToWrite()
                                 : WriteMineArchive(options->outFile,
                                                    CopyChosenMines(data.mines, indices));
                }
                ThrowUnlessWritten(result, data);
                return data.ExitStatus(kExitOk);
            }};
}

Command AddExportGpxCommand(CLI::App& app) {
    return AddKindCommand(app, "export-gpx", "Write the mines as GPX 1.1 waypoints (UTF-8)",
                          "GPX file to write", ExportKind::Gpx);
}

Command AddExportKmlCommand(CLI::App& app) {
    return AddKindCommand(app, "export-kml",
                          "Write the mines as KML 2.2 placemarks (UTF-8), Main Page in balloons",
                          "KML file to write", ExportKind::Kml);
}

Command AddExportWaypointCommand(CLI::App& app) {
    return AddKindCommand(app, "export-wpt",
                          "Write the mines as an OziExplorer waypoint file (Windows-1252)",
                          "Waypoint file to write", ExportKind::OziWaypoints);
}

Command AddExportCsvCommand(CLI::App& app) {
    return AddKindCommand(app, "export-csv",
                          "Write the mines as comma-separated text of the 47 MRDS columns (UTF-8)",
                          "Comma-separated file to write", ExportKind::CommaSeparated);
}
