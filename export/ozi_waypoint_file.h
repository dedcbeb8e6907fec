#pragma once

#include <cstddef>
#include <ostream>
#include <span>
#include <string>

#include "fileio/safe_file_writer.h"
#include "minedata/export_result.h"
#include "minedata/mine_array.h"

// OziExplorer waypoint files ("OziExplorer Waypoint File Version 1.1"), which
// OziExplorer and GPS transfer tools read: four header lines, then one line
// per waypoint, every line ending in CR LF, texts in code page 1252
// (DataTextToCp1252).

// The line of one waypoint without its CR LF: its number, the site name, lat
// and lon with six decimals, then the 20 further fields of the format with
// the description (AppendWaypointDescription) in the 11th and the altitude
// unknown (-777). The name and the description are OziExplorer fields
// (AppendOziField: code page 1252, each comma as the byte 0xD1, CR and LF as
// spaces), without the other control characters.
std::string OziWaypointLine(std::size_t number, const CMine& mine);

// Writes the whole file: a waypoint numbered from 1 for each of
// mines[indices[i]] in the order given, leaving out the mines without a map
// position (HasMapPosition). Precondition: every index < mines.GetSize().
void WriteOziWaypointFile(std::ostream& out, const CMineArray& mines,
                          std::span<const std::size_t> indices);

// Writes the file to `path` through WriteStreamSafely: on failure, nothing
// is left behind and an earlier file at `path` is unchanged.
ExportResult ExportOziWaypointFile(const std::string& path, const CMineArray& mines,
                                   std::span<const std::size_t> indices);
