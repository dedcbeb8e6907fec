#include "csv/field_splitter.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr std::size_t kChunkBytes = 64;

// Bit i set where byte i of a 64-byte chunk is the separator, or the quote.
struct ChunkMarks {
    std::uint64_t separators = 0;
    std::uint64_t quotes = 0;
};

#if defined(__SSE2__)
ChunkMarks MarkChunk(const char* text, char separator, char quote) {
    const __m128i separators = _mm_set1_epi8(separator);
    const __m128i quotes = _mm_set1_epi8(quote);
    ChunkMarks marks;
    for (std::size_t part = 0; part < kChunkBytes / 16; ++part) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + 16 * part));
        const auto separatorBits =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, separators)));
        const auto quoteBits =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, quotes)));
        marks.separators |= static_cast<std::uint64_t>(separatorBits & 0xFFFFu) << (16 * part);
        marks.quotes |= static_cast<std::uint64_t>(quoteBits & 0xFFFFu) << (16 * part);
    }
    return marks;
}
#else
ChunkMarks MarkChunk(const char* text, char separator, char quote) {
    ChunkMarks marks;
    for (std::size_t i = 0; i < kChunkBytes; ++i) {
        marks.separators |= static_cast<std::uint64_t>(text[i] == separator) << i;
        marks.quotes |= static_cast<std::uint64_t>(text[i] == quote) << i;
    }
    return marks;
}
#endif

// Walks a line chunk by chunk. `base` is the first byte of the chunk whose
// marks are held; positions asked about never lie before it.
class CLineCursor {
public:
    CLineCursor(std::string_view line, char separator, char quote)
        : m_line(line), m_chSeparator(separator), m_chQuote(quote) {
        Load(0);
    }

    std::size_t Length() const { return m_line.size(); }
    char At(std::size_t position) const { return m_line[position]; }

    // The end of the field that starts at `start`, an unquoted one: the
    // next separator, or the line's end. Sets `sawQuote` when a quote lies
    // between.
    std::size_t SeparatorFrom(std::size_t start, bool& sawQuote) {
        Hold(start);
        const auto shift = static_cast<unsigned>(start - m_nBase);
        std::uint64_t separators = m_marks.separators >> shift;
        std::uint64_t quotes = m_marks.quotes >> shift;
        std::size_t from = start;
        while (separators == 0) {
            sawQuote = sawQuote || quotes != 0;
            if (!LoadNext()) {
                return m_line.size();
            }
            separators = m_marks.separators;
            quotes = m_marks.quotes;
            from = m_nBase;
        }
        const auto at = static_cast<unsigned>(std::countr_zero(separators));
        sawQuote = sawQuote || (quotes & ((std::uint64_t{1} << at) - 1)) != 0;
        return from + at;
    }

    // The first quote at or after `from`, or the line's end.
    std::size_t QuoteFrom(std::size_t from) {
        if (from >= m_line.size()) {
            return m_line.size();
        }
        Hold(from);
        std::uint64_t quotes = m_marks.quotes >> (from - m_nBase);
        while (quotes == 0) {
            if (!LoadNext()) {
                return m_line.size();
            }
            quotes = m_marks.quotes;
            from = m_nBase;
        }
        return from + static_cast<std::size_t>(std::countr_zero(quotes));
    }

private:
    // Makes the held chunk the one that holds `position`.
    void Hold(std::size_t position) {
        if (position - m_nBase >= kChunkBytes) {
            Load(position);
        }
    }

    // The chunk after the held one; false at the line's end.
    bool LoadNext() {
        if (m_nBase + kChunkBytes >= m_line.size()) {
            return false;
        }
        Load(m_nBase + kChunkBytes);
        return true;
    }

    // Marks the 64 bytes from `base`; bytes past the line's end are unmarked.
    void Load(std::size_t base) {
        m_nBase = base;
        const std::size_t left = base < m_line.size() ? m_line.size() - base : 0;
        if (left >= kChunkBytes) {
            m_marks = MarkChunk(m_line.data() + base, m_chSeparator, m_chQuote);
        } else {
            char tail[kChunkBytes] = {};
            if (left != 0) {
                std::memcpy(tail, m_line.data() + base, left);
            }
            m_marks = MarkChunk(tail, m_chSeparator, m_chQuote);
            const std::uint64_t inLine = left == 0 ? 0 : (std::uint64_t{1} << left) - 1;
            m_marks.separators &= inLine;
            m_marks.quotes &= inLine;
        }
        if (m_chQuote == '\0') {
            m_marks.quotes = 0;
        }
    }

    std::string_view m_line;
    char m_chSeparator;
    char m_chQuote;
    std::size_t m_nBase = 0;
    ChunkMarks m_marks;
};

// The end of the field that starts with a quote at `start`. Inside the
// quotes separators are text, and so is a doubled quote; after the closing
// quote the field runs to the next separator, whatever comes between. An
// unclosed quote runs to the end of the line.
std::size_t QuotedFieldEnd(CLineCursor& cursor, std::size_t start, FieldQuotes& quotes) {
    const std::size_t length = cursor.Length();
    const char quote = cursor.At(start);
    bool doubled = false;
    std::size_t from = start + 1;
    for (;;) {
        const std::size_t close = cursor.QuoteFrom(from);
        if (close >= length) {
            quotes = FieldQuotes::Elsewhere;
            return length;
        }
        if (close + 1 < length && cursor.At(close + 1) == quote) {
            doubled = true;
            from = close + 2;
            continue;
        }
        bool sawQuote = doubled;
        const std::size_t end = cursor.SeparatorFrom(close + 1, sawQuote);
        quotes =
            !sawQuote && end == close + 1 ? FieldQuotes::AtBothEndsOnly : FieldQuotes::Elsewhere;
        return end;
    }
}

}  // namespace

std::span<const ChosenField> SplitChosenFields(std::string_view line,
                                               std::span<const std::size_t> columns, char separator,
                                               char quote, std::vector<ChosenField>& room) {
    if (room.size() < columns.size()) {
        room.resize(columns.size());
    }
    const std::span<ChosenField> chosen(room.data(), columns.size());
    std::size_t next = 0;  // the first of `columns` not yet found
    while (next < columns.size() && columns[next] < 1) {
        chosen[next++] = {};  // numbers below 1 name no field
    }
    // Without a separator the whole line is field 1, quotes and all.
    if (separator == '\0') {
        const bool anyQuote = quote != '\0' && line.find(quote) != std::string_view::npos;
        for (; next < columns.size() && columns[next] == 1; ++next) {
            chosen[next] = {line, anyQuote ? FieldQuotes::Elsewhere : FieldQuotes::None};
        }
        std::fill(chosen.begin() + static_cast<std::ptrdiff_t>(next), chosen.end(), ChosenField{});
        return chosen;
    }
    const std::size_t length = line.size();
    CLineCursor cursor(line, separator, quote);
    std::size_t field = 1;
    std::size_t start = 0;
    // The number of the next field wanted; 0 once all are found.
    std::size_t wanted = next < columns.size() ? columns[next] : 0;
    while (start < length && wanted != 0) {
        std::size_t end;
        FieldQuotes quotes = FieldQuotes::None;
        if (quote != '\0' && line[start] == quote) {
            end = QuotedFieldEnd(cursor, start, quotes);
        } else {
            bool sawQuote = false;
            end = cursor.SeparatorFrom(start, sawQuote);
            quotes = sawQuote ? FieldQuotes::Elsewhere : FieldQuotes::None;
        }
        if (field == wanted) {
            do {
                chosen[next++] = {line.substr(start, end - start), quotes};
            } while (next < columns.size() && columns[next] == field);
            wanted = next < columns.size() ? columns[next] : 0;
        }
        ++field;
        start = end + 1;
    }
    // The fields the line does not have are empty.
    std::fill(chosen.begin() + static_cast<std::ptrdiff_t>(next), chosen.end(), ChosenField{});
    return chosen;
}
