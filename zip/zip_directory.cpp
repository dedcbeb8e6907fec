#include "zip/zip_directory.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "csv/comma_separated_reader.h"
#include "fileio/little_endian.h"
#include "fileio/platform_file.h"
#include "zip/zip_format.h"

namespace {

using namespace zipformat;

std::uint16_t Read16(std::string_view bytes, std::size_t at) {
    return ReadLittleEndian<std::uint16_t>(bytes.data() + at);
}

std::uint32_t Read32(std::string_view bytes, std::size_t at) {
    return ReadLittleEndian<std::uint32_t>(bytes.data() + at);
}

// Reads `count` bytes at `offset`; false when the file cannot give them.
bool ReadAt(std::FILE* file, std::uint64_t offset, std::size_t count, std::string& bytes) {
    if (!SeekFile(file, offset)) {
        return false;
    }
    bytes.resize(count);
    return std::fread(bytes.data(), 1, count, file) == count;
}

const std::string kCutShort = "the zip is cut short or damaged: its central directory is missing";
const std::string kDirectoryDamaged = "the zip's central directory is damaged";
const std::string kNotRead = "the file cannot be read";

// The zip64 extra field gives the sizes and offset whose 4-byte fields hold
// the marker, in that order; false when it lacks one of them.
bool ReadZip64Extra(std::string_view extra, ZipMember& member) {
    std::size_t at = 0;
    while (at + 4 <= extra.size()) {
        const std::uint16_t id = Read16(extra, at);
        const std::size_t length = Read16(extra, at + 2);
        at += 4;
        if (length > extra.size() - at) {
            return false;
        }
        if (id == kZip64ExtraId) {
            std::size_t field = at;
            for (std::uint64_t* value :
                 {&member.size, &member.compressedSize, &member.localHeaderOffset}) {
                if (*value == kZip64Marker) {
                    if (field + 8 > at + length) {
                        return false;
                    }
                    *value = ReadLittleEndian<std::uint64_t>(extra.data() + field);
                    field += 8;
                }
            }
            return true;
        }
        at += length;
    }
    return false;
}

std::string Quoted(const std::string& name) {
    return "'" + name + "'";
}

// Why the member cannot be inflated, or nothing.
std::string Uninflatable(const ZipMember& member) {
    const std::string name = "the member " + Quoted(member.name);
    if ((member.flags & kFlagEncrypted) != 0) {
        return name + " is encrypted";
    }
    if (member.method != kMethodStored && member.method != kMethodDeflated) {
        return name + " is compressed by method " + std::to_string(member.method) +
               "; only stored and deflated members are read";
    }
    if (member.method == kMethodStored && member.size != member.compressedSize) {
        return name + " is stored, yet its recorded sizes differ";
    }
    if (member.size > kLargestZipMemberBytes) {
        return name + " would inflate to " + std::to_string(member.size) + " bytes, more than 4 GB";
    }
    // The size is at most 4 GB here, so the product cannot overflow.
    if (member.compressedSize < member.size &&
        member.size > kLargestZipMemberRatio * member.compressedSize) {
        return name + " would inflate to " + std::to_string(member.size) +
               " bytes, more than 1000 times its compressed size";
    }
    return {};
}

// Where the end record says the central directory is.
struct DirectoryPlace {
    std::uint16_t entryCount = 0;
    std::uint32_t bytes = 0;
    std::uint32_t offset = 0;
};

// Finds the end record, which stands last, followed only by its comment, and
// reads from it where the central directory is; that directory must lie
// before the end record. Returns an empty text or why the zip cannot be read.
std::string FindDirectory(std::FILE* file, std::uint64_t fileBytes, DirectoryPlace& place) {
    const std::size_t tailBytes = static_cast<std::size_t>(
        std::min<std::uint64_t>(fileBytes, kEndRecordBytes + kLongestComment));
    std::string tail;
    if (tailBytes < kEndRecordBytes) {
        return kCutShort;
    }
    if (!ReadAt(file, fileBytes - tailBytes, tailBytes, tail)) {
        return kNotRead;
    }
    // Searched from the end: a comment may hold the signature too.
    std::size_t end = tailBytes - kEndRecordBytes + 1;
    bool foundEnd = false;
    while (!foundEnd && end > 0) {
        --end;
        foundEnd = tail.compare(end, 4, kEndRecordSignature) == 0 &&
                   Read16(tail, end + kEndCommentLengthAt) == tailBytes - end - kEndRecordBytes;
    }
    if (!foundEnd) {
        return kCutShort;
    }
    const std::uint64_t endOffset = fileBytes - tailBytes + end;
    place.entryCount = Read16(tail, end + kEndEntryCountAt);
    place.bytes = Read32(tail, end + kEndDirectorySizeAt);
    place.offset = Read32(tail, end + kEndDirectoryOffsetAt);
    if (place.entryCount == 0xFFFF || place.bytes == kZip64Marker || place.offset == kZip64Marker) {
        return "the zip is in the zip64 form for large archives, which is not read";
    }
    if (std::uint64_t{place.offset} + place.bytes > endOffset) {
        return kCutShort;
    }
    return {};
}

// Takes the member's description from the central entry `entry` (its fixed
// part, then the name and the extra field), with the zip64 sizes and offset
// where its 4-byte fields hold the marker. False when those are missing.
bool ReadCentralEntry(std::string_view entry, std::string name, ZipMember& member) {
    member.name = std::move(name);
    member.flags = Read16(entry, kCentralFlagsAt);
    member.method = Read16(entry, kCentralMethodAt);
    member.crc32 = Read32(entry, kCentralCrcAt);
    member.compressedSize = Read32(entry, kCentralCompressedSizeAt);
    member.size = Read32(entry, kCentralSizeAt);
    member.localHeaderOffset = Read32(entry, kCentralLocalOffsetAt);
    const bool zip64 = member.size == kZip64Marker || member.compressedSize == kZip64Marker ||
                       member.localHeaderOffset == kZip64Marker;
    const std::size_t nameBytes = Read16(entry, kCentralNameLengthAt);
    const std::size_t extraBytes = Read16(entry, kCentralExtraLengthAt);
    return !zip64 ||
           ReadZip64Extra(entry.substr(kCentralEntryBytes + nameBytes, extraBytes), member);
}

// Walks the central directory's entries to the first whose name holds
// ".csv" and describes it in `member`. Returns an empty text or why the zip
// cannot be read.
std::string FindMemberEntry(std::string_view directory, std::uint16_t entryCount,
                            ZipMember& member) {
    std::size_t at = 0;
    for (unsigned entry = 0; entry < entryCount; ++entry) {
        if (directory.size() - at < kCentralEntryBytes ||
            directory.compare(at, 4, kCentralEntrySignature) != 0) {
            return kDirectoryDamaged;
        }
        const std::string_view fixed = directory.substr(at, kCentralEntryBytes);
        const std::size_t nameBytes = Read16(fixed, kCentralNameLengthAt);
        const std::size_t extraBytes = Read16(fixed, kCentralExtraLengthAt);
        const std::size_t commentBytes = Read16(fixed, kCentralCommentLengthAt);
        const std::size_t entryBytes = kCentralEntryBytes + nameBytes + extraBytes + commentBytes;
        if (directory.size() - at < entryBytes) {
            return kDirectoryDamaged;
        }
        std::string name(directory.substr(at + kCentralEntryBytes, nameBytes));
        // A folder's entry, named with a closing slash, holds no bytes.
        if (IsCommaSeparatedName(name) && name.back() != '/') {
            return ReadCentralEntry(directory.substr(at, entryBytes), std::move(name), member)
                       ? std::string()
                       : kDirectoryDamaged;
        }
        at += entryBytes;
    }
    return "the zip holds no comma-separated file (no member whose name holds \".csv\")";
}

// Reads the member's local header and leaves the file at its compressed
// bytes, which must all lie before the central directory at
// `directoryOffset`. Returns an empty text or why the member cannot be read.
std::string SeekMemberData(std::FILE* file, const ZipMember& member,
                           std::uint64_t directoryOffset) {
    const std::string cutInMember = "the zip is cut short in the member " + Quoted(member.name);
    if (member.localHeaderOffset > directoryOffset ||
        directoryOffset - member.localHeaderOffset < kLocalHeaderBytes) {
        return cutInMember;
    }
    std::string local;
    if (!ReadAt(file, member.localHeaderOffset, kLocalHeaderBytes, local)) {
        return kNotRead;
    }
    if (local.compare(0, 4, kLocalHeaderSignature) != 0) {
        return "the zip is damaged: the member " + Quoted(member.name) +
               " is not where its entry says";
    }
    const std::uint64_t dataOffset = member.localHeaderOffset + kLocalHeaderBytes +
                                     Read16(local, kLocalNameLengthAt) +
                                     Read16(local, kLocalExtraLengthAt);
    if (dataOffset > directoryOffset || directoryOffset - dataOffset < member.compressedSize) {
        return cutInMember;
    }
    return SeekFile(file, dataOffset) ? std::string() : kNotRead;
}

}  // namespace

std::string FindCommaSeparatedMember(std::FILE* file, std::uint64_t fileBytes, ZipMember& member) {
    DirectoryPlace place;
    if (std::string reason = FindDirectory(file, fileBytes, place); !reason.empty()) {
        return reason;
    }
    std::string directory;
    if (!ReadAt(file, place.offset, place.bytes, directory)) {
        return kNotRead;
    }
    if (std::string reason = FindMemberEntry(directory, place.entryCount, member);
        !reason.empty()) {
        return reason;
    }
    if (std::string reason = Uninflatable(member); !reason.empty()) {
        return reason;
    }
    return SeekMemberData(file, member, place.offset);
}
