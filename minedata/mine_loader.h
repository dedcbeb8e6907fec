#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "minedata/line_reader.h"
#include "minedata/message_sink.h"
#include "minedata/mine_array.h"

// Results of LoadMineData.
inline constexpr int kLoadDone = 1;            // loaded, whichever the format
inline constexpr int kLoadCsvNotOpened = 0;    // already reported; caller adds nothing
inline constexpr int kLoadArchiveFailed = -1;  // see ReportLoadResult

// True when the name holds ".csv" anywhere, in any letter case: such a file is
// read as comma-separated, any other as a mine archive.
bool IsCommaSeparatedName(std::string_view fileName);

// Loads the named data file: a zip's comma-separated member when the file
// starts with the zip signature, else comma-separated or archive as its name
// says.
// On kLoadDone `mines` holds what was read; on any other result, and when a
// CFileError escapes (a read error inside a comma-separated file), `mines` is
// left as it was. Messages go to `sink`.
//
// A comma-separated load gives element 0 from the header row and one element
// per following line up to the first empty line; an empty file gives an
// empty collection.
int LoadMineData(const std::string& fileName, CMineArray& mines, IMessageSink& sink);

// What the program says after a load that gave `result`: "Error loading Mine
// data" (LoadFailed) when it is negative, nothing otherwise.
void ReportLoadResult(int result, IMessageSink& sink);

// The comma-separated branch alone, on a file already chosen.
int LoadCommaSeparatedFile(const std::string& fileName, CMineArray& mines, IMessageSink& sink);

// The lines that `reader` gives, read as LoadCommaSeparatedFile reads a
// file's; `totalBytes`, when known, is how many it gives in all. Returns End
// with `mines` replaced by what was read, or Error (the reader failed) with
// `mines` left as it was.
CLineReader::Result ReadCommaSeparatedLines(CLineReader& reader,
                                            std::optional<std::uint64_t> totalBytes,
                                            CMineArray& mines);
