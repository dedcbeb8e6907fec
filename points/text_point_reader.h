#pragma once

#include <cstddef>
#include <istream>

#include "points/bounded_line_reader.h"
#include "points/query_point.h"

// Reads "LAT,LON" lines: decimal degrees with blanks (spaces, tabs) allowed
// around each number. Blank lines and lines whose first non-blank character is
// '#' are skipped; a line may end in CR LF. A line that is not a point gives
// an error for that line, and reading goes on with the next one.
//
// At most kMaxLineBytes of a line are kept: the rest of a longer line is read
// and dropped, and the line is an error unless it is a comment.
class CTextPointReader : public IPointReader {
public:
    static constexpr std::size_t kMaxLineBytes = 1024;

    // `input` must outlive the reader.
    explicit CTextPointReader(std::istream& input) : m_lines(input, kMaxLineBytes) {}

    bool Next(QueryPoint& point) override;

private:
    CBoundedLineReader m_lines;
};
