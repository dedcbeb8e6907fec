#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// A member of a zip file as its central directory describes it.
struct ZipMember {
    std::string name;
    std::uint16_t flags = 0;
    std::uint16_t method = 0;
    std::uint32_t crc32 = 0;
    std::uint64_t compressedSize = 0;
    std::uint64_t size = 0;
    std::uint64_t localHeaderOffset = 0;
};

// The most a member may inflate to, in bytes and as a multiple of its
// compressed size: beyond either it is taken for a zip bomb.
inline constexpr std::uint64_t kLargestZipMemberBytes = std::uint64_t{4} << 30;
inline constexpr std::uint64_t kLargestZipMemberRatio = 1000;

// Finds, in the open zip `file` of `fileBytes` bytes, the first member whose
// name holds ".csv" in any letter case, checks that it can be inflated
// (stored or deflated, not encrypted, not a zip bomb) and leaves the file at
// its compressed bytes. Returns an empty text, or why the member cannot be
// read, in words for the user.
std::string FindCommaSeparatedMember(std::FILE* file, std::uint64_t fileBytes, ZipMember& member);
