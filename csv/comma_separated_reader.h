#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fileio/file_ptr.h"
#include "fileio/line_reader.h"
#include "minedata/load_result.h"
#include "minedata/mine_array.h"

// Reading a comma-separated mine data file: the header line maps the
// columns and makes element 0, every following line up to the first empty
// one a mine.

// True when the name holds ".csv" anywhere, in any letter case: such a file is
// read as comma-separated, any other as a mine archive.
bool IsCommaSeparatedName(std::string_view fileName);

// The comma-separated branch alone, on the file `file` opened from
// `fileName` (null when it did not open), at its start.
LoadResult LoadCommaSeparatedFile(const std::string& fileName, FilePtr file, CMineArray& mines);

// The lines that `reader` gives, read as LoadCommaSeparatedFile reads a
// file's; `totalBytes`, when known, is how many it gives in all. Returns End
// with `mines` replaced by what was read and `columns` set to the columns
// the header mapped, or Error (the reader failed) with `mines` left as it was.
CLineReader::Result ReadCommaSeparatedLines(CLineReader& reader,
                                            std::optional<std::uint64_t> totalBytes,
                                            CMineArray& mines, ColumnsRead& columns);
