#include "csv/csv_line.h"

#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>
#include <functional>

namespace {

// Position of the first `ch` in text[from, length), or length. Unquoted
// fields are short, where a call to memchr costs more than the search, so
// this tests eight bytes at a time in a plain word.
std::size_t FindNear(const char* text, std::size_t from, std::size_t length, char ch) {
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kOnes = 0x0101010101010101u;
        constexpr std::uint64_t kHighBits = 0x8080808080808080u;
        const std::uint64_t pattern = kOnes * static_cast<unsigned char>(ch);
        while (length - from >= sizeof(std::uint64_t)) {
            std::uint64_t word;
            std::memcpy(&word, text + from, sizeof word);
            const std::uint64_t x = word ^ pattern;
            // The lowest marked byte is the first byte equal to `ch`; marks
            // above it may be false.
            const std::uint64_t marks = (x - kOnes) & ~x & kHighBits;
            if (marks != 0) {
                return from + static_cast<std::size_t>(std::countr_zero(marks) / 8);
            }
            from += sizeof(std::uint64_t);
        }
    }
    while (from < length && text[from] != ch) {
        ++from;
    }
    return from;
}

// The same for long spans such as quoted texts.
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
    const char* const text = line.data();
    const std::size_t length = line.size();
    if (start >= length) {
        return length;
    }
    if (separator == '\0') {
        return length;
    }
    if (quote == '\0' || text[start] != quote) {
        return FindNear(text, start, length, separator);
    }
    // Inside the quotes separators are text; a doubled quote is text too.
    // After the closing quote the field runs to the next separator, whatever
    // comes between. An unclosed quote runs to the end of the line.
    std::size_t i = start + 1;
    while (i < length) {
        i = Find(text, i, length, quote) + 1;
        if (i > length) {
            return length;
        }
        if (i < length && text[i] == quote) {
            ++i;
            continue;
        }
        // Most quoted fields end right after their closing quote.
        if (i == length || text[i] == separator) {
            return i;
        }
        return Find(text, i, length, separator);
    }
    return length;
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
    const char* const text = m_strLine.data();
    const std::size_t length = m_strLine.size();
    if (m_chSeparator == '\0') {
        m_aFields.push_back({0, length});
        return CountFields();
    }
    // Decided on the raw last byte, even when it lies inside quotes.
    const bool trailingEmpty = length == 0 || text[length - 1] == m_chSeparator;
    std::size_t start = 0;
    while (start < length) {
        const std::size_t end = CsvFieldEnd(m_strLine, start, m_chSeparator, m_chQuote);
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
