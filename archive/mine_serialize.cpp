#include <bit>
#include <cstdint>
#include <string>

#include "archive/archive.h"
#include "minedata/mine.h"

static_assert(CMine::kTextFieldCount == kRecordTextCount);

void CMine::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteDWord(std::bit_cast<std::uint32_t>(m_fLatitude));
        ar.WriteDWord(std::bit_cast<std::uint32_t>(m_fLongitude));
        ar.WriteWord(static_cast<std::uint16_t>(static_cast<std::uint32_t>(m_nDepId) & 0xFFFFu));
        for (std::string_view text : GetTexts()) {
            ar.WriteString(text);
        }
        return;
    }

    // Everything is read before the record changes, so a damaged archive
    // leaves it as it was.
    const float latitude = std::bit_cast<float>(ar.ReadDWord());
    const float longitude = std::bit_cast<float>(ar.ReadDWord());
    const std::uint16_t depId = ar.ReadWord();
    std::string bytes;
    std::array<std::size_t, kTextFieldCount> lengths{};
    for (std::size_t& length : lengths) {
        length = ar.ReadStringAppend(bytes);
    }
    Texts texts;
    std::size_t offset = 0;
    for (std::size_t i = 0; i < kTextFieldCount; ++i) {
        texts[i] = std::string_view(bytes).substr(offset, lengths[i]);
        offset += lengths[i];
    }
    SetTexts(texts);
    m_fLatitude = latitude;
    m_fLongitude = longitude;
    m_nDepId = depId;
}
