#include "cli/data_file.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>

#include "cli/commands.h"
#include "minedata/column_map.h"
#include "minedata/file_error.h"
#include "minedata/line_reader.h"
#include "minedata/mine_loader.h"
#include "minedata/zip_loader.h"
#include "minedata/zip_member_source.h"

LoadedData LoadDataFile(const std::string& path, IMessageSink& sink) {
    LoadedData data;
    const bool zipped = StartsWithZipSignature(path);
    data.commaSeparated = zipped || IsCommaSeparatedName(path);
    int result = 0;
    const auto start = std::chrono::steady_clock::now();
    try {
        result = LoadMineData(path, data.mines, sink);
    } catch (const CFileError& error) {
        throw CommandError(kExitFailed, error.what());
    }
    data.loadSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ReportLoadResult(result, sink);
    if (result != kLoadDone) {
        throw CommandError(kExitFailed, "");
    }
    if (CZipMemberSource member;
        zipped && member.Open(path) == CZipMemberSource::OpenResult::Opened) {
        data.zipMember = member.Member().name;
    }
    return data;
}

ColumnsRead RecognisedColumns(const std::string& path) {
    ColumnsRead columns;
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, FileCloser> file;
    std::optional<CFileByteSource> fileBytes;
    CZipMemberSource member;
    IByteSource* source = &member;
    if (StartsWithZipSignature(path)) {
        if (member.Open(path) != CZipMemberSource::OpenResult::Opened) {
            return columns;
        }
    } else {
        file.reset(std::fopen(path.c_str(), "rb"));
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
