#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "minedata/message_sink.h"

// How the load of a data file ended.
enum class LoadKind {
    Loaded,     // the whole file was read
    Damaged,    // an archive cut short or damaged: the complete records read were kept
    NotOpened,  // the file could not be opened: nothing was read
    Failed,     // reading failed part way: nothing was kept
};

// The formats of a data file: a zip by its first bytes, else its name decides
// (IsCommaSeparatedName).
enum class DataFormat {
    CommaSeparated,
    Archive,
    ZippedCommaSeparated,  // the comma-separated member of a zip
};

// The columns a comma-separated file's records are read from, as its header
// line mapped them. The texts are the column map's own names, which live as
// long as the program.
struct ColumnsRead {
    // The known column names whose slots are read, in slot order.
    std::vector<std::string_view> names;
    // The slots read from a column under its second name: pairs of the
    // known name and the second name, in slot order.
    std::vector<std::pair<std::string_view, std::string_view>> secondNames;
};

// What a load did: the one value a loader returns. The program and vemra-cli
// decide from it alone what to show and how to go on.
struct LoadResult {
    LoadKind kind = LoadKind::Loaded;
    DataFormat format = DataFormat::CommaSeparated;
    // What the user is told, whole: empty for Loaded.
    std::string text;
    // The mines read, element 0 not counted: all of the file's (Loaded), the
    // complete records kept (Damaged); 0 otherwise.
    std::size_t minesRead = 0;
    // The zip member read, for ZippedCommaSeparated.
    std::string zipMember;
    // The columns mapped, for a comma-separated file or zip member loaded.
    ColumnsRead columns{};

    // True when the caller's mines were replaced by those read.
    bool MinesReplaced() const { return kind == LoadKind::Loaded || kind == LoadKind::Damaged; }
};

// Results of the dialog's LoadMineData, mapped from a LoadResult by LoadResultCode.
inline constexpr int kLoadDone = 1;            // read, also when damaged
inline constexpr int kLoadCsvNotOpened = 0;    // already reported; caller adds nothing
inline constexpr int kLoadArchiveFailed = -1;  // see ReportLoadResult

// The dialog's result for `result`: kLoadDone when the mines were replaced,
// kLoadArchiveFailed for an archive not opened, kLoadCsvNotOpened for a
// comma-separated file or zip not opened, or any file failing part way (said
// already by ReportLoaderMessages).
int LoadResultCode(const LoadResult& result);

// Reports what the loader itself says about `result`, as the program shows
// it: a comma-separated file or zip not opened (DataFileNotOpened), an
// archive not opened (FileError), an archive damaged (ArchiveDamaged), reading
// failed part way or a zip that cannot be read (ReadFailed). Nothing for
// Loaded.
void ReportLoaderMessages(const LoadResult& result, IMessageSink& sink);

// What the program adds after a load whose code is `code`: "Error loading
// Mine data" (LoadFailed) when it is negative, nothing otherwise.
void ReportLoadResult(int code, IMessageSink& sink);
