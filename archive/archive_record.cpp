#include "archive/archive_record.h"

#include <bit>
#include <cstring>
#include <stdexcept>
#include <string_view>

#include "archive/archive_format.h"

namespace {

std::uint16_t WordAt(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t DWordAt(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Takes a 64-bit value so that the test means something where size_t has 32.
bool FitsDWord(std::uint64_t value) {
    return value <= 0xFFFFFFFFu;
}

void AppendWord(std::string& out, std::uint16_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void AppendDWord(std::string& out, std::uint32_t value) {
    AppendWord(out, static_cast<std::uint16_t>(value & 0xFFFF));
    AppendWord(out, static_cast<std::uint16_t>(value >> 16));
}

}  // namespace

ArchiveRecordResult ParseArchiveRecord(const std::shared_ptr<unsigned char[]>& block,
                                       const unsigned char* begin, const unsigned char* end,
                                       CMine& mine) {
    using Parse = ArchiveRecordParse;
    // Sizes are 64-bit: a 32-bit length plus an offset may pass 4 GiB where
    // size_t has 32 bits.
    const auto have = [&](const unsigned char* p) { return static_cast<std::uint64_t>(end - p); };
    const auto used = [&](const unsigned char* p) { return static_cast<std::uint64_t>(p - begin); };
    if (have(begin) < kRecordFixedSize) {
        return {Parse::NeedMore, kEmptyRecordSize};
    }
    const unsigned char* const texts = begin + kRecordFixedSize;
    const unsigned char* p = texts;
    for (std::size_t i = 0; i < kRecordTextCount; ++i) {
        // Each text still to come takes at least its one-byte prefix.
        const std::uint64_t later = kRecordTextCount - 1 - i;
        if (p == end) {
            return {Parse::NeedMore, used(p) + 1 + later};
        }
        std::uint64_t length = *p;
        std::uint64_t prefix = 1;
        if (length == kLongLengthMarker) {
            if (have(p) < 3) {
                return {Parse::NeedMore, used(p) + 3 + later};
            }
            length = WordAt(p + 1);
            prefix = 3;
            if (length == kWideStringMarker) {
                return {Parse::WideString, 0};
            }
            if (length == kDWordLengthMarker) {
                if (have(p) < 7) {
                    return {Parse::NeedMore, used(p) + 7 + later};
                }
                length = DWordAt(p + 3);
                prefix = 7;
            }
        }
        if (have(p) - prefix < length) {
            return {Parse::NeedMore, used(p) + prefix + length + later};
        }
        p += prefix + length;
    }
    // Every text empty: one zero byte each, and no block, as SetTexts leaves it.
    const bool anyText = static_cast<std::size_t>(p - texts) != kRecordTextCount;
    mine.m_pBlock = anyText ? std::shared_ptr<const unsigned char>(block, texts) : nullptr;
    mine.m_fLatitude = std::bit_cast<float>(DWordAt(begin));
    mine.m_fLongitude = std::bit_cast<float>(DWordAt(begin + 4));
    mine.m_nDepId = WordAt(begin + 8);
    return {Parse::Complete, used(p)};
}

void AppendArchiveRecord(std::string& out, const CMine& mine) {
    AppendDWord(out, std::bit_cast<std::uint32_t>(mine.m_fLatitude));
    AppendDWord(out, std::bit_cast<std::uint32_t>(mine.m_fLongitude));
    AppendWord(out,
               static_cast<std::uint16_t>(static_cast<std::uint32_t>(mine.m_nDepId) & 0xFFFFu));
    if (!mine.m_pBlock) {
        out.append(kRecordTextCount, '\0');
        return;
    }
    // The block is already in the archive's text form, unless a text is
    // longer than any prefix holds.
    const CMine::Texts texts = mine.GetTexts();
    for (std::string_view text : texts) {
        if (!FitsDWord(text.size())) {
            throw std::length_error("a text of 4 GiB or more does not fit an archive");
        }
    }
    const auto* block = reinterpret_cast<const char*>(mine.m_pBlock.get());
    out.append(block, static_cast<std::size_t>(texts.back().data() + texts.back().size() - block));
}
