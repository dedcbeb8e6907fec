#pragma once

// The parts of a zip file the loader reads. Numbers are little-endian.
//
// local header   "PK\3\4", then at 26 the name's length (2) and at 28 the
//                extra field's length (2); 30 bytes, then the name, the extra
//                field and the member's compressed bytes
// central entry  "PK\1\2", then at 8 the flags (2), at 10 the method (2), at
//                16 the CRC-32 (4), at 20 the compressed size (4), at 24 the
//                size (4), at 28 the lengths of the name (2), the extra field
//                (2) and the comment (2), at 42 the local header's offset (4);
//                46 bytes, then the name, the extra field and the comment
// end record     "PK\5\6", then at 10 the number of entries (2), at 12 the
//                central directory's size (4), at 16 its offset (4), at 20 the
//                comment's length (2); 22 bytes, then the comment, which ends
//                the file
// zip64 extra    id 1 in an entry's extra field: the 8-byte size, then the
//                8-byte compressed size, each present only when its 4-byte
//                field holds 0xFFFFFFFF

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zipformat {

inline constexpr std::string_view kLocalHeaderSignature{"PK\3\4", 4};
inline constexpr std::string_view kCentralEntrySignature{"PK\1\2", 4};
inline constexpr std::string_view kEndRecordSignature{"PK\5\6", 4};

inline constexpr std::size_t kLocalHeaderBytes = 30;
inline constexpr std::size_t kLocalNameLengthAt = 26;
inline constexpr std::size_t kLocalExtraLengthAt = 28;

inline constexpr std::size_t kCentralEntryBytes = 46;
inline constexpr std::size_t kCentralFlagsAt = 8;
inline constexpr std::size_t kCentralMethodAt = 10;
inline constexpr std::size_t kCentralCrcAt = 16;
inline constexpr std::size_t kCentralCompressedSizeAt = 20;
inline constexpr std::size_t kCentralSizeAt = 24;
inline constexpr std::size_t kCentralNameLengthAt = 28;
inline constexpr std::size_t kCentralExtraLengthAt = 30;
inline constexpr std::size_t kCentralCommentLengthAt = 32;
inline constexpr std::size_t kCentralLocalOffsetAt = 42;

inline constexpr std::size_t kEndRecordBytes = 22;
inline constexpr std::size_t kEndEntryCountAt = 10;
inline constexpr std::size_t kEndDirectorySizeAt = 12;
inline constexpr std::size_t kEndDirectoryOffsetAt = 16;
inline constexpr std::size_t kEndCommentLengthAt = 20;
inline constexpr std::size_t kLongestComment = 0xFFFF;

inline constexpr std::uint16_t kZip64ExtraId = 1;
inline constexpr std::uint32_t kZip64Marker = 0xFFFFFFFF;

inline constexpr std::uint16_t kFlagEncrypted = 1;
inline constexpr std::uint16_t kMethodStored = 0;
inline constexpr std::uint16_t kMethodDeflated = 8;

}  // namespace zipformat
