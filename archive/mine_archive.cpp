#include "archive/mine_archive.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "archive/archive.h"
#include "archive/archive_blocks.h"
#include "archive/archive_record.h"
#include "fileio/safe_file_writer.h"

static_assert(kArchiveMaxElements == kArchiveMaxCount);

namespace {

// File error texts are shown from a 511-character buffer, terminator included.
constexpr std::size_t kFileErrorTextLimit = 510;

std::string FitFileErrorText(std::string text) {
    if (text.size() > kFileErrorTextLimit) {
        text.resize(kFileErrorTextLimit);
    }
    return text;
}

std::string MinesWereRead(std::size_t count) {
    return count == 1 ? "1 mine was read" : std::to_string(count) + " mines were read";
}

// Writing hands the file pieces of this size.
constexpr std::size_t kWriteChunkSize = std::size_t{1} << 20;

bool IsWhollyEmpty(const CMine& mine) {
    if (mine.m_nDepId != 0 || mine.m_fLatitude != 0.0f || mine.m_fLongitude != 0.0f) {
        return false;
    }
    const CMine::Texts texts = mine.GetTexts();
    return std::all_of(texts.begin(), texts.end(),
                       [](std::string_view text) { return text.empty(); });
}

}  // namespace

LoadResult ReadMineArchive(const std::string& fileName, FilePtr opened, CMineArray& mines) {
    // Made in place, with no allocation before it reads errno.
    std::optional<CDiskFile> file;
    try {
        file.emplace(std::move(opened), fileName);
    } catch (const CFileException& e) {
        return {LoadKind::NotOpened, DataFormat::Archive, FitFileErrorText(e.what()), 0, {}};
    }

    // Filled apart from `mines` so that a failure leaves the caller's
    // collection alone, and grown record by record: the count may claim more
    // records than the file holds.
    CMineArray loaded;
    std::string damage;
    try {
        CArchiveBlocks blocks(*file);
        if (!blocks.Want(2)) {
            throw CArchiveException(CArchiveException::Cause::EndOfFile);
        }
        const std::uint16_t count =
            static_cast<std::uint16_t>(blocks.Begin()[0] | (blocks.Begin()[1] << 8));
        blocks.Take(2);
        if (count >= 1) {
            loaded.Add(CMine());
        }
        for (std::uint32_t i = 1; i < count;) {
            CMine mine;
            const ArchiveRecordResult record =
                ParseArchiveRecord(blocks.Block(), blocks.Begin(), blocks.End(), mine);
            if (record.status == ArchiveRecordParse::WideString) {
                throw CArchiveException(CArchiveException::Cause::WideString);
            }
            if (record.status == ArchiveRecordParse::NeedMore) {
                if (!blocks.Want(record.size)) {
                    throw CArchiveException(CArchiveException::Cause::EndOfFile);
                }
                continue;
            }
            blocks.Take(static_cast<std::size_t>(record.size));
            if (!IsWhollyEmpty(mine)) {
                loaded.Add(std::move(mine));
            }
            ++i;
        }
    } catch (const CArchiveException&) {
        damage = "The mine archive '" + fileName + "' is damaged: ";
    } catch (const CFileException& e) {
        damage = std::string(e.what()) + " ";
    }
    LoadResult result{
        LoadKind::Loaded, DataFormat::Archive, {}, loaded.IsEmpty() ? 0 : loaded.GetSize() - 1, {}};
    if (!damage.empty()) {
        result.kind = LoadKind::Damaged;
        result.text = damage + MinesWereRead(result.minesRead) + ", the rest is lost.";
    }
    mines.Swap(loaded);
    return result;
}

ExportResult WriteMineArchive(const std::string& fileName, const CMineArray& mines) {
    const std::size_t size = mines.GetSize();
    if (size > kArchiveMaxElements) {
        return ExportResult::Failed(MessageKind::FileError,
                                    "There are " + std::to_string(size - 1) +
                                        " mines, more than a mine archive can hold (65534 "
                                        "mines). '" +
                                        fileName + "' was not written.");
    }

    const SafeWriteResult result = WriteFileSafely(fileName, [&](CFile& file) {
        std::string bytes;
        bytes.reserve(kWriteChunkSize + kWriteChunkSize / 4);
        bytes += static_cast<char>(size & 0xFF);
        bytes += static_cast<char>(size >> 8);
        for (std::size_t i = 1; i < size; ++i) {
            AppendArchiveRecord(bytes, mines[i]);
            if (bytes.size() >= kWriteChunkSize) {
                file.Write(bytes.data(), bytes.size());
                bytes.clear();
            }
        }
        file.Write(bytes.data(), bytes.size());
    });
    if (!result.Ok()) {
        return ExportResult::Failed(MessageKind::FileError, FitFileErrorText(result.message));
    }
    return ExportResult::Written();
}
