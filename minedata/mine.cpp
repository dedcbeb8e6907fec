#include "minedata/mine.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

// The whole MRDS database (about 300,000 mines) must load well inside a
// 32-bit process: a record is 44 pointers and three numbers, its texts one
// heap block. With about 350 bytes of text a mine, 300,000 mines take some
// 58 MB of records plus about 120 MB of text blocks in the i686 build.
static_assert(sizeof(void*) != 4 || sizeof(CMine) <= 192, "CMine grew in 32-bit builds");

namespace {

// Texts are stored as [length as LEB128][bytes]; most lengths take one byte.
std::size_t PutLength(unsigned char* out, std::size_t length) {
    std::size_t used = 0;
    do {
        unsigned char byte = length & 0x7F;
        length >>= 7;
        if (length != 0) {
            byte |= 0x80;
        }
        out[used++] = byte;
    } while (length != 0);
    return used;
}

std::size_t LengthPrefixSize(std::size_t length) {
    std::size_t used = 1;
    while (length >= 0x80) {
        length >>= 7;
        ++used;
    }
    return used;
}

std::string_view ReadEntry(const unsigned char* entry) {
    std::size_t length = 0;
    int shift = 0;
    const unsigned char* p = entry;
    for (;;) {
        const unsigned char byte = *p++;
        length |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) {
            break;
        }
        shift += 7;
    }
    return {reinterpret_cast<const char*>(p), length};
}

}  // namespace

std::string_view CMineText::View() const {
    if (m_pEntry == nullptr) {
        return {};
    }
    return ReadEntry(m_pEntry);
}

CMine::CMine(const CMine& other)
    : m_nDepId(other.m_nDepId), m_fLatitude(other.m_fLatitude), m_fLongitude(other.m_fLongitude) {
    CopyTextsFrom(other);
}

CMine::CMine(CMine&& other) noexcept
    : m_nDepId(other.m_nDepId), m_fLatitude(other.m_fLatitude), m_fLongitude(other.m_fLongitude) {
    StealTextsFrom(other);
}

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
        StealTextsFrom(other);
        m_nDepId = other.m_nDepId;
        m_fLatitude = other.m_fLatitude;
        m_fLongitude = other.m_fLongitude;
    }
    return *this;
}

std::size_t CMine::BlockSize() const {
    std::size_t end = 0;
    for (TextField field : kMineTextFields) {
        const CMineText& text = this->*field;
        if (!text.IsEmpty()) {
            const std::string_view view = text.View();
            const auto* past = reinterpret_cast<const unsigned char*>(view.data()) + view.size();
            end = std::max<std::size_t>(end, static_cast<std::size_t>(past - m_pBlock.get()));
        }
    }
    return end;
}

void CMine::CopyTextsFrom(const CMine& other) {
    const std::size_t size = other.BlockSize();
    std::unique_ptr<unsigned char[]> block;
    if (size != 0) {
        block = std::make_unique_for_overwrite<unsigned char[]>(size);
        std::memcpy(block.get(), other.m_pBlock.get(), size);
    }
    // The entries keep their offsets, so each pointer moves with the block.
    for (TextField field : kMineTextFields) {
        const unsigned char* source = (other.*field).m_pEntry;
        (this->*field).m_pEntry =
            source == nullptr ? nullptr : block.get() + (source - other.m_pBlock.get());
    }
    m_pBlock = std::move(block);
}

void CMine::StealTextsFrom(CMine& other) noexcept {
    // Unrolled over the constant member list, so that every member is a
    // fixed offset: records move often while a collection is built.
    const auto take = [](CMineText& to, CMineText& from) {
        to.m_pEntry = std::exchange(from.m_pEntry, nullptr);
    };
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        (take(this->*kMineTextFields[I], other.*kMineTextFields[I]), ...);
    }
    (std::make_index_sequence<kTextFieldCount>{});
    m_pBlock = std::move(other.m_pBlock);
}

void CMine::SetTexts(const Texts& texts) {
    std::size_t size = 0;
    for (std::string_view text : texts) {
        if (!text.empty()) {
            size += LengthPrefixSize(text.size()) + text.size();
        }
    }
    std::unique_ptr<unsigned char[]> block;
    if (size != 0) {
        block = std::make_unique_for_overwrite<unsigned char[]>(size);
    }
    // Build the new block completely before the old one goes: the views may
    // point into it.
    unsigned char* out = block.get();
    const auto put = [&out](CMineText& target, std::string_view text) {
        if (text.empty()) {
            target.m_pEntry = nullptr;
            return;
        }
        target.m_pEntry = out;
        out += PutLength(out, text.size());
        std::memcpy(out, text.data(), text.size());
        out += text.size();
    };
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        (put(this->*kMineTextFields[I], texts[I]), ...);
    }
    (std::make_index_sequence<kTextFieldCount>{});
    m_pBlock = std::move(block);
}

void CMine::SetText(TextField field, std::string_view value) {
    Texts texts = GetTexts();
    for (std::size_t i = 0; i < kTextFieldCount; ++i) {
        if (kMineTextFields[i] == field) {
            texts[i] = value;
        }
    }
    SetTexts(texts);
}

CMine::Texts CMine::GetTexts() const {
    Texts texts;
    for (std::size_t i = 0; i < kTextFieldCount; ++i) {
        texts[i] = (this->*kMineTextFields[i]).View();
    }
    return texts;
}

bool operator==(const CMine& a, const CMine& b) {
    return a.m_nDepId == b.m_nDepId &&
           std::bit_cast<uint32_t>(a.m_fLatitude) == std::bit_cast<uint32_t>(b.m_fLatitude) &&
           std::bit_cast<uint32_t>(a.m_fLongitude) == std::bit_cast<uint32_t>(b.m_fLongitude) &&
           a.GetTexts() == b.GetTexts();
}
