#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

// Splits the first `maxFields` fields of a comma-separated line and returns
// them after the whole line as element 0, exactly as CCsvLine splits
// it: a field that starts with a quote runs to its closing quote (a doubled
// quote is text) and on to the next separator; any other field runs to the
// next separator, quotes and all. Fields beyond `maxFields` are not looked
// at, and an empty last field after a final separator is left out: both
// read as missing, which callers treat as empty. The views point into
// `line`; they are kept in `room`, which only ever grows, so that a caller
// splitting line after line allocates nothing.
//
// The loader's hot path: the separators of 64 bytes are found in one step,
// and each unquoted field, the most common, then costs a few bit operations.
std::span<const std::string_view> SplitLeadingFields(std::string_view line, std::size_t maxFields,
                                                     char separator, char quote,
                                                     std::vector<std::string_view>& room);
