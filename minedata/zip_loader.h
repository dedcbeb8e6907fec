#pragma once

#include <string>

#include "minedata/message_sink.h"
#include "minedata/mine_array.h"

// True when the file `fileName` opens and its first bytes are a zip's local
// header signature ("PK\3\4"), whatever its name.
bool StartsWithZipSignature(const std::string& fileName);

// Loads the first member of the zip `fileName` whose name holds ".csv" (any
// letter case) exactly as LoadCommaSeparatedFile loads such a file. Returns
// kLoadDone with `mines` replaced, or kLoadCsvNotOpened with `mines` left as it
// was, after telling `sink` why: DataFileNotOpened when the file does not open,
// LoadFailed naming the file and the reason when the zip cannot be read.
int LoadZippedCommaSeparatedFile(const std::string& fileName, CMineArray& mines,
                                 IMessageSink& sink);
