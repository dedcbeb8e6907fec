#pragma once

#include <cstddef>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "minedata/export_result.h"
#include "minedata/mine_array.h"

// KML 2.2 placemark files, for Google Earth and GIS programs. Texts are
// written in UTF-8 as AppendXmlText writes them.

// The id of the placemark style for a development status (letter case and
// surrounding blanks ignored): "producer", "past-producer", "prospect",
// "occurrence", "other-status" for any other text, "no-status" for none.
std::string_view KmlStyleId(std::string_view developmentStatus);

// Appends the <Placemark> element of one mine, ending in a newline: its name
// (the site name), a description whose balloon is a table of the "Main Page"
// texts (MakeMainPageTexts: the lines that page leaves out are left out here
// too), the styleUrl of its development status (KmlStyleId), and the point at
// longitude, latitude with six decimals.
void AppendKmlPlacemark(std::string& out, const CMine& mine);

// Writes the whole KML document: each placemark style defined once (one
// coloured icon per KmlStyleId), then one placemark for each of mines[indices[i]]
// in the order given, leaving out the mines without a map position
// (HasMapPosition). Precondition: every index < mines.GetSize().
void WriteKmlFile(std::ostream& out, const CMineArray& mines, std::span<const std::size_t> indices);

// Writes the KML document to `path` through WriteStreamSafely: on failure,
// nothing is left behind and an earlier file at `path` is unchanged.
ExportResult ExportKmlFile(const std::string& path, const CMineArray& mines,
                           std::span<const std::size_t> indices);
