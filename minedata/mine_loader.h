#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "minedata/line_reader.h"
#include "minedata/load_result.h"
#include "minedata/mine_array.h"

// True when the name holds ".csv" anywhere, in any letter case: such a file is
// read as comma-separated, any other as a mine archive.
bool IsCommaSeparatedName(std::string_view fileName);

// Loads the named data file and says what happened: a zip's comma-separated
// member when the file starts with the zip signature, else comma-separated or
// archive as its name says. `mines` holds what was read when the result's
// MinesReplaced(), and is left as it was otherwise. The loader shows nothing:
// the caller tells the user from the result (ReportLoaderMessages).
//
// A comma-separated load gives element 0 from the header row and one element
// per following line up to the first empty line; an empty file gives an
// empty collection. A read error part way gives Failed, with a text naming
// the file and the system's reason.
LoadResult LoadMineData(const std::string& fileName, CMineArray& mines);

// The comma-separated branch alone, on a file already chosen.
LoadResult LoadCommaSeparatedFile(const std::string& fileName, CMineArray& mines);

// The lines that `reader` gives, read as LoadCommaSeparatedFile reads a
// file's; `totalBytes`, when known, is how many it gives in all. Returns End
// with `mines` replaced by what was read, or Error (the reader failed) with
// `mines` left as it was.
CLineReader::Result ReadCommaSeparatedLines(CLineReader& reader,
                                            std::optional<std::uint64_t> totalBytes,
                                            CMineArray& mines);
