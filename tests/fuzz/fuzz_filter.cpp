// libFuzzer target: the filter value parsers on arbitrary bytes, in memory.
// The first byte picks the parser, the rest is the option's text. A value
// accepted must be what the filter relies on, and the filter built from it
// must judge a record made of the same bytes without fault. The caseless
// comparison under it must fold idempotently, find a text in either encoding
// of the same characters, and agree with ASCII case rules on ASCII texts.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "minedata/mine_filter.h"
#include "tests/fuzz/fuzz_support.h"
#include "text/ascii_text.h"
#include "text/latin_case.h"
#include "text/text_encoding.h"

using fuzz::Require;

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

void CheckText(const std::string& text, std::string_view input) {
    Require(!text.empty() && !IsBlank(text.front()) && !IsBlank(text.back()));
    Require(input.find(text) != std::string_view::npos);
}

bool IsAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

bool ContainsIgnoringAsciiCase(std::string_view text, std::string_view part) {
    for (std::size_t at = 0; at + part.size() <= text.size(); ++at) {
        if (EqualIgnoringAsciiCase(text.substr(at, part.size()), part)) {
            return true;
        }
    }
    return false;
}

void CheckCaseless(std::string_view text) {
    const CaselessText caseless(text);
    for (const char32_t c : caseless.Folded()) {
        Require(FoldLatinCase(c) == c);
    }
    // The same characters in the other encoding are the same text.
    const std::string utf8 = DataTextToUtf8(text);
    Require(caseless.Equals(utf8) && caseless.OccursIn(utf8));
    const std::string cp1252 = DataTextToCp1252(text);
    if (DataTextToUtf8(cp1252) == utf8) {
        Require(caseless.Equals(cp1252) && caseless.OccursIn(cp1252));
    }
    // On ASCII the old byte rule holds: halves compared and sought.
    const std::string_view head = text.substr(0, text.size() / 2);
    const std::string_view tail = text.substr(text.size() / 2);
    if (IsAscii(text)) {
        const CaselessText caselessHead(head);
        Require(caselessHead.Equals(tail) == EqualIgnoringAsciiCase(head, tail));
        Require(caselessHead.OccursIn(tail) == ContainsIgnoringAsciiCase(tail, head));
    }
    // A first part read as the whole text reads is found in it.
    if (IsUtf8(head) == IsUtf8(text)) {
        Require(CaselessText(head).OccursIn(text));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    CheckCaseless(text);
    if (size >= 4) {
        const char32_t c = (data[1] | data[2] << 8 | (data[3] & 0x1Fu) << 16);
        Require(FoldLatinCase(FoldLatinCase(c)) == FoldLatinCase(c));
    }
    CMine mine;
    mine.SetText(&CMine::m_strComMajor, text);
    mine.SetText(&CMine::m_strState, text);
    mine.SetText(&CMine::m_strDevStat, text);
    mine.SetText(&CMine::m_strSiteName, text);
    MineFilter filter;
    try {
        switch (data[0] % 4) {
            case 0: {
                const GeoBox box = ParseGeoBox(text);
                Require(box.south >= -90 && box.south <= box.north && box.north <= 90);
                Require(box.west >= -180 && box.west <= 180 && box.east >= -180 && box.east <= 180);
                Require(box.Contains(box.south, box.west) && box.Contains(box.north, box.east));
                filter.box = box;
                break;
            }
            case 1: {
                const std::string commodity = ParseCommodity(text);
                CheckText(commodity, text);
                Require(commodity.find(',') == std::string::npos);
                filter.commodity.emplace(commodity);
                // The record's list is the text itself, one item.
                Require(filter.Matches(mine));
                break;
            }
            case 2:
                CheckText(ParseFilterText(text), text);
                filter.state.emplace(ParseFilterText(text));
                Require(filter.Matches(mine));
                break;
            default:
                CheckText(ParseFilterText(text), text);
                filter.name.emplace(ParseFilterText(text));
                Require(filter.Matches(mine));
                break;
        }
    } catch (const FilterValueError& error) {
        Require(*error.what() != '\0');
        return 0;
    }
    CMineArray mines;
    mines.Add(CMine());
    mines.Add(mine);
    Require(SelectMines(mines, filter).size() <= 1);
    return 0;
}
