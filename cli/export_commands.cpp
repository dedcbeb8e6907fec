#include <iostream>
#include <memory>
#include <span>
#include <vector>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/data_file.h"
#include "export/gpx_file.h"
#include "export/kml_file.h"
#include "export/ozi_waypoint_file.h"
#include "export/point_file.h"
#include "export/waypoint_text.h"
#include "minedata/mine_archive.h"

namespace {

struct ExportOptions {
    std::string dataFile;
    std::string outFile;
    std::string box;  // empty: every mine
};

void AddFileArguments(CLI::App& command, ExportOptions& options, const std::string& outHelp) {
    command.add_option("DATAFILE", options.dataFile, "Mine data file (.csv or archive)")
        ->required();
    command.add_option("OUT", options.outFile, outHelp)->required();
}

int RunExportPoint(const ExportOptions& options, IMessageSink& sink) {
    PositionFilter filter;
    if (!options.box.empty()) {
        // The validator has accepted the box already.
        const BoundingBox box = ParseBoundingBox(options.box).value_or(BoundingBox());
        filter = [box](double latitude, double longitude) {
            return box.Contains(latitude, longitude);
        };
    }
    const LoadedData data = LoadDataFile(options.dataFile, sink);
    if (!ExportPointFile(options.outFile, data.mines, filter, sink)) {
        throw CommandError(kExitNotWritten, "");
    }
    return kExitOk;
}

int RunExportArchive(const ExportOptions& options, IMessageSink& sink) {
    const LoadedData data = LoadDataFile(options.dataFile, sink);
    if (!WriteMineArchive(options.outFile, data.mines, sink)) {
        throw CommandError(kExitNotWritten, "");
    }
    return kExitOk;
}

// The mines a waypoint export writes, as indices in file order: every mine,
// from element 1 on.
std::vector<std::size_t> SelectedMines(const CMineArray& mines) {
    std::vector<std::size_t> indices;
    indices.reserve(mines.GetSize());
    for (std::size_t i = 1; i < mines.GetSize(); ++i) {
        indices.push_back(i);
    }
    return indices;
}

// Writes one of the waypoint files (GPX, KML, OziExplorer waypoints).
using WaypointExport = SafeWriteResult (*)(const std::string& path, const CMineArray& mines,
                                           std::span<const std::size_t> indices);

int RunExportWaypoints(const ExportOptions& options, WaypointExport write, IMessageSink& sink) {
    const LoadedData data = LoadDataFile(options.dataFile, sink);
    const std::vector<std::size_t> indices = SelectedMines(data.mines);
    const SafeWriteResult result = write(options.outFile, data.mines, indices);
    if (!result.Ok()) {
        throw CommandError(kExitNotWritten, result.message);
    }
    std::size_t unplaced = 0;
    for (const std::size_t index : indices) {
        unplaced += HasMapPosition(data.mines[index]) ? 0 : 1;
    }
    if (unplaced > 0) {
        std::cerr << "vemra-cli: " << unplaced
                  << " mine(s) left out: their coordinates are not a place on the globe\n";
    }
    return kExitOk;
}

Command AddWaypointCommand(CLI::App& app, const std::string& name, const std::string& description,
                           const std::string& outHelp, WaypointExport write) {
    auto options = std::make_shared<ExportOptions>();
    CLI::App* command = app.add_subcommand(name, description);
    AddFileArguments(*command, *options, outHelp);
    return {command, [options, write](IMessageSink& sink) {
                return RunExportWaypoints(*options, write, sink);
            }};
}

}  // namespace

Command AddExportPointCommand(CLI::App& app) {
    auto options = std::make_shared<ExportOptions>();
    CLI::App* command = app.add_subcommand("export-pnt", "Write the mines as an Ozi point file");
    AddFileArguments(*command, *options, "Point file to write");
    command
        ->add_option("--bbox", options->box,
                     "Only the mines inside this box of degrees, bounds included")
        ->check(BoundingBoxArgument());
    return {command, [options](IMessageSink& sink) { return RunExportPoint(*options, sink); }};
}

Command AddExportArchiveCommand(CLI::App& app) {
    auto options = std::make_shared<ExportOptions>();
    CLI::App* command = app.add_subcommand("export-dat", "Write the mines as a mine archive");
    AddFileArguments(*command, *options, "Mine archive to write");
    return {command, [options](IMessageSink& sink) { return RunExportArchive(*options, sink); }};
}

Command AddExportGpxCommand(CLI::App& app) {
    return AddWaypointCommand(app, "export-gpx", "Write the mines as GPX 1.1 waypoints (UTF-8)",
                              "GPX file to write", ExportGpxFile);
}

Command AddExportKmlCommand(CLI::App& app) {
    return AddWaypointCommand(
        app, "export-kml", "Write the mines as KML 2.2 placemarks (UTF-8), Main Page in balloons",
        "KML file to write", ExportKmlFile);
}

Command AddExportWaypointCommand(CLI::App& app) {
    return AddWaypointCommand(app, "export-wpt",
                              "Write the mines as an OziExplorer waypoint file (Windows-1252)",
                              "Waypoint file to write", ExportOziWaypointFile);
}
