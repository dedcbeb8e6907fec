#include "minedata/length_prefix.h"

std::size_t LengthPrefixSize(std::uint64_t length) {
    if (length <= kLongestShortLength) {
        return 1;
    }
    if (length <= kLongestWordLength) {
        return 3;
    }
    return length <= kLongestArchiveLength ? 7 : 11;
}

std::size_t PutLengthPrefix(unsigned char* out, std::uint64_t length) {
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
