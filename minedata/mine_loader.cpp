#include "minedata/mine_loader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "minedata/column_map.h"
#include "minedata/csv_line.h"
#include "minedata/file_error.h"
#include "minedata/line_reader.h"
#include "minedata/mine_archive.h"
#include "minedata/number_text.h"

namespace {

constexpr char kSeparator = ',';
constexpr char kQuote = '"';

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Turns rows into records. One builder serves a whole file; its scratch
// buffer holds the quote-free texts of the current row.
class CRecordBuilder {
public:
    CRecordBuilder() {
        for (int slot = 1; slot <= kKnownColumnCount; ++slot) {
            m_textIndex[static_cast<std::size_t>(slot)] = kNotText;
            const CMine::TextField field = TextFieldOfSlot(slot);
            for (std::size_t i = 0; i < kMineTextFields.size(); ++i) {
                if (kMineTextFields[i] == field) {
                    m_textIndex[static_cast<std::size_t>(slot)] = i;
                }
            }
        }
    }

    CMine Build(const CCsvLine& row, const ColumnMap& columnMap) {
        // Size the scratch buffer first: the views below point into it, so
        // it must not grow while they are made.
        std::size_t needed = 0;
        for (int slot = 1; slot <= kKnownColumnCount; ++slot) {
            if (!KeepsQuotes(slot)) {
                needed += Field(row, columnMap, slot).size();
            }
        }
        if (m_scratch.size() < needed) {
            m_scratch.resize(needed);
        }
        char* out = m_scratch.data();

        CMine mine;
        CMine::Texts texts;
        for (int slot = 1; slot <= kKnownColumnCount; ++slot) {
            std::string_view value = Field(row, columnMap, slot);
            if (!KeepsQuotes(slot)) {
                value = StripQuotes(value, out);
            }
            const std::size_t textIndex = m_textIndex[static_cast<std::size_t>(slot)];
            if (textIndex != kNotText) {
                texts[textIndex] = value;
            } else if (slot == kSlotDepId) {
                mine.m_nDepId = DecimalTextToInt32(value);
            } else if (slot == kSlotLatitude) {
                mine.m_fLatitude = DecimalTextToFloat(value);
            } else if (slot == kSlotLongitude) {
                mine.m_fLongitude = DecimalTextToFloat(value);
            }
        }
        mine.SetTexts(texts);
        return mine;
    }

private:
    static constexpr std::size_t kNotText = kMineTextFields.size();

    // The number slots lose their quotes too, so that a quoted number reads
    // as the number.
    static bool KeepsQuotes(int slot) {
        return slot < kFirstSlotWithoutQuotes && slot != kSlotDepId && slot != kSlotLatitude &&
               slot != kSlotLongitude;
    }

    // An absent column is empty however wide the row, even one whose field
    // count reaches kNoColumn.
    static std::string_view Field(const CCsvLine& row, const ColumnMap& columnMap, int slot) {
        const int column = columnMap[static_cast<std::size_t>(slot)];
        return column == kNoColumn ? std::string_view() : row.FieldView(column);
    }

    // Copies `value` without its quotes to `out`, advances `out` past it and
    // returns the copy. A value without quotes is returned as it is.
    static std::string_view StripQuotes(std::string_view value, char*& out) {
        if (value.find(kQuote) == std::string_view::npos) {
            return value;
        }
        char* const begin = out;
        for (const char c : value) {
            if (c != kQuote) {
                *out++ = c;
            }
        }
        return std::string_view(begin, static_cast<std::size_t>(out - begin));
    }

    std::array<std::size_t, kKnownColumnCount + 1> m_textIndex{};
    std::string m_scratch;
};

std::string FileErrorText(const std::string& fileName, int error) {
    std::string text = "Error reading file: '" + fileName + "'";
    if (error != 0) {
        text += " (";
        text += std::strerror(error);
        text += ")";
    }
    return text;
}

}  // namespace

bool IsCommaSeparatedName(std::string_view fileName) {
    constexpr std::string_view kExtension = ".csv";
    if (fileName.size() < kExtension.size()) {
        return false;
    }
    for (std::size_t at = 0; at + kExtension.size() <= fileName.size(); ++at) {
        bool match = true;
        for (std::size_t i = 0; i < kExtension.size() && match; ++i) {
            match = AsciiLower(fileName[at + i]) == kExtension[i];
        }
        if (match) {
            return true;
        }
    }
    return false;
}

int LoadMineData(const std::string& fileName, CMineArray& mines, IMessageSink& sink) {
    if (IsCommaSeparatedName(fileName)) {
        return LoadCommaSeparatedFile(fileName, mines, sink);
    }
    return ReadMineArchive(fileName, mines, sink);
}

int LoadCommaSeparatedFile(const std::string& fileName, CMineArray& mines, IMessageSink& sink) {
    const auto reportNotOpened = [&] {
        sink.ShowMessage("Error opening file: '" + fileName + "'", "Vemra",
                         MessageKind::Exclamation);
        return kLoadCsvNotOpened;
    };

    // Binary mode: line ends are handled by the reader the same way on
    // every system.
    const FilePtr file(std::fopen(fileName.c_str(), "rb"));
    if (!file) {
        return reportNotOpened();
    }

    CMineArray loaded;
    CLineReader reader(file.get());
    CCsvLine row(" ", kSeparator, kQuote);
    ColumnMap columnMap;
    columnMap.fill(kNoColumn);
    CRecordBuilder builder;
    bool first = true;
    std::string_view line;
    for (;;) {
        const CLineReader::Result result = reader.ReadLine(line);
        if (result == CLineReader::Result::End) {
            break;
        }
        if (result == CLineReader::Result::Error) {
            // Some systems open a folder as a file and fail only on reading.
            if (reader.NothingRead() && reader.LastError() == EISDIR) {
                return reportNotOpened();
            }
            throw CFileError(FileErrorText(fileName, reader.LastError()));
        }
        if (first) {
            BuildColumnMap(line, columnMap);
            first = false;
        }
        if (line.empty()) {
            break;
        }
        row.SetLine(line, kSeparator, kQuote);
        loaded.Add(builder.Build(row, columnMap));
    }
    mines.Swap(loaded);
    return kLoadDone;
}
