#pragma once

#include <ostream>
#include <string_view>
#include <vector>

#include "cli/data_file.h"
#include "geo/mine_index.h"
#include "geo/route_search.h"
#include "minedata/mine.h"

// Plain-text forms of what the commands report, for a terminal, in UTF-8: a
// record's texts are decoded by DataTextToUtf8's rule. The labels are the
// CLI's own, each ending in a colon; the window's page templates keep theirs.

// The four pages of the "Mine Info" sheet for `mine`, each under its tab
// title, one "label value" line per value control in the order the page
// shows them. A line the page leaves unwritten shows its label alone.
void WriteMinePages(std::ostream& out, const CMine& mine);

// "Main Page" alone, as WriteMinePages shows it.
void WriteMainPage(std::ostream& out, const CMine& mine);

// Each answer of a nearest-mines query: "N. D km, bearing B, mine I" (the
// distance and bearing rounded as in json_output.h) over its "Main Page",
// a blank line between answers.
void WriteNearMines(std::ostream& out, const CMineArray& mines,
                    const std::vector<NearMine>& answers);

// Each answer of an along-a-route query: "N. D km SIDE, A km along, leg L,
// mine I" (distances rounded as in json_output.h) over its "Main Page", a
// blank line between answers.
void WriteAlongMines(std::ostream& out, const CMineArray& mines,
                     const std::vector<AlongMine>& answers);

// Number of mines, format, recognised columns (and those read under a second
// name) and load time.
void WriteInfo(std::ostream& out, const LoadedData& data, const ColumnsRead& columns);
