#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "minedata/message_sink.h"
#include "minedata/mine_array.h"

// A data file read as the program reads it.
struct LoadedData {
    CMineArray mines;
    bool commaSeparated = false;
    // The member read, when the file is a zip; its records are comma-separated.
    std::string zipMember;
    double loadSeconds = 0.0;

    // Elements from 1 on; element 0 is the placeholder.
    std::size_t MineCount() const { return mines.IsEmpty() ? 0 : mines.GetSize() - 1; }
};

// Loads `path` with the program's loader, timing the load. Messages go to
// `sink`, and so does the message the program adds when an archive cannot be
// loaded. Throws CommandError(kExitFailed) when the file cannot be loaded,
// including a read error inside a comma-separated file.
LoadedData LoadDataFile(const std::string& path, IMessageSink& sink);

// The columns a data file's records are read from.
struct ColumnsRead {
    // The known column names whose slots are read, in slot order.
    std::vector<std::string_view> names;
    // The slots read from a column under its second name: pairs of the
    // known name and the second name, in slot order.
    std::vector<std::pair<std::string_view, std::string_view>> secondNames;
};

// The columns that the first line of the comma-separated file `path`, or of
// the zip's member read, names; none when it holds no line.
ColumnsRead RecognisedColumns(const std::string& path);
