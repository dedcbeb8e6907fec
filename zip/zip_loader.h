#pragma once

#include <cstdio>
#include <string>

#include "fileio/file_ptr.h"
#include "minedata/load_result.h"
#include "minedata/mine_array.h"

// True when the first bytes of `file`, open for reading at its start, are a
// zip's local header signature ("PK\3\4"), whatever its name. Leaves the
// file at its start again, with no error set, for the reader that follows.
bool StartsWithZipSignature(std::FILE* file);

// Loads the first member of the zip `file`, opened from `fileName` (null when
// it did not open, errno telling why), whose name holds ".csv" (any
// letter case) exactly as LoadCommaSeparatedFile loads such a file, and says
// what happened (format ZippedCommaSeparated): Loaded with `mines` replaced
// and the member named, NotOpened when the file does not open, or Failed with
// "Error loading Mine data from 'FILE': REASON" when the zip cannot be read;
// `mines` is left as it was unless Loaded.
LoadResult LoadZippedCommaSeparatedFile(const std::string& fileName, FilePtr file,
                                        CMineArray& mines);
