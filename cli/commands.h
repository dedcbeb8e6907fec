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
inline constexpr int kExitNoMatch =
    1;  // nothing found: no mine at the point, or none the filters take
// Bad arguments or points, or a data file that cannot be loaded.
inline constexpr int kExitFailed = 2;
inline constexpr int kExitNotWritten = 3;  // the output file could not be written
// The archive was damaged: the command ran on the complete records read.
// Takes the place of kExitOk and kExitNoMatch.
inline constexpr int kExitDamagedArchive = 4;

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

class IMessageSink;

// A subcommand and what runs it once its arguments are parsed. `run` reports
// what the program would show in a message box to the sink it is given, and
// returns the exit status or throws CommandError.
struct Command {
    CLI::App* app;
    std::function<int(IMessageSink&)> run;
};

// lookup DATAFILE (LAT LON | --points FILE) [--sensitivity TEXT] [--json]
Command AddLookupCommand(CLI::App& app);
// nearest DATAFILE (LAT LON | --points FILE) [-n N] [--within KM] [filters] [--json]
Command AddNearestCommand(CLI::App& app);
// along DATAFILE ROUTE --within KM [filters] [--json] [--export OUT]
Command AddAlongCommand(CLI::App& app);
// export-pnt DATAFILE OUT [filters]
Command AddExportPointCommand(CLI::App& app);
// export-dat DATAFILE OUT [filters]
Command AddExportArchiveCommand(CLI::App& app);
// export-gpx DATAFILE OUT [filters]
Command AddExportGpxCommand(CLI::App& app);
// export-kml DATAFILE OUT [filters]
Command AddExportKmlCommand(CLI::App& app);
// export-wpt DATAFILE OUT [filters]
Command AddExportWaypointCommand(CLI::App& app);
// export-csv DATAFILE OUT [filters]
Command AddExportCsvCommand(CLI::App& app);
// info DATAFILE [--json]
Command AddInfoCommand(CLI::App& app);
