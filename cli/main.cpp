// vemra-cli: the mine data, the map-click lookup and the exports of Vemra
// from the command line, without Windows or OziExplorer.

#include <array>
#include <iostream>
#include <new>

#include "cli/commands.h"

namespace {

int RunChosen(const std::array<Command, 5>& commands) {
    for (const Command& command : commands) {
        if (command.app->parsed()) {
            return command.run();
        }
    }
    return kExitFailed;  // unreachable: one subcommand is required
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Vemra's mine data on the command line"};
    app.name("vemra-cli");
    app.require_subcommand(1);
    const std::array<Command, 5> commands = {AddLookupCommand(app), AddNearestCommand(app),
                                             AddExportPointCommand(app),
                                             AddExportArchiveCommand(app), AddInfoCommand(app)};
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // Help and version requests exit 0; everything else is a usage error.
        return app.exit(error) == 0 ? kExitOk : kExitFailed;
    }
    try {
        return RunChosen(commands);
    } catch (const CommandError& error) {
        if (*error.what() != '\0') {
            std::cerr << "vemra-cli: " << error.what() << '\n';
        }
        return error.Status();
    } catch (const std::bad_alloc&) {
        std::cerr << "vemra-cli: out of memory\n";
        return kExitFailed;
    }
}
