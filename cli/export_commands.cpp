#include <iostream>
#include <memory>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/data_file.h"
#include "export/point_file.h"
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
