#include "cli/data_file.h"

#include <chrono>

#include "cli/commands.h"
#include "load/mine_loader.h"

int LoadedData::ExitStatus(int status) const {
    return archiveDamaged && (status == kExitOk || status == kExitNoMatch) ? kExitDamagedArchive
                                                                           : status;
}

LoadedData LoadDataFile(const std::string& path, IMessageSink& sink) {
    LoadedData data;
    const auto start = std::chrono::steady_clock::now();
    const LoadResult result = LoadMineData(path, data.mines);
    data.loadSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // A read error part way is vemra-cli's own error, as other failures of
    // a command are; the rest is said as the program says it.
    if (result.kind == LoadKind::Failed) {
        throw CommandError(kExitFailed, result.text);
    }
    ReportLoaderMessages(result, sink);
    ReportLoadResult(LoadResultCode(result), sink);
    if (!result.MinesReplaced()) {
        throw CommandError(kExitFailed, "");
    }
    data.commaSeparated = result.format != DataFormat::Archive;
    data.archiveDamaged = result.kind == LoadKind::Damaged;
    data.zipMember = result.zipMember;
    data.columns = result.columns;
    return data;
}
