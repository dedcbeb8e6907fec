#pragma once

// The mine archive (.dat), the program's own binary file of mine records.
// Multi-byte numbers are little-endian; nothing is padded or separated.
//
//   file    := count:u16 record*(count - 1)       (count 0 or 1: no records)
//   record  := latitude:f32 longitude:f32 depId:u16 text*44
//   f32     := the IEEE 754 single-precision value, its bits as a u32
//   depId   := the low 16 bits of the identifier; read back zero-extended
//   text    := prefix, then that many bytes of text, no terminator
//   prefix  := n:u8                          0 <= n <= 254
//            | 0xFF n:u16                    255 <= n <= 65533
//            | 0xFF 0xFFFF:u16 n:u32         n >= 65534
//
// The count includes element 0, the placeholder, which is not written, so an
// archive holds at most 65534 mines. There is no signature, version or
// trailer; bytes after the last record are ignored. The 44 texts follow the
// record's declaration order (kMineTextFields). In archives of the same
// family 0xFF 0xFFFE introduces a string of 16-bit characters; this program
// never writes one and takes it for damage.
//
// Example: the placeholder and one mine with every field empty is
//   02 00  00 00 00 00  00 00 00 00  00 00  00 (x44)

#include <cstddef>
#include <cstdint>

inline constexpr std::size_t kArchiveBufferSize = 4096;

inline constexpr std::uint16_t kArchiveMaxCount = 0xFFFF;

inline constexpr std::uint8_t kLongLengthMarker = 0xFF;      // a u16 length follows
inline constexpr std::uint16_t kDWordLengthMarker = 0xFFFF;  // after 0xFF: a u32 length follows
inline constexpr std::uint16_t kWideStringMarker = 0xFFFE;   // after 0xFF: never valid here
inline constexpr std::size_t kLongestShortLength = 254;
inline constexpr std::size_t kLongestWordLength = 65533;

inline constexpr std::size_t kRecordFixedSize = 4 + 4 + 2;
inline constexpr std::size_t kRecordTextCount = 44;
inline constexpr std::size_t kEmptyRecordSize = kRecordFixedSize + kRecordTextCount;
