#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "fileio/safe_file_writer.h"
#include "minedata/export_result.h"
#include "minedata/message_sink.h"

// Writes the file `path` as WriteFileSafely does (a temporary file beside it
// that replaces the target only once complete), with `write` filling it
// through a stream. A write error of the file ends `write` with the file's
// exception, so the result names the target and the system's reason.
SafeWriteResult WriteStreamSafely(const std::string& path,
                                  const std::function<void(std::ostream&)>& write);

// What an export to `path` written by WriteStreamSafely came to, worded as
// the program words it: ExportFailed with "Error opening:" and the path on
// the next line when the file could not be made, else with the safe writer's
// text (the path and the system's reason).
ExportResult ExportResultOf(const SafeWriteResult& result, const std::string& path);

// Writes `path` with WriteStreamSafely and returns ExportResultOf its result.
ExportResult ExportStream(const std::string& path, const std::function<void(std::ostream&)>& write);

// Writes `pending` to `out` and empties it once it holds a batch's worth, so
// that a file of many small records is written in few large pieces with
// bounded memory.
void WriteWhenFull(std::ostream& out, std::string& pending);
// Writes whatever `pending` holds to `out` and empties it.
void WritePending(std::ostream& out, std::string& pending);
