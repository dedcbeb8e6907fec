#include "csv/comma_separated_reader.h"

#include <cerrno>
#include <cstdio>
#include <optional>

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

}  // namespace

bool IsCommaSeparatedName(std::string_view fileName) {
    return ContainsIgnoringAsciiCase(fileName, ".csv");
}

LoadResult LoadCommaSeparatedFile(const std::string& fileName, CMineArray& mines) {
    LoadResult notOpened{LoadKind::NotOpened,
                         DataFormat::CommaSeparated,
                         "Error opening file: '" + fileName + "'",
                         0,
                         {}};

    // Binary mode: line ends are handled by the reader the same way on
    // every system.
    const FilePtr file(OpenFileForReading(fileName));
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
    if (ReadCommaSeparatedLines(reader, fileBytes, mines) == CLineReader::Result::Error) {
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
            {}};
}

CLineReader::Result ReadCommaSeparatedLines(CLineReader& reader,
                                            std::optional<std::uint64_t> totalBytes,
                                            CMineArray& mines) {
    CMineArray loaded;
    std::string_view header;
    CLineReader::Result result = reader.ReadLine(header);
    if (result == CLineReader::Result::Line && !header.empty()) {
        ColumnMap columnMap;
        const ColumnPresence present = BuildColumnMap(header, columnMap);
        CRecordBuilder builder(columnMap, present);
        CMine element0;
        builder.Build(header, element0, nullptr);
        loaded.Add(std::move(element0));
        result = CRecordBatches(builder, loaded, totalBytes).LoadRest(reader);
    }
    if (result != CLineReader::Result::Error) {
        mines.Swap(loaded);
    }
    return result;
}
