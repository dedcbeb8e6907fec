#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "export/point_file.h"
#include "minedata/message_sink.h"
#include "minedata/mine_array.h"

// The waypoint files the program's File menu writes, each by the same writer
// as vemra-cli's export command of that format.
enum class WaypointFormat {
    Gpx,           // ExportGpxFile
    Kml,           // ExportKmlFile
    OziWaypoints,  // ExportOziWaypointFile
};

// The indices of elements 1 on of `mines`, in index order: every one, or
// with `onMap` those it accepts. `onMap` is asked once for each of them, in
// index order, with the coordinates widened to double, as the point file
// asks it.
std::vector<std::size_t> MinesOnMap(const CMineArray& mines, const PositionFilter& onMap);

// Writes the mines MinesOnMap chooses to `path` in `format` through a
// temporary file that replaces it only when complete; no mine chosen gives a
// file without waypoints. A failure goes to `sink` as ExportFailed, worded
// as the point file's ("Error opening:\n<path>" when the file cannot be
// made, else the path and the system's reason), and leaves an earlier file
// at `path` as it was. Returns true when the file was written.
bool ExportWaypointFile(WaypointFormat format, const std::string& path, const CMineArray& mines,
                        const PositionFilter& onMap, IMessageSink& sink);
