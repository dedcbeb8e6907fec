#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "minedata/export_result.h"
#include "minedata/mine_array.h"

// The kinds of file the mines are exported as, one row each: what the File
// menu's save dialogs, the "Find Mines" window's Export and vemra-cli's
// export commands all read.
enum class ExportKind { PointFile, Gpx, Kml, OziWaypoints, CommaSeparated };

// Writes mines[indices[i]] in that order to `path` through the safe writer
// (a temporary file that replaces `path` only when complete); an empty
// `indices` gives a file without mines. Precondition: every index <
// mines.GetSize().
using ExportWriter = ExportResult (*)(const std::string& path, const CMineArray& mines,
                                      std::span<const std::size_t> indices);

struct ExportKindRow {
    ExportKind kind;
    std::string_view name;         // "GPX file": what the kind is called
    std::string_view ending;       // ".gpx", lower case with its dot
    std::string_view filterName;   // "GPX files (*.gpx)": the save dialog's entry
    std::string_view filterText;   // the save dialog's whole filter, "|" between parts
    std::string_view defaultName;  // "mines.gpx": the name a save dialog starts with
    std::string_view dialogTitle;  // "GPX File Name"
    ExportWriter write;
};

// Every kind, in the order the "Find Mines" window's save dialog offers them.
std::span<const ExportKindRow> ExportKindRows();

// The row of `kind`.
const ExportKindRow& ExportKindRowOf(ExportKind kind);

// The kind a typed file name asks for by its ending (.gpx .kml .wpt .pnt .csv,
// any letter case), if any.
std::optional<ExportKind> ExportKindForPath(std::string_view path);

// Writes mines[indices[i]] in that order to `path` in `kind` through the safe
// writer. An empty `indices` is NothingToWrite and leaves `path` as it was.
// Precondition: every index < mines.GetSize().
ExportResult ExportMines(ExportKind kind, const std::string& path, const CMineArray& mines,
                         std::span<const std::size_t> indices);
