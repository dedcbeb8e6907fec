#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "minedata/geo_box.h"
#include "minedata/mine.h"
#include "minedata/mine_array.h"
#include "text/latin_case.h"

// Which mines an export or listing takes. Every criterion given must hold
// (they combine with AND); a filter with none takes every mine. Texts are
// compared as the bytes the data holds, ASCII letters in any case.
struct MineFilter {
    std::optional<GeoBox> box;
    // A whole item of the comma-separated major, minor or trace commodity
    // lists, blanks around the item not counted.
    std::optional<CaselessText> commodity;
    // The whole state, and the whole development status, blanks around
    // them not counted.
    std::optional<CaselessText> state;
    std::optional<CaselessText> status;
    // Any part of the site name.
    std::optional<CaselessText> name;

    bool IsEmpty() const { return !box && !commodity && !state && !status && !name; }
    bool Matches(const CMine& mine) const;
};

// The indices of the mines (elements 1 on; element 0 is the placeholder)
// that `filter` takes, in file order.
std::vector<std::size_t> SelectMines(const CMineArray& mines, const MineFilter& filter);

// A filter value that cannot be used; what() says why, without naming the
// option it came from.
class FilterValueError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// "SOUTH,WEST,NORTH,EAST": four decimal numbers, latitudes within ±90 with
// south not above north, longitudes within ±180. Throws FilterValueError.
GeoBox ParseGeoBox(std::string_view text);

// A text criterion without the blanks around it; throws FilterValueError
// when nothing is left.
std::string ParseFilterText(std::string_view text);

// A commodity criterion: a text criterion holding no comma, since it must
// match one whole item of a list. Throws FilterValueError.
std::string ParseCommodity(std::string_view text);
