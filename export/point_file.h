#pragma once

#include <cstddef>
#include <functional>
#include <ostream>
#include <span>
#include <string>

#include "minedata/export_result.h"
#include "minedata/mine_array.h"

// Decides whether a mine's position (latitude, longitude in degrees) lies on
// the map that OziExplorer shows; called once per mine with finite
// coordinates, in index order.
using PositionFilter = std::function<bool(double latitude, double longitude)>;

// Whether both coordinates are finite numbers; a point file has no way to
// write any other, so it leaves such mines out.
bool HasFiniteCoordinates(const CMine& mine);

// The point-file line of one mine, without its CR LF:
// "%f,%f,0,%s,,,,-777.0" of latitude, longitude and site name, the name as an
// OziExplorer field (AppendOziField: code page 1252, each comma as the byte
// 0xD1, CR and LF as spaces, other control characters kept).
std::string PointFileLine(const CMine& mine);

// Writes the whole point file (header, style line, one line per mine from
// element 1 on, every line ending in CR LF) to `out`, leaving out the mines
// without finite coordinates. With a filter, only the mines it accepts are
// written; it is asked about the mines with finite coordinates alone.
void WritePointFile(std::ostream& out, const CMineArray& mines, const PositionFilter& filter);

// Writes the point file to `path` through a temporary file beside it, which
// replaces the target only when everything was written; an earlier file at
// `path` is untouched on failure. A failure is ExportFailed, worded as the
// program shows it: "Error opening:\n<path>" when the file cannot be
// created, the path and the system's reason otherwise (ExportResultOf).
ExportResult ExportPointFile(const std::string& path, const CMineArray& mines,
                             const PositionFilter& filter);

// The same file of mines[indices[i]] in that order, leaving out those without
// finite coordinates. Precondition: every index < mines.GetSize().
ExportResult ExportPointMines(const std::string& path, const CMineArray& mines,
                              std::span<const std::size_t> indices);
