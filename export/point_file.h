#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "minedata/message_sink.h"
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
// replaces the target only when everything was written. Reports a failure to
// `sink` ("Error opening:\n<path>" when the file cannot be created, a write
// error otherwise) and leaves any earlier file at `path` untouched.
// Returns true when the file was written.
bool ExportPointFile(const std::string& path, const CMineArray& mines, const PositionFilter& filter,
                     IMessageSink& sink);
