#pragma once

#include <string>

#include "minedata/message_sink.h"
#include "minedata/mine_array.h"

// An archive's count is a 16-bit word: at most this many elements, so one
// fewer mines (element 0, the placeholder, is counted but not written).
inline constexpr std::size_t kArchiveMaxElements = 65535;

// Reads the mine archive `fileName`. Returns 1 when read (also when the file
// is damaged: the complete records are kept and the damage is reported to
// `sink`), -1 when it cannot be opened (reported to `sink`). On 1 `mines` is
// replaced: element 0 an empty record, then the records read, without wholly
// empty records; on -1 it is left as it was.
int ReadMineArchive(const std::string& fileName, CMineArray& mines, IMessageSink& sink);

// Writes elements 1 to size - 1 of `mines` as a mine archive at `fileName`,
// through a temporary file that replaces the target only when everything was
// written. Refuses a collection the count cannot express. Failures are
// reported to `sink`, and an earlier file at `fileName` is then untouched.
// Returns true when the file was written.
bool WriteMineArchive(const std::string& fileName, const CMineArray& mines, IMessageSink& sink);
