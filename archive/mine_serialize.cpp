#include <bit>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>

#include "archive/archive.h"
#include "fileio/little_endian.h"
#include "minedata/length_prefix.h"
#include "minedata/mine.h"

static_assert(CMine::kTextFieldCount == kRecordTextCount);

namespace {

// Where a record ends in [begin, end) of a loading archive's buffer.
struct RecordEnd {
    PrefixStatus status = PrefixStatus::Complete;
    // Complete: the record's size. Cut: the least size the record can have,
    // as far as its prefixes tell, so that a length beyond the end of the
    // file shows before room is taken for it.
    std::uint64_t size = 0;
};

// Walks the 44 prefixes; the texts themselves are not looked at. Sizes are
// 64-bit: a 32-bit length plus an offset may pass 4 GiB where size_t has 32.
RecordEnd FindRecordEnd(const unsigned char* begin, const unsigned char* end) {
    if (static_cast<std::size_t>(end - begin) < kRecordFixedSize) {
        return {PrefixStatus::Cut, kEmptyRecordSize};
    }
    const unsigned char* p = begin + kRecordFixedSize;
    for (std::size_t i = 0; i < kRecordTextCount; ++i) {
        // Most texts are short. The text's start is formed apart from its
        // length, so that the walk waits on one load and one add per text.
        if (p != end && *p != kLongLengthMarker) {
            const unsigned char* const text = p + 1;
            const std::size_t length = *p;
            if (static_cast<std::size_t>(end - text) >= length) {
                p = text + length;
                continue;
            }
        }
        // Each text still to come takes at least its one-byte prefix.
        const std::uint64_t later = kRecordTextCount - 1 - i;
        const auto used = static_cast<std::uint64_t>(p - begin);
        const DecodedPrefix prefix = DecodeLengthPrefix(p, end);
        if (prefix.status != PrefixStatus::Complete) {
            return {prefix.status, used + prefix.size + later};
        }
        if (static_cast<std::uint64_t>(end - p) - prefix.size < prefix.length) {
            return {PrefixStatus::Cut, used + prefix.size + prefix.length + later};
        }
        p += prefix.size + static_cast<std::size_t>(prefix.length);
    }
    return {PrefixStatus::Complete, static_cast<std::uint64_t>(p - begin)};
}

}  // namespace

void CMine::Serialize(CArchive& ar) const {
    if (!ar.IsStoring()) {
        throw std::logic_error("reading into a record that cannot change");
    }
    unsigned char fixed[kRecordFixedSize];
    WriteLittleEndian(fixed, std::bit_cast<std::uint32_t>(m_fLatitude));
    WriteLittleEndian(fixed + 4, std::bit_cast<std::uint32_t>(m_fLongitude));
    WriteLittleEndian(fixed + 8, static_cast<std::uint16_t>(static_cast<std::uint32_t>(m_nDepId)));
    ar.Write(fixed, sizeof fixed);
    if (!m_pBlock) {
        static constexpr unsigned char kEmptyTexts[kRecordTextCount] = {};
        ar.Write(kEmptyTexts, sizeof kEmptyTexts);
        return;
    }
    // The block is already in the archive's text form, unless a text is
    // longer than any prefix holds.
    const Texts texts = GetTexts();
    for (std::string_view text : texts) {
        if (static_cast<std::uint64_t>(text.size()) > kLongestArchiveLength) {
            throw std::length_error("a text of 4 GiB or more does not fit an archive");
        }
    }
    const auto* block = reinterpret_cast<const char*>(m_pBlock.get());
    ar.Write(block, static_cast<std::size_t>(texts.back().data() + texts.back().size() - block));
}

void CMine::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        std::as_const(*this).Serialize(ar);
        return;
    }
    // Decoded where the archive read it, and only once whole, so a damaged
    // archive leaves the record as it was.
    RecordEnd record = FindRecordEnd(ar.BufferBegin(), ar.BufferEnd());
    while (record.status == PrefixStatus::Cut) {
        ar.Want(record.size);
        record = FindRecordEnd(ar.BufferBegin(), ar.BufferEnd());
    }
    if (record.status == PrefixStatus::Wide) {
        throw CArchiveException(CArchiveException::Cause::WideString);
    }
    const unsigned char* const begin = ar.BufferBegin();
    const unsigned char* const texts = begin + kRecordFixedSize;
    // Every text empty: one zero byte each, and no block, as SetTexts leaves it.
    const bool anyText = record.size != kEmptyRecordSize;
    m_pBlock = anyText ? std::shared_ptr<const unsigned char>(ar.BufferBlock(), texts) : nullptr;
    m_fLatitude = std::bit_cast<float>(ReadLittleEndian<std::uint32_t>(begin));
    m_fLongitude = std::bit_cast<float>(ReadLittleEndian<std::uint32_t>(begin + 4));
    m_nDepId = ReadLittleEndian<std::uint16_t>(begin + 8);
    ar.Take(static_cast<std::size_t>(record.size));
}
