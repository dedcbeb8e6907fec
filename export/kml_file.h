#pragma once

#include <cstddef>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "fileio/safe_file_writer.h"
#include "minedata/export_result.h"
#include "minedata/mine_array.h"

// KML 2.2 placemark files, for Google Earth and GIS programs. Texts are
// written in UTF-8 as AppendXmlText writes them.

// The id of the placemark style for a development status (letter case and
// surrounding blanks ignored): "producer", "past-producer", "prospect",
// "occurrence", "other-status" for any other text, "no-status" for none.
std::string_view KmlStyleId(std::string_view developmentStatus);

// Appends the <Placemark> element of one mine, ending in a newline: its name
// (the site name), the styleUrl of its style, its fields as ExtendedData
// (<Data name="COLUMN"><value>, the MRDS column names in column order, the
// empty ones left out, DEP_ID when not 0, LATITUDE and LONGITUDE with six
// decimals), and the point at longitude, latitude with six decimals.
//
// Its style, "STATUS-TPL", is that of its development status (KmlStyleId),
// with the balloon of the "Main Page" texts for its form: T the commodity
// type code the page knows (m, n, b; x for none), P which production years
// are known (0 none, 1 both, 2 first only, 3 last only), L which of country
// (1), state (2) and county (4) the location joins. The balloon template of
// that form shows exactly the lines the page shows, from the data's
// entities ($[SITE_NAME]...).
void AppendKmlPlacemark(std::string& out, const CMine& mine);

// Appends the <Style> element that the placemark of `mine` names, ending in
// a newline: its icon and its balloon template.
void AppendKmlStyle(std::string& out, const CMine& mine);

// Writes the whole KML document: the styles its placemarks use, each defined
// once, then one placemark for each of mines[indices[i]] in the order given,
// leaving out the mines without a map position (HasMapPosition).
// Precondition: every index < mines.GetSize().
void WriteKmlFile(std::ostream& out, const CMineArray& mines, std::span<const std::size_t> indices);

// Writes the KML document to `path` through WriteStreamSafely: on failure,
// nothing is left behind and an earlier file at `path` is unchanged.
ExportResult ExportKmlFile(const std::string& path, const CMineArray& mines,
                           std::span<const std::size_t> indices);
