#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// Splits the first `maxFields` fields of a comma-separated line into
// `fields`, after the whole line as element 0, exactly as CCsvLine splits
// it: a field that starts with a quote runs to its closing quote (a doubled
// quote is text) and on to the next separator; any other field runs to the
// next separator, quotes and all. Fields beyond `maxFields` are not looked
// at, and an empty last field after a final separator is left out: both
// read as missing, which callers treat as empty. The views point into
// `line`.
//
// The loader's hot path: unquoted fields, the most common, are found eight
// bytes at a time, every separator of a word in one step.
void SplitLeadingFields(std::string_view line, std::size_t maxFields, char separator, char quote,
                        std::vector<std::string_view>& fields);
