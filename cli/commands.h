#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <stdexcept>
#include <string>

// The commands of vemra-cli. Each reads the data file as the program reads
// it and writes its result to stdout or to its output file; what the program
// would show in a message box goes to stderr.

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitNoMatch = 1;  // lookup, nearest: no mine found
inline constexpr int kExitFailed =
    2;  // bad arguments or points, or a data file that cannot be loaded
inline constexpr int kExitNotWritten = 3;  // the output file could not be written

// Ends a command with `status`. what() is a message for stderr, or empty when
// everything was already said.
class CommandError : public std::runtime_error {
public:
    CommandError(int status, const std::string& message)
        : std::runtime_error(message), m_nStatus(status) {}
    int Status() const { return m_nStatus; }

private:
    int m_nStatus;
};

// A subcommand and what runs it once its arguments are parsed. `run` returns
// the exit status or throws CommandError.
struct Command {
    CLI::App* app;
    std::function<int()> run;
};

// lookup DATAFILE (LAT LON | --points FILE) [--sensitivity TEXT] [--json]
Command AddLookupCommand(CLI::App& app);
// nearest DATAFILE (LAT LON | --points FILE) [-n N] [--within KM] [--json]
Command AddNearestCommand(CLI::App& app);
// export-pnt DATAFILE OUT [--bbox SOUTH,WEST,NORTH,EAST]
Command AddExportPointCommand(CLI::App& app);
// export-dat DATAFILE OUT
Command AddExportArchiveCommand(CLI::App& app);
// info DATAFILE [--json]
Command AddInfoCommand(CLI::App& app);
