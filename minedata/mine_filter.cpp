#include "minedata/mine_filter.h"

#include <array>

#include "text/ascii_text.h"
#include "text/number_text.h"
#include "text/trim.h"

namespace {

// True when one comma-separated item of `list`, blanks around it not
// counted, is `item`.
bool ListHoldsItem(std::string_view list, const CaselessText& item) {
    for (std::string_view rest = list;;) {
        const std::size_t comma = rest.find(',');
        if (item.Equals(TrimSpacesAndTabs(rest.substr(0, comma)), list)) {
            return true;
        }
        if (comma == std::string_view::npos) {
            return false;
        }
        rest.remove_prefix(comma + 1);
    }
}

double ParseBoxNumber(std::string_view text, const char* edge, double limit) {
    const std::optional<double> value = ParseWholeDecimal(text);
    if (!value) {
        throw FilterValueError(std::string(edge) + " is not a decimal number: '" +
                               std::string(text) + "'");
    }
    if (*value < -limit || *value > limit) {
        const std::string bound = limit == 90.0 ? "90" : "180";
        throw FilterValueError(std::string(edge) + " " + std::string(text) + " is outside -" +
                               bound + " to " + bound + " degrees");
    }
    return *value;
}

}  // namespace

bool MineFilter::Matches(const CMine& mine) const {
    if (box && !box->Contains(mine.m_fLatitude, mine.m_fLongitude)) {
        return false;
    }
    if (commodity && !ListHoldsItem(mine.m_strComMajor, *commodity) &&
        !ListHoldsItem(mine.m_strComMinor, *commodity) &&
        !ListHoldsItem(mine.m_strComTrace, *commodity)) {
        return false;
    }
    if (state && !state->Equals(TrimSpacesAndTabs(mine.m_strState))) {
        return false;
    }
    if (status && !status->Equals(TrimSpacesAndTabs(mine.m_strDevStat))) {
        return false;
    }
    return !name || name->OccursIn(mine.m_strSiteName);
}

std::vector<std::size_t> SelectMines(const CMineArray& mines, const MineFilter& filter) {
    std::vector<std::size_t> chosen;
    for (std::size_t index = 1; index < mines.GetSize(); ++index) {
        if (filter.Matches(mines[index])) {
            chosen.push_back(index);
        }
    }
    return chosen;
}

GeoBox ParseGeoBox(std::string_view text) {
    static constexpr std::array<const char*, 4> kEdges = {"SOUTH", "WEST", "NORTH", "EAST"};
    std::array<double, 4> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::size_t comma = text.find(',');
        if ((comma == std::string_view::npos) != (i + 1 == values.size())) {
            throw FilterValueError("expected four numbers SOUTH,WEST,NORTH,EAST");
        }
        const double limit = i % 2 == 0 ? 90.0 : 180.0;
        values[i] = ParseBoxNumber(text.substr(0, comma), kEdges[i], limit);
        text.remove_prefix(comma == std::string_view::npos ? text.size() : comma + 1);
    }
    const GeoBox box{values[0], values[1], values[2], values[3]};
    if (box.south > box.north) {
        throw FilterValueError("SOUTH is above NORTH");
    }
    return box;
}

std::string ParseFilterText(std::string_view text) {
    const std::string_view trimmed = TrimSpacesAndTabs(text);
    if (trimmed.empty()) {
        throw FilterValueError("the value is empty");
    }
    return std::string(trimmed);
}

std::string ParseCommodity(std::string_view text) {
    std::string commodity = ParseFilterText(text);
    if (commodity.find(',') != std::string::npos) {
        throw FilterValueError("one commodity, without commas: '" + commodity + "'");
    }
    return commodity;
}
