#include "minedata/field_splitter.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "minedata/csv_line.h"

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101u;
constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Fu;

// High bit of each byte of `word` that equals the byte of `pattern`, with no
// false marks (unlike the shorter test that may mark bytes above a match).
std::uint64_t MatchingBytes(std::uint64_t word, std::uint64_t pattern) {
    const std::uint64_t x = word ^ pattern;
    return ~(((x & kLow7) + kLow7) | x | kLow7);
}

// Positions of the separators of a line, in order, read a word at a time.
class CSeparatorScan {
public:
    CSeparatorScan(std::string_view line, char separator)
        : m_pText(line.data()),
          m_nLength(line.size()),
          m_pattern(kOnes * static_cast<unsigned char>(separator)),
          m_chSeparator(separator) {}

    // The first separator at or after `from`, or the line's length.
    std::size_t Next(std::size_t from) {
        for (;;) {
            if (from >= m_nWordBase + sizeof(std::uint64_t) || from < m_nWordBase) {
                if (!Load(from)) {
                    return Tail(from);
                }
            }
            const std::uint64_t marks = m_marks & (~std::uint64_t{0} << (8 * (from - m_nWordBase)));
            if (marks != 0) {
                return m_nWordBase + static_cast<std::size_t>(std::countr_zero(marks) / 8);
            }
            from = m_nWordBase + sizeof(std::uint64_t);
        }
    }

private:
    // Loads the word at `from`; false when fewer than eight bytes are left.
    // Byte order decides which mark is the first: big-endian systems take
    // the byte-by-byte way.
    bool Load(std::size_t from) {
        if (std::endian::native != std::endian::little ||
            m_nLength - from < sizeof(std::uint64_t)) {
            return false;
        }
        std::uint64_t word;
        std::memcpy(&word, m_pText + from, sizeof word);
        m_nWordBase = from;
        m_marks = MatchingBytes(word, m_pattern);
        return true;
    }

    std::size_t Tail(std::size_t from) const {
        while (from < m_nLength && m_pText[from] != m_chSeparator) {
            ++from;
        }
        return from;
    }

    const char* m_pText;
    std::size_t m_nLength;
    std::uint64_t m_pattern;
    char m_chSeparator;
    std::size_t m_nWordBase = SIZE_MAX / 2;
    std::uint64_t m_marks = 0;
};

}  // namespace

void SplitLeadingFields(std::string_view line, std::size_t maxFields, char separator, char quote,
                        std::vector<std::string_view>& fields) {
    fields.clear();
    fields.push_back(line);
    if (separator == '\0') {
        if (maxFields > 0) {
            fields.push_back(line);
        }
        return;
    }
    CSeparatorScan scan(line, separator);
    std::size_t start = 0;
    while (start < line.size() && fields.size() <= maxFields) {
        const std::size_t end = quote != '\0' && line[start] == quote
                                    ? CsvFieldEnd(line, start, separator, quote)
                                    : scan.Next(start);
        fields.push_back(line.substr(start, end - start));
        start = end + 1;
    }
}
