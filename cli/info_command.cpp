#include <iostream>
#include <memory>

#include "cli/commands.h"
#include "cli/data_file.h"
#include "cli/json_output.h"
#include "cli/text_output.h"
#include "csv/column_map.h"

namespace {

struct InfoOptions {
    std::string dataFile;
    bool json = false;
};

int RunInfo(const InfoOptions& options, IMessageSink& sink) {
    const LoadedData data = LoadDataFile(options.dataFile, sink);
    // An archive holds every field of every record.
    const ColumnsRead columns =
        data.commaSeparated
            ? data.columns
            : ColumnsRead{{kKnownColumnNames.begin() + 1, kKnownColumnNames.end()}, {}};
    if (options.json) {
        CJsonWriter json(kJsonIndent);
        AppendInfoJson(json, data, columns);
        std::cout << json.Text() << '\n';
    } else {
        WriteInfo(std::cout, data, columns);
    }
    return data.ExitStatus(kExitOk);
}

}  // namespace

Command AddInfoCommand(CLI::App& app) {
    auto options = std::make_shared<InfoOptions>();
    CLI::App* command =
        app.add_subcommand("info", "Tell the number of mines, the format and the columns read");
    command->add_option("DATAFILE", options->dataFile, "Mine data file (.csv, zip or archive)")
        ->required();
    command->add_flag("--json", options->json, "One JSON object");
    return {command, [options](IMessageSink& sink) { return RunInfo(*options, sink); }};
}
