#include "cli/data_file.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>

#include "cli/commands.h"
#include "csv/column_map.h"
#include "fileio/file_ptr.h"
#include "fileio/line_reader.h"
#include "fileio/platform_file.h"
#include "load/mine_loader.h"
#include "zip/zip_loader.h"
#include "zip/zip_member_source.h"

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
    return data;
}

ColumnsRead RecognisedColumns(const std::string& path) {
    ColumnsRead columns;
    FilePtr file;
    std::optional<CFileByteSource> fileBytes;
    CZipMemberSource member;
    IByteSource* source = &member;
    if (StartsWithZipSignature(path)) {
        if (member.Open(path) != CZipMemberSource::OpenResult::Opened) {
            return columns;
        }
    } else {
        file.reset(OpenFileForReading(path));
        if (!file) {
            return columns;
        }
        source = &fileBytes.emplace(file.get());
    }
    // The loader's own reader, so the header line ends exactly where it does.
    CLineReader reader(*source, std::size_t{1} << 16);
    std::string_view header;
    if (reader.ReadLine(header) != CLineReader::Result::Line) {
        return columns;
    }
    ColumnMap columnMap;
    ColumnPresence bySecondName;
    const ColumnPresence present = BuildColumnMap(header, columnMap, &bySecondName);
    for (int slot = 1; slot <= kKnownColumnCount; ++slot) {
        const std::string_view name = kKnownColumnNames[static_cast<std::size_t>(slot)];
        if (present.test(static_cast<std::size_t>(slot))) {
            columns.names.push_back(name);
        }
        if (bySecondName.test(static_cast<std::size_t>(slot))) {
            columns.secondNames.emplace_back(name, SecondNameOfSlot(slot));
        }
    }
    return columns;
}
