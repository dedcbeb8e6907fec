#pragma once

#include <cstddef>
#include <ostream>
#include <span>
#include <string>

#include "fileio/safe_file_writer.h"
#include "minedata/export_result.h"
#include "minedata/mine_array.h"

// GPX 1.1 waypoint files, for GPS units and GIS programs. Texts are written
// in UTF-8 as AppendXmlText writes them.

// Appends the <wpt> element of one mine, ending in a newline: lat and lon
// with six decimals (longitude 180 as -180, the same meridian); name (the site name); desc
// (AppendWaypointDescription) when it has one; link to the mine's MRDS record page when its DEP_ID
// is not 0; sym "Mine"; type (the development status) when it has one. Elements in the schema's
// order.
void AppendGpxWaypoint(std::string& out, const CMine& mine);

// Writes the whole GPX document: one waypoint for each of mines[indices[i]]
// in the order given, leaving out the mines without a map position
// (HasMapPosition). Precondition: every index < mines.GetSize().
void WriteGpxFile(std::ostream& out, const CMineArray& mines, std::span<const std::size_t> indices);

// Writes the GPX document to `path` through WriteStreamSafely: on failure,
// nothing is left behind and an earlier file at `path` is unchanged.
ExportResult ExportGpxFile(const std::string& path, const CMineArray& mines,
                           std::span<const std::size_t> indices);
