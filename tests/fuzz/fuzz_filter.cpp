// libFuzzer target: the filter value parsers on arbitrary bytes, in memory.
// The first byte picks the parser, the rest is the option's text. A value
// accepted must be what the filter relies on, and the filter built from it
// must judge a record made of the same bytes without fault.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "minedata/mine_filter.h"
#include "tests/fuzz/fuzz_support.h"

using fuzz::Require;

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

void CheckText(const std::string& text, std::string_view input) {
    Require(!text.empty() && !IsBlank(text.front()) && !IsBlank(text.back()));
    Require(input.find(text) != std::string_view::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
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
            case 1:
                filter.commodity = ParseCommodity(text);
                CheckText(*filter.commodity, text);
                Require(filter.commodity->find(',') == std::string::npos);
                // The record's list is the text itself, one item.
                Require(filter.Matches(mine));
                break;
            case 2:
                filter.state = ParseFilterText(text);
                CheckText(*filter.state, text);
                Require(filter.Matches(mine));
                break;
            default:
                filter.name = ParseFilterText(text);
                CheckText(*filter.name, text);
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
