#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "fileio/byte_source.h"

// Reads the lines of an open file, or of any byte source, in large blocks. A line ends at a line
// feed; one carriage return just before the line feed is not part of the
// line; a lone carriage return is an ordinary byte. A last line without a
// line feed still counts. Lines may be of any length. Only one block and the
// current line are held in memory, never the whole file.
class CLineReader {
public:
    static constexpr std::size_t kDefaultBlockSize = std::size_t{1} << 20;

    enum class Result {
        Line,   // `line` holds the next line
        End,    // no more lines
        Error,  // the file could not be read; LastError() tells why
    };

    // `file` stays owned by the caller and must outlive the reader.
    explicit CLineReader(std::FILE* file, std::size_t blockSize = kDefaultBlockSize);
    // `source` stays owned by the caller and must outlive the reader.
    explicit CLineReader(IByteSource& source, std::size_t blockSize = kDefaultBlockSize);
    CLineReader(const CLineReader&) = delete;
    CLineReader& operator=(const CLineReader&) = delete;

    // Fetches the next line, without its terminator. The view stays valid
    // until the next call. After End or Error every later call gives the same.
    Result ReadLine(std::string_view& line);

    // Fetches whole lines, with their line ends, into `text` (replacing what
    // it held) until it holds at least `atLeast` bytes or the file ends. Line
    // means `text` holds something; the file's last line may lack its line
    // feed. Mixes freely with ReadLine.
    Result ReadLines(std::string& text, std::size_t atLeast);

    // The errno value of the failed read, after Error.
    int LastError() const { return m_nError; }
    // True until the first byte of the file has been read.
    bool NothingRead() const { return m_nBytesRead == 0; }
    // True once every byte of the file has been handed out.
    bool AtEnd() const { return m_bEof && m_nPos >= m_nEnd; }

private:
    Result Fill();

    // Set when the reader was given a file rather than a source.
    std::unique_ptr<CFileByteSource> m_pFileSource;
    IByteSource* m_pSource;
    std::size_t m_nBlockSize;
    std::unique_ptr<char[]> m_pBlock;
    std::size_t m_nPos = 0;
    std::size_t m_nEnd = 0;
    // The start of a line that runs over the end of the block.
    std::string m_strCarry;
    unsigned long long m_nBytesRead = 0;
    bool m_bEof = false;
    int m_nError = 0;
};
