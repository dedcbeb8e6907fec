#include "archive/mine_archive.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "archive/archive.h"
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
        CArchive ar(*file, CArchive::Mode::Load);
        const std::uint16_t count = ar.ReadWord();
        if (count >= 1) {
            loaded.Add(CMine());
        }
        for (std::uint32_t i = 1; i < count; ++i) {
            CMine mine;
            mine.Serialize(ar);
            if (!IsWhollyEmpty(mine)) {
                loaded.Add(std::move(mine));
            }
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
        CArchive ar(file, CArchive::Mode::Store);
        ar.WriteWord(static_cast<std::uint16_t>(size));
        for (std::size_t i = 1; i < size; ++i) {
            mines[i].Serialize(ar);
        }
        ar.Close();
    });
    if (!result.Ok()) {
        return ExportResult::Failed(MessageKind::FileError, FitFileErrorText(result.message));
    }
    return ExportResult::Written();
}
