#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

// Splits a comma-separated line exactly as CCsvLine splits it and returns
// the fields numbered in `columns` (1 is the first field; the numbers
// ascend, repeats allowed), in that order. A field that starts with a quote
// runs to its closing quote (a doubled quote is text) and on to the next
// separator; any other field runs to the next separator, quotes and all. A
// field the line does not have is empty, as is an empty last field after a
// final separator. Fields before the last one wanted are measured, not kept,
// and fields after it are not looked at, so a line of millions of fields
// costs no memory of its own. The views point into `line`; they are kept in
// `room`, which only ever grows, so that a caller splitting line after line
// allocates nothing.
//
// The loader's hot path: the separators and quotes of 64 bytes are found in
// one step, and each field then costs a few bit operations. Each field also
// tells where its quotes are, so that the loader needs no look of its own.
enum class FieldQuotes : unsigned char {
    None,            // no quote character
    AtBothEndsOnly,  // the first and the last byte, and nowhere else
    Elsewhere,       // any other place
};

struct ChosenField {
    std::string_view text;
    FieldQuotes quotes = FieldQuotes::None;
};

std::span<const ChosenField> SplitChosenFields(std::string_view line,
                                               std::span<const std::size_t> columns, char separator,
                                               char quote, std::vector<ChosenField>& room);
