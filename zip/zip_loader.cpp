#include "zip/zip_loader.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <utility>

#include "csv/comma_separated_reader.h"
#include "fileio/file_ptr.h"
#include "fileio/line_reader.h"
#include "zip/zip_format.h"
#include "zip/zip_member_source.h"

bool StartsWithZipSignature(std::FILE* file) {
    char start[4] = {};
    const std::size_t got = std::fread(start, 1, sizeof start, file);
    std::rewind(file);
    return std::string_view(start, got) == zipformat::kLocalHeaderSignature;
}

LoadResult LoadZippedCommaSeparatedFile(const std::string& fileName, FilePtr file,
                                        CMineArray& mines) {
    const auto failed = [&](const std::string& reason) {
        return LoadResult{LoadKind::Failed,
                          DataFormat::ZippedCommaSeparated,
                          "Error loading Mine data from '" + fileName + "': " + reason,
                          0,
                          {}};
    };
    CZipMemberSource member;
    switch (member.Open(std::move(file))) {
        case CZipMemberSource::OpenResult::FileNotOpened:
            return {LoadKind::NotOpened,
                    DataFormat::ZippedCommaSeparated,
                    "Error opening file: '" + fileName + "'",
                    0,
                    {}};
        case CZipMemberSource::OpenResult::Unreadable:
            return failed(member.FailureReason());
        case CZipMemberSource::OpenResult::Opened:
            break;
    }
    // A small member is read in a block of its own size, as a small file is.
    const std::uint64_t size = member.Member().size;
    const std::size_t blockSize =
        static_cast<std::size_t>(std::min<std::uint64_t>(CLineReader::kDefaultBlockSize, size + 1));
    CLineReader reader(member, blockSize);
    ColumnsRead columns;
    if (ReadCommaSeparatedLines(reader, size, mines, columns) == CLineReader::Result::Error) {
        return failed(member.FailureReason());
    }
    return {LoadKind::Loaded,
            DataFormat::ZippedCommaSeparated,
            {},
            mines.IsEmpty() ? 0 : mines.GetSize() - 1,
            member.Member().name,
            std::move(columns)};
}
