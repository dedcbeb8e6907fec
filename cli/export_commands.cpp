#include <iostream>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "archive/mine_archive.h"
#include "cli/commands.h"
#include "cli/data_file.h"
#include "cli/filter_options.h"
#include "export/gpx_file.h"
#include "export/kml_file.h"
#include "export/ozi_waypoint_file.h"
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

// Says on stderr how many mines an export left out, and why.
void ReportLeftOut(std::size_t count, std::string_view reason) {
    if (count > 0) {
        std::cerr << "vemra-cli: " << count << " mine(s) left out: their coordinates are " << reason
                  << "\n";
    }
}

// Loads the data file and writes the mines the filters take with `write`,
// which returns false when the output could not be written. Without a filter
// the collection is written as loaded.
template <typename Write>
int RunExport(const ExportOptions& options, IMessageSink& sink, Write write) {
    const MineFilter filter = MakeMineFilter(options.filters);
    const LoadedData data = LoadDataFile(options.dataFile, sink);
    bool written = false;
    if (filter.IsEmpty()) {
        written = write(data.mines);
    } else {
        written = write(CopyChosenMines(data.mines, ChooseMines(data, filter)));
    }
    if (!written) {
        throw CommandError(kExitNotWritten, "");
    }
    return data.ExitStatus(kExitOk);
}

// Writes one of the waypoint files (GPX, KML, OziExplorer waypoints).
using WaypointExport = SafeWriteResult (*)(const std::string& path, const CMineArray& mines,
                                           std::span<const std::size_t> indices);

int RunExportWaypoints(const ExportOptions& options, WaypointExport write, IMessageSink& sink) {
    const MineFilter filter = MakeMineFilter(options.filters);
    const LoadedData data = LoadDataFile(options.dataFile, sink);
    const std::vector<std::size_t> indices = ChooseMines(data, filter);
    const SafeWriteResult result = write(options.outFile, data.mines, indices);
    if (!result.Ok()) {
        throw CommandError(kExitNotWritten, result.message);
    }
    std::size_t unplaced = 0;
    for (const std::size_t index : indices) {
        unplaced += HasMapPosition(data.mines[index]) ? 0 : 1;
    }
    ReportLeftOut(unplaced, "not a place on the globe");
    return data.ExitStatus(kExitOk);
}

Command AddWaypointCommand(CLI::App& app, const std::string& name, const std::string& description,
                           const std::string& outHelp, WaypointExport write) {
    auto options = std::make_shared<ExportOptions>();
    CLI::App* command = app.add_subcommand(name, description);
    AddExportArguments(*command, *options, outHelp);
    return {command, [options, write](IMessageSink& sink) {
                return RunExportWaypoints(*options, write, sink);
            }};
}

}  // namespace

Command AddExportPointCommand(CLI::App& app) {
    auto options = std::make_shared<ExportOptions>();
    CLI::App* command = app.add_subcommand("export-pnt", "Write the mines as an Ozi point file");
    AddExportArguments(*command, *options, "Point file to write");
    return {command, [options](IMessageSink& sink) {
                return RunExport(*options, sink, [&](const CMineArray& mines) {
                    if (!ExportPointFile(options->outFile, mines, {}, sink)) {
                        return false;
                    }
                    std::size_t unwritable = 0;
                    for (std::size_t i = 1; i < mines.GetSize(); ++i) {
                        unwritable += HasFiniteCoordinates(mines[i]) ? 0 : 1;
                    }
                    ReportLeftOut(unwritable, "not finite numbers");
                    return true;
                });
            }};
}

Command AddExportArchiveCommand(CLI::App& app) {
    auto options = std::make_shared<ExportOptions>();
    CLI::App* command = app.add_subcommand("export-dat", "Write the mines as a mine archive");
    AddExportArguments(*command, *options, "Mine archive to write");
    return {command, [options](IMessageSink& sink) {
                return RunExport(*options, sink, [&](const CMineArray& mines) {
                    return WriteMineArchive(options->outFile, mines, sink);
                });
            }};
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
