#include <iostream>
#include <memory>

#include "cli/commands.h"
#include "cli/data_file.h"
#include "cli/filter_options.h"
#include "cli/stream_sink.h"
#include "export/point_file.h"
#include "minedata/mine_archive.h"

namespace {

struct ExportOptions {
    std::string dataFile;
    std::string outFile;
    FilterOptions filters;
};

void AddExportArguments(CLI::App& command, ExportOptions& options, const std::string& outHelp) {
    command.add_option("DATAFILE", options.dataFile, "Mine data file (.csv or archive)")
        ->required();
    command.add_option("OUT", options.outFile, outHelp)->required();
    AddFilterOptions(command, options.filters);
}

// Loads the data file and writes the mines the filters take with `write`,
// which returns false when the output could not be written. Without a filter
// the collection is written as loaded.
template <typename Write>
int RunExport(const ExportOptions& options, Write write) {
    const MineFilter filter = MakeMineFilter(options.filters);
    CStreamMessageSink sink(std::cerr);
    const LoadedData data = LoadDataFile(options.dataFile, sink);
    bool written = false;
    if (filter.IsEmpty()) {
        written = write(data.mines, sink);
    } else {
        written = write(CopyChosenMines(data.mines, ChooseMines(data.mines, filter)), sink);
    }
    if (!written) {
        throw CommandError(kExitNotWritten, "");
    }
    return kExitOk;
}

}  // namespace

Command AddExportPointCommand(CLI::App& app) {
    auto options = std::make_shared<ExportOptions>();
    CLI::App* command = app.add_subcommand("export-pnt", "Write the mines as an Ozi point file");
    AddExportArguments(*command, *options, "Point file to write");
    return {command, [options] {
                return RunExport(*options, [&](const CMineArray& mines, IMessageSink& sink) {
                    return ExportPointFile(options->outFile, mines, {}, sink);
                });
            }};
}

Command AddExportArchiveCommand(CLI::App& app) {
    auto options = std::make_shared<ExportOptions>();
    CLI::App* command = app.add_subcommand("export-dat", "Write the mines as a mine archive");
    AddExportArguments(*command, *options, "Mine archive to write");
    return {command, [options] {
                return RunExport(*options, [&](const CMineArray& mines, IMessageSink& sink) {
                    return WriteMineArchive(options->outFile, mines, sink);
                });
            }};
}
