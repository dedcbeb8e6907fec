#pragma once

#include <string>

#include "fileio/file_ptr.h"
#include "minedata/export_result.h"
#include "minedata/load_result.h"
#include "minedata/mine_array.h"

// An archive's count is a 16-bit word: at most this many elements, so one
// fewer mines (element 0, the placeholder, is counted but not written).
inline constexpr std::size_t kArchiveMaxElements = 65535;

// Reads the mine archive `file`, opened from `fileName` (null when it did not
// open, errno telling why): Loaded; Damaged when it is cut short or
// damaged (the complete records are kept, the text says how many); NotOpened,
// with the file error text, when it cannot be opened. When read, damaged or
// not, `mines` is replaced: element 0 an empty record, then the records read,
// without wholly empty records; otherwise it is left as it was.
LoadResult ReadMineArchive(const std::string& fileName, FilePtr file, CMineArray& mines);

// Writes elements 1 to size - 1 of `mines` as a mine archive at `fileName`,
// through a temporary file that replaces the target only when everything was
// written. Refuses a collection the count cannot express. A failure is
// FileError with the file error text cut to 511 characters, or the count's
// refusal; an earlier file at `fileName` is then untouched.
ExportResult WriteMineArchive(const std::string& fileName, const CMineArray& mines);
