#pragma once

// The text form of a record's texts, shared by the record's storage and the
// mine archive: a length prefix, then that many bytes, no terminator.
//
//   prefix := n:u8                          0 <= n <= 254
//           | 0xFF n:u16                    255 <= n <= 65533
//           | 0xFF 0xFFFF:u16 n:u32         65534 <= n <= 0xFFFFFFFF
//
// In files of the same family 0xFF 0xFFFE introduces a string of 16-bit
// characters, which no archive of this program holds. In memory only, a text
// longer than any archive holds is marked 0xFF 0xFFFE and followed by a
// 64-bit length.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fileio/little_endian.h"

inline constexpr std::uint8_t kLongLengthMarker = 0xFF;      // a u16 length follows
inline constexpr std::uint16_t kDWordLengthMarker = 0xFFFF;  // after 0xFF: a u32 length follows
inline constexpr std::uint16_t kWideStringMarker = 0xFFFE;   // after 0xFF: see above
inline constexpr std::size_t kLongestShortLength = 254;
inline constexpr std::size_t kLongestWordLength = 65533;
inline constexpr std::uint64_t kLongestArchiveLength = 0xFFFFFFFFu;
inline constexpr std::size_t kLongestLengthPrefix = 11;

// The bytes of the prefix for a text of `length` bytes. Inline, as these two
// run for every text of every record a load makes.
inline std::size_t LengthPrefixSize(std::uint64_t length) {
    if (length <= kLongestShortLength) {
        return 1;
    }
    if (length <= kLongestWordLength) {
        return 3;
    }
    return length <= kLongestArchiveLength ? 7 : 11;
}

// Puts the prefix for a text of `length` bytes at `out`, which has room for
// LengthPrefixSize(length) bytes; returns that size.
inline std::size_t PutLengthPrefix(unsigned char* out, std::uint64_t length) {
    if (length <= kLongestShortLength) {
        out[0] = static_cast<unsigned char>(length);
        return 1;
    }
    out[0] = kLongLengthMarker;
    if (length <= kLongestWordLength) {
        WriteLittleEndian(out + 1, static_cast<std::uint16_t>(length));
        return 3;
    }
    if (length <= kLongestArchiveLength) {
        WriteLittleEndian(out + 1, kDWordLengthMarker);
        WriteLittleEndian(out + 3, static_cast<std::uint32_t>(length));
        return 7;
    }
    WriteLittleEndian(out + 1, kWideStringMarker);
    WriteLittleEndian(out + 3, length);
    return 11;
}

// The text whose prefix is at `entry`, in memory that holds the whole entry
// (any form above, the 64-bit one included).
inline std::string_view TextAtEntry(const unsigned char* entry) {
    const auto* bytes = reinterpret_cast<const char*>(entry);
    if (entry[0] != kLongLengthMarker) {
        return {bytes + 1, entry[0]};
    }
    const auto word = ReadLittleEndian<std::uint16_t>(entry + 1);
    if (word == kDWordLengthMarker) {
        return {bytes + 7, ReadLittleEndian<std::uint32_t>(entry + 3)};
    }
    if (word == kWideStringMarker) {
        return {bytes + 11, static_cast<std::size_t>(ReadLittleEndian<std::uint64_t>(entry + 3))};
    }
    return {bytes + 3, word};
}

enum class PrefixStatus : std::uint8_t {
    Complete,
    Cut,   // the bytes end inside the prefix
    Wide,  // 0xFF 0xFFFE: not a text of an archive
};

struct DecodedPrefix {
    PrefixStatus status = PrefixStatus::Cut;
    // The prefix's bytes; when Cut, as many as its first bytes call for.
    std::uint8_t size = 1;
    std::uint64_t length = 0;
};

// Decodes the prefix at the start of [p, end), bytes read from an archive
// (so without the 64-bit form). The text's bytes are not looked at.
inline DecodedPrefix DecodeLengthPrefix(const unsigned char* p, const unsigned char* end) {
    if (p == end) {
        return {PrefixStatus::Cut, 1, 0};
    }
    if (*p != kLongLengthMarker) {
        return {PrefixStatus::Complete, 1, *p};
    }
    if (end - p < 3) {
        return {PrefixStatus::Cut, 3, 0};
    }
    const auto word = ReadLittleEndian<std::uint16_t>(p + 1);
    if (word == kWideStringMarker) {
        return {PrefixStatus::Wide, 3, 0};
    }
    if (word != kDWordLengthMarker) {
        return {PrefixStatus::Complete, 3, word};
    }
    if (end - p < 7) {
        return {PrefixStatus::Cut, 7, 0};
    }
    return {PrefixStatus::Complete, 7, ReadLittleEndian<std::uint32_t>(p + 3)};
}
