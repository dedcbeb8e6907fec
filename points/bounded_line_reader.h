#pragma once

#include <cstddef>
#include <istream>
#include <string>

// Reads a stream (a file, standard input, a string) line by line, keeping at
// most a bounded number of bytes of each line, so that memory stays bounded
// however long a line is. A line ends at LF; a CR before it stays in the
// line. (minedata's CLineReader reads a data file in large blocks instead.)
class CBoundedLineReader {
public:
    // `input` must outlive the reader.
    CBoundedLineReader(std::istream& input, std::size_t maxLineBytes)
        : m_input(input), m_nMaxLineBytes(maxLineBytes) {}

    // Reads the next line into Line(), its first maxLineBytes bytes, and
    // sets TooLong() when more were dropped; false at the end of the input.
    bool Next();

    const std::string& Line() const { return m_line; }
    bool TooLong() const { return m_bTooLong; }
    // The number of the line last read, from 1.
    std::size_t Number() const { return m_nNumber; }

private:
    std::istream& m_input;
    std::size_t m_nMaxLineBytes;
    std::string m_line;
    bool m_bTooLong = false;
    std::size_t m_nNumber = 0;
};
