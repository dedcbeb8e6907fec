#pragma once

#include <string>
#include <utility>

#include "minedata/message_sink.h"

// What became of one export, as a load has its LoadResult: the program and
// vemra-cli each decide from it what to show and, for vemra-cli, the exit
// status.
enum class ExportOutcome {
    Written,         // the file is complete at its path
    NothingToWrite,  // no mine was chosen: no file was made, an earlier one is as it was
    Failed,          // not written: `text` says why; an earlier file is as it was
};

struct ExportResult {
    ExportOutcome outcome = ExportOutcome::Written;
    // How a failure is told: ExportFailed for the point and waypoint files,
    // FileError for the archive.
    MessageKind kind = MessageKind::ExportFailed;
    // On failure, the text to tell, ready to show (it names the file).
    std::string text;

    static ExportResult Written() { return {}; }
    static ExportResult NothingToWrite() { return {ExportOutcome::NothingToWrite, {}, {}}; }
    static ExportResult Failed(MessageKind kind, std::string text) {
        return {ExportOutcome::Failed, kind, std::move(text)};
    }

    bool IsWritten() const { return outcome == ExportOutcome::Written; }
};
