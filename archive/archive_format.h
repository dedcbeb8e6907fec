#pragma once

// The mine archive (.dat), the program's own binary file of mine records.
// Multi-byte numbers are little-endian; nothing is padded or separated.
//
//   file    := count:u16 record*(count - 1)       (count 0 or 1: no records)
//   record  := latitude:f32 longitude:f32 depId:u16 text*44
//   f32     := the IEEE 754 single-precision value, its bits as a u32
//   depId   := the low 16 bits of the identifier; read back zero-extended
//   text    := a text in the form of minedata/length_prefix.h (no 64-bit form)
//
// The count includes element 0, the placeholder, which is not written, so an
// archive holds at most 65534 mines. There is no signature, version or
// trailer; bytes after the last record are ignored. The 44 texts follow the
// record's declaration order (kMineTextFields). A string of 16-bit
// characters (0xFF 0xFFFE) is never written and is taken for damage.
//
// Example: the placeholder and one mine with every field empty is
//   02 00  00 00 00 00  00 00 00 00  00 00  00 (x44)

#include <cstddef>
#include <cstdint>

inline constexpr std::uint16_t kArchiveMaxCount = 0xFFFF;

inline constexpr std::size_t kRecordFixedSize = 4 + 4 + 2;
inline constexpr std::size_t kRecordTextCount = 44;
inline constexpr std::size_t kEmptyRecordSize = kRecordFixedSize + kRecordTextCount;
