#include "cli/json_line_writer.h"

#include <array>
#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

#include "cli/json_output.h"
#include "minedata/column_map.h"
#include "text/text_encoding.h"

namespace {

// What one byte of code page 1252 text becomes inside a JSON string: its
// UTF-8 form, or nlohmann's escape for it. At most six bytes ("\u001f").
struct ByteForm {
    std::array<char, 6> bytes;
    std::uint8_t length;
};

std::array<ByteForm, 256> MakeByteForms() {
    std::array<ByteForm, 256> forms{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        std::string form;
        switch (byte) {
            case '"':
                form = "\\\"";
                break;
            case '\\':
                form = "\\\\";
                break;
            case '\b':
                form = "\\b";
                break;
            case '\f':
                form = "\\f";
                break;
            case '\n':
                form = "\\n";
                break;
            case '\r':
                form = "\\r";
                break;
            case '\t':
                form = "\\t";
                break;
            default:
                if (byte < 0x20) {
                    static constexpr char kHex[] = "0123456789abcdef";
                    form = {'\\', 'u', '0', '0', kHex[byte >> 4], kHex[byte & 15]};
                } else {
                    const char single = static_cast<char>(byte);
                    form = Cp1252ToUtf8(std::string_view(&single, 1));
                }
        }
        ByteForm& entry = forms[byte];
        form.copy(entry.bytes.data(), entry.bytes.size());
        entry.length = static_cast<std::uint8_t>(form.size());
    }
    return forms;
}

const std::array<ByteForm, 256>& ByteForms() {
    static const std::array<ByteForm, 256> forms = MakeByteForms();
    return forms;
}

// For each text slot, its text's place in CMine::Texts.
std::array<std::size_t, kKnownColumnCount + 1> MakeTextIndexOfSlot() {
    std::array<std::size_t, kKnownColumnCount + 1> indexes{};
    for (int slot = 1; slot <= kKnownColumnCount; ++slot) {
        const CMine::TextField field = TextFieldOfSlot(slot);
        for (std::size_t i = 0; field != nullptr && i < kMineTextFields.size(); ++i) {
            if (kMineTextFields[i] == field) {
                indexes[static_cast<std::size_t>(slot)] = i;
            }
        }
    }
    return indexes;
}

std::size_t TextIndexOfSlot(int slot) {
    static const std::array<std::size_t, kKnownColumnCount + 1> indexes = MakeTextIndexOfSlot();
    return indexes[static_cast<std::size_t>(slot)];
}

bool WrittenAsIs(unsigned char byte) {
    return byte >= 0x20 && byte < 0x80 && byte != '"' && byte != '\\';
}

}  // namespace

void CJsonLineWriter::AppendCp1252String(std::string_view text) {
    const std::array<ByteForm, 256>& forms = ByteForms();
    m_text += '"';
    std::size_t pos = 0;
    while (pos < text.size()) {
        // Runs of plain ASCII go across in one piece.
        std::size_t run = pos;
        while (run < text.size() && WrittenAsIs(static_cast<unsigned char>(text[run]))) {
            ++run;
        }
        m_text.append(text.data() + pos, run - pos);
        if (run == text.size()) {
            break;
        }
        const ByteForm& form = forms[static_cast<unsigned char>(text[run])];
        m_text.append(form.bytes.data(), form.length);
        pos = run + 1;
    }
    m_text += '"';
}

void CJsonLineWriter::AppendNumber(double value) {
    if (!std::isfinite(value)) {
        m_text += "null";
        return;
    }
    // nlohmann's own conversion, so that the digits are the ones its dump()
    // writes for the same double.
    std::array<char, 64> buffer;
    const char* end =
        nlohmann::detail::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    m_text.append(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
}

void CJsonLineWriter::AppendNumber(std::uint64_t value) {
    std::array<char, 24> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    m_text.append(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
}

void CJsonLineWriter::AppendNumber(std::int64_t value) {
    std::array<char, 24> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    m_text.append(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
}

void CJsonLineWriter::AppendOptionalCp1252String(const std::optional<std::string>& text) {
    if (text) {
        AppendCp1252String(*text);
    } else {
        m_text += "null";
    }
}

void CJsonLineWriter::AppendMainPage(const CMine& mine) {
    FillMainPageTexts(mine, m_page);
    AppendRaw("{\"name\":");
    AppendCp1252String(m_page.name);
    AppendRaw(",\"position\":");
    AppendCp1252String(m_page.position);
    AppendRaw(",\"location\":");
    AppendCp1252String(m_page.location);
    AppendRaw(",\"commodity_type\":");
    AppendOptionalCp1252String(m_page.commodityType);
    AppendRaw(",\"major\":");
    AppendCp1252String(m_page.major);
    AppendRaw(",\"minor\":");
    AppendCp1252String(m_page.minor);
    AppendRaw(",\"trace\":");
    AppendCp1252String(m_page.trace);
    AppendRaw(",\"discovery\":");
    AppendCp1252String(m_page.discovery);
    AppendRaw(",\"production\":");
    AppendOptionalCp1252String(m_page.production);
    AppendRaw(",\"production_years\":");
    AppendCp1252String(m_page.productionYears);
    m_text += '}';
}

void CJsonLineWriter::AppendMine(std::size_t index, const CMine& mine) {
    AppendRaw("{\"index\":");
    AppendNumber(static_cast<std::uint64_t>(index));
    AppendRaw(",\"fields\":{");
    const CMine::Texts texts = mine.GetTexts();
    for (int slot = 1; slot <= kKnownColumnCount; ++slot) {
        if (slot > 1) {
            m_text += ',';
        }
        m_text += '"';
        AppendRaw(kKnownColumnNames[static_cast<std::size_t>(slot)]);
        AppendRaw("\":");
        switch (slot) {
            case kSlotDepId:
                AppendNumber(static_cast<std::int64_t>(mine.m_nDepId));
                break;
            case kSlotLatitude:
                AppendNumber(static_cast<double>(mine.m_fLatitude));
                break;
            case kSlotLongitude:
                AppendNumber(static_cast<double>(mine.m_fLongitude));
                break;
            default:
                AppendCp1252String(texts[TextIndexOfSlot(slot)]);
        }
    }
    AppendRaw("},\"main_page\":");
    AppendMainPage(mine);
    m_text += '}';
}

void CJsonLineWriter::AppendNearMine(std::size_t index, const CMine& mine, double distanceKm,
                                     double bearingDegrees) {
    AppendRaw("{\"index\":");
    AppendNumber(static_cast<std::uint64_t>(index));
    AppendRaw(",\"distance_km\":");
    AppendNumber(RoundedDistanceKm(distanceKm));
    AppendRaw(",\"bearing_deg\":");
    AppendNumber(RoundedBearing(bearingDegrees));
    AppendRaw(",\"main_page\":");
    AppendMainPage(mine);
    m_text += '}';
}
