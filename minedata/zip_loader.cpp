#include "minedata/zip_loader.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string_view>

#include "minedata/line_reader.h"
#include "minedata/mine_loader.h"
#include "minedata/zip_format.h"
#include "minedata/zip_member_source.h"

bool StartsWithZipSignature(const std::string& fileName) {
    std::FILE* const file = std::fopen(fileName.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    char start[4] = {};
    const std::size_t got = std::fread(start, 1, sizeof start, file);
    std::fclose(file);
    return std::string_view(start, got) == zipformat::kLocalHeaderSignature;
}

int LoadZippedCommaSeparatedFile(const std::string& fileName, CMineArray& mines,
                                 IMessageSink& sink) {
    const auto reportFailure = [&](const std::string& reason) {
        sink.Report(MessageKind::LoadFailed,
                    "Error loading Mine data from '" + fileName + "': " + reason);
        return kLoadCsvNotOpened;
    };
    CZipMemberSource member;
    switch (member.Open(fileName)) {
        case CZipMemberSource::OpenResult::FileNotOpened:
            sink.Report(MessageKind::DataFileNotOpened, "Error opening file: '" + fileName + "'");
            return kLoadCsvNotOpened;
        case CZipMemberSource::OpenResult::Unreadable:
            return reportFailure(member.FailureReason());
        case CZipMemberSource::OpenResult::Opened:
            break;
    }
    // A small member is read in a block of its own size, as a small file is.
    const std::uint64_t size = member.Member().size;
    const std::size_t blockSize =
        static_cast<std::size_t>(std::min<std::uint64_t>(CLineReader::kDefaultBlockSize, size + 1));
    CLineReader reader(member, blockSize);
    if (ReadCommaSeparatedLines(reader, size, mines) == CLineReader::Result::Error) {
        return reportFailure(member.FailureReason());
    }
    return kLoadDone;
}
