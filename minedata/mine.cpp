#include "minedata/mine.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

#include "minedata/length_prefix.h"
#include "minedata/mine_text_pool.h"

// The whole MRDS database (about 300,000 mines) must load well inside a
// 32-bit process: a record is three numbers, a byte per text and a shared
// pointer (68 bytes in the i686 build), its texts one entry in a shared
// block. With about 500 bytes of text a mine, 300,000 mines take some 20 MB
// of records plus about 150 MB of texts.
static_assert(sizeof(void*) != 4 || sizeof(CMine) <= 68, "CMine grew in 32-bit builds");

namespace {

// The byte offset of each text member within a record, by its index,
// measured once on a record. offsetof would give them at compile time, but it
// is defined only for standard-layout classes, which CMine is not (its block
// is private, its fields public). Measuring is safe because every record has
// the same layout and a CMineText exists only as a member of a CMine: its
// constructor is private to CMine and it cannot be copied out.
const std::array<std::uintptr_t, CMine::kTextFieldCount>& TextMemberOffsets() {
    static const auto offsets = [] {
        const CMine probe;
        const auto base = reinterpret_cast<std::uintptr_t>(&probe);
        std::array<std::uintptr_t, CMine::kTextFieldCount> result{};
        for (std::size_t i = 0; i < CMine::kTextFieldCount; ++i) {
            result[i] = reinterpret_cast<std::uintptr_t>(&(probe.*kMineTextFields[i])) - base;
        }
        return result;
    }();
    return offsets;
}

// Copies n bytes, sizeof(Word) <= n <= 2 * sizeof(Word), as two words that
// overlap, never reading outside the source.
template <typename Word>
void CopyAsTwoWords(unsigned char* out, const char* in, std::size_t n) {
    Word head;
    Word tail;
    std::memcpy(&head, in, sizeof(Word));
    std::memcpy(&tail, in + n - sizeof(Word), sizeof(Word));
    std::memcpy(out, &head, sizeof(Word));
    std::memcpy(out + n - sizeof(Word), &tail, sizeof(Word));
}

// Copies `text` to `out`. Most texts are a few bytes long, where a call to
// memcpy costs more than the copy.
void CopyText(unsigned char* out, std::string_view text) {
    const std::size_t n = text.size();
    const char* in = text.data();
    if (n > 16) {
        std::memcpy(out, in, n);
    } else if (n >= 8) {
        CopyAsTwoWords<std::uint64_t>(out, in, n);
    } else if (n >= 4) {
        CopyAsTwoWords<std::uint32_t>(out, in, n);
    } else {
        for (std::size_t i = 0; i < n; ++i) {
            out[i] = static_cast<unsigned char>(in[i]);
        }
    }
}

// A block for one record's texts.
std::shared_ptr<unsigned char> OwnBlock(std::size_t size) {
    std::shared_ptr<unsigned char[]> block = std::make_shared_for_overwrite<unsigned char[]>(size);
    return std::shared_ptr<unsigned char>(block, block.get());
}

}  // namespace

std::string_view CMineText::View() const {
    return CMine::OwnerOf(*this).TextAt(m_nIndex);
}

const CMine& CMine::OwnerOf(const CMineText& text) {
    // A text is constructed only as a member of a record, numbered in
    // declaration order, which is also the order of kMineTextFields.
    const std::uintptr_t offset = TextMemberOffsets()[text.m_nIndex];
    return *reinterpret_cast<const CMine*>(reinterpret_cast<std::uintptr_t>(&text) - offset);
}

std::string_view CMine::TextAt(std::size_t index) const {
    if (!m_pBlock) {
        return {};
    }
    const unsigned char* entry = m_pBlock.get();
    std::string_view text = TextAtEntry(entry);
    for (std::size_t i = 0; i < index; ++i) {
        entry = reinterpret_cast<const unsigned char*>(text.data() + text.size());
        text = TextAtEntry(entry);
    }
    return text;
}

CMine::CMine(const CMine& other)
    : m_nDepId(other.m_nDepId), m_fLatitude(other.m_fLatitude), m_fLongitude(other.m_fLongitude) {
    CopyTextsFrom(other);
}

CMine::CMine(CMine&& other) noexcept
    : m_nDepId(other.m_nDepId),
      m_fLatitude(other.m_fLatitude),
      m_fLongitude(other.m_fLongitude),
      m_pBlock(std::move(other.m_pBlock)) {}

CMine& CMine::operator=(const CMine& other) {
    if (this != &other) {
        CopyTextsFrom(other);
        m_nDepId = other.m_nDepId;
        m_fLatitude = other.m_fLatitude;
        m_fLongitude = other.m_fLongitude;
    }
    return *this;
}

CMine& CMine::operator=(CMine&& other) noexcept {
    if (this != &other) {
        m_pBlock = std::move(other.m_pBlock);
        m_nDepId = other.m_nDepId;
        m_fLatitude = other.m_fLatitude;
        m_fLongitude = other.m_fLongitude;
    }
    return *this;
}

std::size_t CMine::BlockSize() const {
    if (!m_pBlock) {
        return 0;
    }
    const std::string_view last = TextAt(kTextFieldCount - 1);
    return static_cast<std::size_t>(reinterpret_cast<const unsigned char*>(last.data()) +
                                    last.size() - m_pBlock.get());
}

void CMine::CopyTextsFrom(const CMine& other) {
    // A copy gets a block of its own, just large enough, rather than a
    // share of the original's, which may hold the texts of many records.
    const std::size_t size = other.BlockSize();
    std::shared_ptr<unsigned char> block;
    if (size != 0) {
        block = OwnBlock(size);
        std::memcpy(block.get(), other.m_pBlock.get(), size);
    }
    m_pBlock = std::move(block);
}

void CMine::SetTexts(const Texts& texts) {
    SetTexts(texts, nullptr);
}

void CMine::SetTexts(const Texts& texts, CMineTextPool& pool) {
    SetTexts(texts, &pool);
}

void CMine::SetTexts(const Texts& texts, CMineTextPool* pool) {
    // Most texts are short, with a prefix of one byte: the exact size is
    // summed prefix by prefix only when one is not.
    std::size_t textBytes = 0;
    bool anyLong = false;
    for (std::string_view text : texts) {
        textBytes += text.size();
        anyLong = anyLong || text.size() > kLongestShortLength;
    }
    std::size_t size = textBytes + texts.size();
    if (anyLong) {
        size = textBytes;
        for (std::string_view text : texts) {
            size += LengthPrefixSize(text.size());
        }
    }
    std::shared_ptr<unsigned char> block;
    if (textBytes != 0) {
        block = pool != nullptr ? pool->Allocate(size) : OwnBlock(size);
        // Build the new block completely before the old one goes: the views
        // may point into it.
        unsigned char* out = block.get();
        for (std::string_view text : texts) {
            out += PutLengthPrefix(out, text.size());
            CopyText(out, text);
            out += text.size();
        }
    }
    m_pBlock = std::move(block);
}

void CMine::SetText(TextField field, std::string_view value) {
    Texts texts = GetTexts();
    texts[(this->*field).m_nIndex] = value;
    SetTexts(texts);
}

CMine::Texts CMine::GetTexts() const {
    Texts texts{};
    if (!m_pBlock) {
        return texts;
    }
    const unsigned char* entry = m_pBlock.get();
    for (std::string_view& text : texts) {
        text = TextAtEntry(entry);
        entry = reinterpret_cast<const unsigned char*>(text.data() + text.size());
    }
    return texts;
}

void CMine::PrefetchTexts() const {
#if defined(__GNUC__)
    // The first lines of the block; a hint past a short block's end is
    // harmless, so the addresses are formed as integers, not pointers into it.
    constexpr std::uintptr_t kLineBytes = 64;
    constexpr std::uintptr_t kLines = 8;
    if (m_pBlock) {
        const auto start = reinterpret_cast<std::uintptr_t>(m_pBlock.get());
        for (std::uintptr_t line = 0; line < kLines; ++line) {
            __builtin_prefetch(reinterpret_cast<const void*>(start + line * kLineBytes));
        }
    }
#endif
}

bool operator==(const CMine& a, const CMine& b) {
    return a.m_nDepId == b.m_nDepId &&
           std::bit_cast<uint32_t>(a.m_fLatitude) == std::bit_cast<uint32_t>(b.m_fLatitude) &&
           std::bit_cast<uint32_t>(a.m_fLongitude) == std::bit_cast<uint32_t>(b.m_fLongitude) &&
           a.GetTexts() == b.GetTexts();
}
