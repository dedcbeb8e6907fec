#pragma once

#include <string>

#include "minedata/load_result.h"
#include "minedata/message_sink.h"
#include "minedata/mine_array.h"

// A data file read as the program reads it.
struct LoadedData {
    CMineArray mines;
    bool commaSeparated = false;
    // An archive cut short or damaged: the mines are the complete records read.
    bool archiveDamaged = false;
    // The member read, when the file is a zip; its records are comma-separated.
    std::string zipMember;
    // The columns the header mapped, when comma-separated.
    ColumnsRead columns;
    double loadSeconds = 0.0;

    // Elements from 1 on; element 0 is the placeholder.
    std::size_t MineCount() const { return mines.IsEmpty() ? 0 : mines.GetSize() - 1; }

    // The exit status of a command that ran on these mines and would end with
    // `status`: kExitDamagedArchive in place of kExitOk and kExitNoMatch when
    // the archive was damaged.
    int ExitStatus(int status) const;
};

// Loads `path` with the program's loader, timing the load. What the program
// would show goes to `sink`: the loader's messages, and "Error loading Mine
// data" after an archive that cannot be opened. Throws
// CommandError(kExitFailed) when the file cannot be loaded; a read error
// inside a comma-separated file is its text.
LoadedData LoadDataFile(const std::string& path, IMessageSink& sink);
