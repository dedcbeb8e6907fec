#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "export/export_kind.h"
#include "export/point_file.h"
#include "minedata/export_result.h"
#include "minedata/mine_array.h"

// The indices of elements 1 on of `mines`, in index order: every one, or
// with `onMap` those it accepts. `onMap` is asked once for each of them, in
// index order, with the coordinates widened to double, as the point file
// asks it.
std::vector<std::size_t> MinesOnMap(const CMineArray& mines, const PositionFilter& onMap);

// Writes the mines MinesOnMap chooses to `path` with the writer of `kind`
// (GPX, KML or OziExplorer waypoints, as vemra-cli's export of that kind);
// no mine chosen gives a file without waypoints. A failure is ExportFailed,
// worded as the point file's ("Error opening:\n<path>" when the file cannot
// be made, else the path and the system's reason), and leaves an earlier
// file at `path` as it was.
ExportResult ExportWaypointFile(ExportKind kind, const std::string& path, const CMineArray& mines,
                                const PositionFilter& onMap);
