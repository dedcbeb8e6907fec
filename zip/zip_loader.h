#pragma once

#include <string>

#include "minedata/load_result.h"
#include "minedata/mine_array.h"

// True when the file `fileName` opens and its first bytes are a zip's local
// header signature ("PK\3\4"), whatever its name.
bool StartsWithZipSignature(const std::string& fileName);

// Loads the first member of the zip `fileName` whose name holds ".csv" (any
// letter case) exactly as LoadCommaSeparatedFile loads such a file, and says
// what happened (format ZippedCommaSeparated): Loaded with `mines` replaced
// and the member named, NotOpened when the file does not open, or Failed with
// "Error loading Mine data from 'FILE': REASON" when the zip cannot be read;
// `mines` is left as it was unless Loaded.
LoadResult LoadZippedCommaSeparatedFile(const std::string& fileName, CMineArray& mines);
