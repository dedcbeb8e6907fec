// vemra-cli: the mine data, the map-click lookup and the exports of Vemra
// from the command line, without Windows or OziExplorer.

#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/program_arguments.h"
#include "cli/stream_sink.h"

namespace {

int RunChosen(const std::vector<Command>& commands, IMessageSink& sink) {
    for (const Command& command : commands) {
        if (command.app->parsed()) {
            return command.run(sink);
        }
    }
    return kExitFailed;  // unreachable: one subcommand is required
}

int RunReportingErrors(const std::vector<Command>& commands, IMessageSink& sink) {
    try {
        return RunChosen(commands, sink);
    } catch (const CommandError& error) {
        if (*error.what() != '\0') {
            WriteMessageLine(std::cerr, error.what());
        }
        return error.Status();
    } catch (const std::bad_alloc&) {
        WriteMessageLine(std::cerr, "out of memory");
        return kExitFailed;
    }
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Vemra's mine data on the command line"};
    app.name("vemra-cli");
    app.set_version_flag("--version", VEMRA_VERSION);
    app.footer(
        "Exit status:\n"
        "  0  done\n"
        "  1  nothing found: no mine at the point, or none that the filters take (nothing "
        "written)\n"
        "  2  bad arguments, or a data file that cannot be loaded (nothing written)\n"
        "  3  the output file could not be written (any earlier file left as it was)\n"
        "  4  the archive is damaged: the command ran on the complete records read (in place "
        "of 0 and 1)");
    app.require_subcommand(1);
    const std::vector<Command> commands = {
        AddLookupCommand(app),         AddNearestCommand(app),   AddExportPointCommand(app),
        AddExportArchiveCommand(app),  AddExportGpxCommand(app), AddExportKmlCommand(app),
        AddExportWaypointCommand(app), AddExportCsvCommand(app), AddInfoCommand(app),
        AddAlongCommand(app)};
    const std::vector<std::string> arguments = ProgramArguments(argc, argv);
    std::vector<const char*> argumentTexts;
    for (const std::string& argument : arguments) {
        argumentTexts.push_back(argument.c_str());
    }
    try {
        app.parse(static_cast<int>(argumentTexts.size()), argumentTexts.data());
    } catch (const CLI::ParseError& error) {
        // Help and version requests exit 0; everything else is a usage error.
        return app.exit(error) == 0 ? kExitOk : kExitFailed;
    }
    CStreamMessageSink sink(std::cerr);
    return RunReportingErrors(commands, sink);
}
