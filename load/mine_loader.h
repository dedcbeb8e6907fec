#pragma once

#include <string>

#include "minedata/load_result.h"
#include "minedata/mine_array.h"

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
