#include "minedata/field_splitter.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "minedata/csv_line.h"

namespace {

constexpr std::size_t kChunkBytes = 64;

// Bit i set where byte i of the 64 bytes at `text` equals `ch`.
#if defined(__SSE2__)
std::uint64_t ByteMask(const char* text, char ch) {
    const __m128i pattern = _mm_set1_epi8(ch);
    std::uint64_t mask = 0;
    for (std::size_t part = 0; part < kChunkBytes / 16; ++part) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + 16 * part));
        const auto bits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, pattern)));
        mask |= static_cast<std::uint64_t>(bits & 0xFFFFu) << (16 * part);
    }
    return mask;
}
#else
std::uint64_t ByteMask(const char* text, char ch) {
    std::uint64_t mask = 0;
    for (std::size_t i = 0; i < kChunkBytes; ++i) {
        mask |= static_cast<std::uint64_t>(text[i] == ch) << i;
    }
    return mask;
}
#endif

// Bit i set where byte `base` + i of the line is the separator, for the 64
// bytes from `base`; bytes past the line's end are unmarked.
std::uint64_t SeparatorMask(std::string_view line, std::size_t base, char separator) {
    const std::size_t left = line.size() - base;
    if (left >= kChunkBytes) {
        return ByteMask(line.data() + base, separator);
    }
    char tail[kChunkBytes] = {};
    std::memcpy(tail, line.data() + base, left);
    return ByteMask(tail, separator) & ((std::uint64_t{1} << left) - 1);
}

}  // namespace

std::span<const std::string_view> SplitChosenFields(std::string_view line,
                                                    std::span<const std::size_t> columns,
                                                    char separator, char quote,
                                                    std::vector<std::string_view>& room) {
    if (room.size() < columns.size()) {
        room.resize(columns.size());
    }
    const std::span<std::string_view> chosen(room.data(), columns.size());
    std::fill(chosen.begin(), chosen.end(), std::string_view());
    std::size_t next = 0;  // the first of `columns` not yet found
    // Without a separator the whole line is field 1.
    if (separator == '\0') {
        for (; next < columns.size() && columns[next] <= 1; ++next) {
            chosen[next] = columns[next] == 1 ? line : std::string_view();
        }
        return chosen;
    }
    const std::size_t length = line.size();
    std::size_t field = 1;
    std::size_t start = 0;
    // The separators of the chunk of 64 bytes from `base`, which holds
    // `start` until a field runs past it.
    std::size_t base = 0;
    std::uint64_t marks = length == 0 ? 0 : SeparatorMask(line, base, separator);
    while (next < columns.size() && columns[next] < field) {
        ++next;  // numbers below 1 name no field
    }
    // The number of the next field wanted; 0 once all are found.
    std::size_t wanted = next < columns.size() ? columns[next] : 0;
    while (start < length && wanted != 0) {
        std::size_t end;
        if (quote != '\0' && line[start] == quote) {
            end = CsvFieldEnd(line, start, separator, quote);
        } else {
            if (start - base >= kChunkBytes) {
                base = start;
                marks = SeparatorMask(line, base, separator);
            }
            // The separators from `from` on, `from` being bit 0.
            std::uint64_t ahead = marks >> (start - base);
            std::size_t from = start;
            while (ahead == 0 && base + kChunkBytes < length) {
                base += kChunkBytes;
                marks = SeparatorMask(line, base, separator);
                ahead = marks;
                from = base;
            }
            end = ahead == 0 ? length : from + static_cast<std::size_t>(std::countr_zero(ahead));
        }
        if (field == wanted) {
            do {
                chosen[next++] = line.substr(start, end - start);
            } while (next < columns.size() && columns[next] == field);
            wanted = next < columns.size() ? columns[next] : 0;
        }
        ++field;
        start = end + 1;
    }
    return chosen;
}
