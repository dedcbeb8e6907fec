#include "export/csv_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

#include "csv/column_map.h"
#include "export/file_output.h"
#include "text/text_encoding.h"

namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr char kQuote = '"';

// A field that the tokenizer keeps whole as it stands: no comma outside a
// quoted part, so a field that opens with a quote closes it, and no line
// feed, which ends a line whatever the quotes.
bool SplitsAsOneField(std::string_view text) {
    if (text.find('\n') != std::string_view::npos) {
        return false;
    }
    if (text.empty() || text.front() != kQuote) {
        return text.find(',') == std::string_view::npos;
    }
    std::size_t i = 1;
    for (;;) {
        const std::size_t quote = text.find(kQuote, i);
        if (quote == std::string_view::npos) {
            return false;  // unclosed: the next fields would join it
        }
        if (quote + 1 < text.size() && text[quote + 1] == kQuote) {
            i = quote + 2;
            continue;
        }
        return text.find(',', quote + 1) == std::string_view::npos;
    }
}

// A field that needs quotes for both readers to take it whole and as it is.
bool NeedsQuotes(std::string_view text) {
    return text.find_first_of(",\"\r\n") != std::string_view::npos ||
           (!text.empty() && (text.front() == ' ' || text.back() == ' ' || text.front() == '\t' ||
                              text.back() == '\t'));
}

// Appends `text` between double quotes, each double quote doubled and each
// line feed as a blank: a line feed ends the tokenizer's line, quoted or not.
void AppendQuoted(std::string& line, std::string_view text) {
    line += kQuote;
    for (const char byte : text) {
        if (byte == kQuote) {
            line += kQuote;
        } else if (byte == '\n') {
            line += ' ';
            continue;
        }
        line += byte;
    }
    line += kQuote;
}

// A text of a column that the loader keeps with its quotes (MRDS_ID, MAS_ID,
// SITE_NAME): the bytes it holds are the field as the data file had it, so
// it goes back as it stands when the tokenizer would take it whole again.
void AppendKeptQuotesField(std::string& line, std::string_view text) {
    if (SplitsAsOneField(text) && text.find('\r') == std::string_view::npos) {
        line += text;
    } else {
        AppendQuoted(line, text);
    }
}

void AppendTextField(std::string& line, std::string_view text) {
    if (NeedsQuotes(text)) {
        AppendQuoted(line, text);
    } else {
        line += text;
    }
}

// The shortest digits that read back as the same float; an infinity as a
// number beyond the float range, which reads back as that infinity; not a
// number as nothing, there being no way to write one.
void AppendCoordinate(std::string& line, float value) {
    if (std::isnan(value)) {
        return;
    }
    if (std::isinf(value)) {
        line += value > 0 ? "1e39" : "-1e39";
        return;
    }
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    line.append(digits, result.ptr);
}

void AppendCsvLine(std::string& line, const CMine& mine) {
    const CMine::Texts texts = mine.GetTexts();
    for (int slot = 1; slot <= kKnownColumnCount; ++slot) {
        if (slot > 1) {
            line += ',';
        }
        switch (slot) {
            case kSlotDepId:
                line += std::to_string(mine.m_nDepId);
                continue;
            case kSlotLatitude:
                AppendCoordinate(line, mine.m_fLatitude);
                continue;
            case kSlotLongitude:
                AppendCoordinate(line, mine.m_fLongitude);
                continue;
            default:
                break;
        }
        const std::string_view stored = texts[TextIndexOfSlot(slot)];
        const bool ascii = std::all_of(stored.begin(), stored.end(), [](char byte) {
            return static_cast<unsigned char>(byte) < 0x80;
        });
        const std::string decoded = ascii ? std::string() : DataTextToUtf8(stored);
        const std::string_view text = ascii ? stored : std::string_view(decoded);
        if (slot < kFirstSlotWithoutQuotes) {
            AppendKeptQuotesField(line, text);
        } else {
            AppendTextField(line, text);
        }
    }
    line += kLineEnd;
}

}  // namespace

void WriteCsvFile(std::ostream& out, const CMineArray& mines,
                  std::span<const std::size_t> indices) {
    std::string pending;
    for (int slot = 1; slot <= kKnownColumnCount; ++slot) {
        if (slot > 1) {
            pending += ',';
        }
        pending += kKnownColumnNames[static_cast<std::size_t>(slot)];
    }
    pending += kLineEnd;
    for (const std::size_t index : indices) {
        AppendCsvLine(pending, mines[index]);
        WriteWhenFull(out, pending);
    }
    WritePending(out, pending);
}

ExportResult ExportCsvFile(const std::string& path, const CMineArray& mines,
                           std::span<const std::size_t> indices) {
    return ExportStream(path, [&](std::ostream& out) { WriteCsvFile(out, mines, indices); });
}
