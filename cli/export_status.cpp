#include "cli/export_status.h"

#include "cli/commands.h"

void ThrowUnlessWritten(const ExportResult& result, const LoadedData& data) {
    switch (result.outcome) {
        case ExportOutcome::Written:
            return;
        case ExportOutcome::NothingToWrite:
            throw CommandError(data.ExitStatus(kExitNoMatch), "no mine matches the filters");
        case ExportOutcome::Failed:
            break;
    }
    throw CommandError(kExitNotWritten, result.text);
}
