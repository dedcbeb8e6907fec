#include "csv/comma_separated_reader.h"

#include <cerrno>
#include <cstdio>
#include <optional>
#include <utility>

#include "csv/column_map.h"
#include "csv/record_batches.h"
#include "csv/record_builder.h"
#include "fileio/file_ptr.h"
#include "fileio/line_reader.h"
#include "fileio/platform_file.h"
#include "text/ascii_text.h"
#include "text/system_error_text.h"

namespace {

std::string ReadErrorText(const std::string& fileName, int error) {
    std::string text = "Error reading file: '" + fileName + "'";
    if (error != 0) {
        text += " (" + ErrnoText(error) + ")";
    }
    return text;
}

ColumnsRead ColumnsOfSlots(const ColumnPresence& present, const ColumnPresence& bySecondName) {
    ColumnsRead columns;
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

}  // namespace

bool IsCommaSeparatedName(std::string_view fileName) {
    return ContainsIgnoringAsciiCase(fileName, ".csv");
}

LoadResult LoadCommaSeparatedFile(const std::string& fileName, FilePtr file, CMineArray& mines) {
    LoadResult notOpened{LoadKind::NotOpened,
                         DataFormat::CommaSeparated,
                         "Error opening file: '" + fileName + "'",
                         0,
                         {}};

    if (!file) {
        return notOpened;
    }

    // The header line makes the column map and element 0; the rest of the
    // file is read in batches.
    // A file smaller than the reader's block is read in a block of its own
    // size: loading a small file then costs no megabytes of room.
    std::optional<std::uint64_t> fileBytes;
    std::size_t blockSize = CLineReader::kDefaultBlockSize;
    if (std::uint64_t size = 0; GetOpenFileSize(file.get(), size) == 0) {
        fileBytes = size;
        if (size < blockSize) {
            blockSize = static_cast<std::size_t>(size) + 1;
        }
    }
    CLineReader reader(file.get(), blockSize);
    ColumnsRead columns;
    if (ReadCommaSeparatedLines(reader, fileBytes, mines, columns) == CLineReader::Result::Error) {
        // Some systems open a folder as a file and fail only on reading.
        if (reader.NothingRead() && reader.LastError() == EISDIR) {
            return notOpened;
        }
        return {LoadKind::Failed,
                DataFormat::CommaSeparated,
                ReadErrorText(fileName, reader.LastError()),
                0,
                {}};
    }
    return {LoadKind::Loaded,
            DataFormat::CommaSeparated,
            {},
            mines.IsEmpty() ? 0 : mines.GetSize() - 1,
            {},
            std::move(columns)};
}

CLineReader::Result ReadCommaSeparatedLines(CLineReader& reader,
                                            std::optional<std::uint64_t> totalBytes,
                                            CMineArray& mines, ColumnsRead& columns) {
    CMineArray loaded;
    ColumnsRead mapped;
    std::string_view header;
    CLineReader::Result result = reader.ReadLine(header);
    if (result == CLineReader::Result::Line && !header.empty()) {
        ColumnMap columnMap;
        ColumnPresence bySecondName;
        const ColumnPresence present = BuildColumnMap(header, columnMap, &bySecondName);
        mapped = ColumnsOfSlots(present, bySecondName);
        CRecordBuilder builder(columnMap, present);
        CMine element0;
        builder.Build(header, element0, nullptr);
        loaded.Add(std::move(element0));
        result = CRecordBatches(builder, loaded, totalBytes).LoadRest(reader);
    }
    if (result != CLineReader::Result::Error) {
        mines.Swap(loaded);
        columns = std::move(mapped);
    }
    return result;
}
