#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "minedata/mine.h"

// One record in the archive's record form (archive_format.h), cut from and
// put into bytes in memory. A record keeps its texts in the archive's text
// form, so a whole archive moves through large blocks with no copy of a text
// on reading, one copy of a block on writing, and no allocation per record.

enum class ArchiveRecordParse {
    Complete,    // the record was read
    NeedMore,    // the bytes end inside the record
    WideString,  // a 0xFF 0xFFFE prefix: damage
};

struct ArchiveRecordResult {
    ArchiveRecordParse status = ArchiveRecordParse::NeedMore;
    // Complete: the record's size in bytes. NeedMore: the least size the
    // record can have, as far as its prefixes tell, so that a reader can see
    // a length beyond the end of the file before it asks for room.
    std::uint64_t size = 0;
};

// Reads the record at the start of [begin, end), which lie in `block`. On
// Complete `mine` holds it and shares `block`, where its texts stay; the
// block's bytes must then never change. Otherwise `mine` is unchanged.
ArchiveRecordResult ParseArchiveRecord(const std::shared_ptr<unsigned char[]>& block,
                                       const unsigned char* begin, const unsigned char* end,
                                       CMine& mine);

// Appends the record form of `mine` to `out`, byte for byte what
// CMine::Serialize stores. Throws std::length_error for a text of 4 GiB or
// more, which no prefix holds.
void AppendArchiveRecord(std::string& out, const CMine& mine);
