#include "csv/csv_line.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>
#include <functional>

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
    CLineCursor(std::string_view line, char separator, char quote, std::size_t from = 0)
        : m_line(line), m_chSeparator(separator), m_chQuote(quote) {
        Load(from);
    }

    std::size_t Length() const { return m_line.size(); }
    char Quote() const { return m_chQuote; }
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

// The field that starts at `start`, short of the line's end: where it
// ends (its separator, or the line's end) and where its quotes are.
struct FieldExtent {
    std::size_t end;
    FieldQuotes quotes;
};

// Inlined into the splitting loops: a call per field costs the loader a
// tenth of its splitting.
[[gnu::always_inline]] inline FieldExtent FieldEnd(CLineCursor& cursor, std::size_t start) {
    if (cursor.Quote() != '\0' && cursor.At(start) == cursor.Quote()) {
        FieldQuotes quotes = FieldQuotes::None;
        const std::size_t end = QuotedFieldEnd(cursor, start, quotes);
        return {end, quotes};
    }
    bool sawQuote = false;
    const std::size_t end = cursor.SeparatorFrom(start, sawQuote);
    return {end, sawQuote ? FieldQuotes::Elsewhere : FieldQuotes::None};
}

// Position of the first `ch` in text[from, length), or length.
std::size_t Find(const char* text, std::size_t from, std::size_t length, char ch) {
    const void* found = std::memchr(text + from, static_cast<unsigned char>(ch), length - from);
    return found == nullptr ? length
                            : static_cast<std::size_t>(static_cast<const char*>(found) - text);
}

// True when `view` lies inside `owner`'s characters.
bool PointsInto(std::string_view view, const std::string& owner) {
    const std::less<const char*> before;
    return !view.empty() && !before(view.data(), owner.data()) &&
           before(view.data(), owner.data() + owner.size());
}

}  // namespace

std::size_t CsvFieldEnd(std::string_view line, std::size_t start, char separator, char quote) {
    if (start >= line.size() || separator == '\0') {
        return line.size();
    }
    CLineCursor cursor(line, separator, quote, start);
    return FieldEnd(cursor, start).end;
}

CCsvLine::CCsvLine(std::string_view line, char separator, char quote) {
    SetLine(line, separator, quote);
}

void CCsvLine::SetLine(std::string_view line, char separator, char quote) {
    // The storage of the previous line is kept for the next one: a loader
    // refills one splitter for every line of a file.
    if (PointsInto(line, m_strLine)) {
        m_strLine = std::string(line);
    } else {
        m_strLine.assign(line);
    }
    m_chSeparator = separator;
    m_chQuote = quote;
    Split();
}

int CCsvLine::Split() {
    m_aFields.clear();
    const std::string_view line = m_strLine;
    const std::size_t length = line.size();
    if (m_chSeparator == '\0') {
        m_aFields.push_back({0, length});
        return CountFields();
    }
    // Decided on the raw last byte, even when it lies inside quotes.
    const bool trailingEmpty = length == 0 || line[length - 1] == m_chSeparator;
    CLineCursor cursor(line, m_chSeparator, m_chQuote);
    std::size_t start = 0;
    while (start < length) {
        const std::size_t end = FieldEnd(cursor, start).end;
        m_aFields.push_back({start, end});
        start = end + 1;
    }
    if (trailingEmpty) {
        m_aFields.push_back({length, length});
    }
    return CountFields();
}

int CCsvLine::CountFields() {
    // Field numbers are ints; a line of more fields than that (gigabytes of
    // separators) keeps the first INT_MAX.
    m_nFields = m_aFields.size() > static_cast<std::size_t>(INT_MAX)
                    ? INT_MAX
                    : static_cast<int>(m_aFields.size());
    return m_nFields;
}

std::string CCsvLine::GetField(int index, bool removeQuotes) const {
    const std::string_view field = FieldView(index);
    return removeQuotes ? RemoveQuotes(field, m_chQuote) : std::string(field);
}

void CCsvLine::Clear() {
    m_strLine.clear();
    m_strLine.shrink_to_fit();
    m_aFields.clear();
    m_aFields.shrink_to_fit();
    m_nFields = 0;
}

std::span<const ChosenField> CCsvLine::SplitChosenFields(std::string_view line,
                                                         std::span<const std::size_t> columns) {
    const char separator = m_chSeparator;
    const char quote = m_chQuote;
    if (m_chosenRoom.size() < columns.size()) {
        m_chosenRoom.resize(columns.size());
    }
    const std::span<ChosenField> chosen(m_chosenRoom.data(), columns.size());
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
        const auto [end, quotes] = FieldEnd(cursor, start);
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

std::string RemoveQuotes(std::string_view text, char quote) {
    std::string result;
    if (quote == '\0') {
        result.assign(text);
        return result;
    }
    result.reserve(text.size());
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t at = Find(text.data(), from, text.size(), quote);
        result.append(text.substr(from, at - from));
        from = at + 1;
    }
    return result;
}
