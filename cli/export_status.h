#pragma once

#include "cli/data_file.h"
#include "minedata/export_result.h"

// Ends an export command as its result says: returns when the file was
// written; throws CommandError with exit status 1 (3 for a damaged archive's
// data, as data.ExitStatus says) when no mine was there to write, or 3 with
// the reason when the file could not be written.
void ThrowUnlessWritten(const ExportResult& result, const LoadedData& data);
