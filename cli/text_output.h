#pragma once

#include <ostream>
#include <string_view>
#include <vector>

#include "cli/data_file.h"
#include "minedata/mine.h"

// Plain-text forms of what the commands report, for a terminal: texts are
// converted from the data file's code page 1252 to UTF-8.

// The four pages of the "Mine Info" sheet for `mine`, each under its tab
// title, one "label value" line per value control in the order the page
// shows them. A line the page leaves unwritten shows its label alone.
void WriteMinePages(std::ostream& out, const CMine& mine);

// "Main Page" alone, as WriteMinePages shows it.
void WriteMainPage(std::ostream& out, const CMine& mine);

// Number of mines, format, recognised columns (and those read under a second
// name) and load time.
void WriteInfo(std::ostream& out, const LoadedData& data, const ColumnsRead& columns);
