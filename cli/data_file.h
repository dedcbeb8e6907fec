#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "minedata/message_sink.h"
#include "minedata/mine_array.h"

// A data file read as the program reads it.
struct LoadedData {
    CMineArray mines;
    bool commaSeparated = false;
    double loadSeconds = 0.0;

    // Elements from 1 on; element 0 is the placeholder.
    std::size_t MineCount() const { return mines.IsEmpty() ? 0 : mines.GetSize() - 1; }
};

// Loads `path` with the program's loader, timing the load. Messages go to
// `sink`, and so does the message the program adds when an archive cannot be
// loaded. Throws CommandError(kExitFailed) when the file cannot be loaded,
// including a read error inside a comma-separated file.
LoadedData LoadDataFile(const std::string& path, IMessageSink& sink);

// The known column names that the first line of the comma-separated file
// `path` names, in slot order; none when the file holds no line.
std::vector<std::string_view> RecognisedColumns(const std::string& path);
