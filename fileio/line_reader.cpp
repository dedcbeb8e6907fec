#include "fileio/line_reader.h"

#include <cstring>

CLineReader::CLineReader(std::FILE* file, std::size_t blockSize)
    : m_pFileSource(std::make_unique<CFileByteSource>(file)),
      m_pSource(m_pFileSource.get()),
      m_nBlockSize(blockSize == 0 ? 1 : blockSize),
      m_pBlock(std::make_unique_for_overwrite<char[]>(m_nBlockSize)) {}

CLineReader::CLineReader(IByteSource& source, std::size_t blockSize)
    : m_pSource(&source),
      m_nBlockSize(blockSize == 0 ? 1 : blockSize),
      m_pBlock(std::make_unique_for_overwrite<char[]>(m_nBlockSize)) {}

CLineReader::Result CLineReader::Fill() {
    if (m_nError != 0) {
        return Result::Error;
    }
    if (m_bEof) {
        return Result::End;
    }
    const std::size_t got = m_pSource->Read(m_pBlock.get(), m_nBlockSize);
    m_nPos = 0;
    m_nEnd = got;
    m_nBytesRead += got;
    if (got < m_nBlockSize) {
        if (m_pSource->Failure() != 0) {
            m_nError = m_pSource->Failure();
            m_nEnd = 0;
            return Result::Error;
        }
        m_bEof = true;
    }
    return Result::Line;
}

CLineReader::Result CLineReader::ReadLine(std::string_view& line) {
    bool carrying = false;
    m_strCarry.clear();
    for (;;) {
        if (m_nPos < m_nEnd) {
            const char* const start = m_pBlock.get() + m_nPos;
            const std::size_t available = m_nEnd - m_nPos;
            const void* feed = std::memchr(start, '\n', available);
            if (feed != nullptr) {
                const std::size_t length =
                    static_cast<std::size_t>(static_cast<const char*>(feed) - start);
                m_nPos += length + 1;
                if (carrying) {
                    m_strCarry.append(start, length);
                    line = m_strCarry;
                } else {
                    line = std::string_view(start, length);
                }
                if (!line.empty() && line.back() == '\r') {
                    line.remove_suffix(1);
                }
                return Result::Line;
            }
            m_strCarry.append(start, available);
            carrying = true;
            m_nPos = m_nEnd;
        }
        const Result filled = Fill();
        if (filled == Result::Error) {
            return Result::Error;
        }
        if (filled == Result::End) {
            if (carrying) {
                // A last line without a line feed; a carriage return at its
                // end is not followed by a feed, so it stays.
                line = m_strCarry;
                return Result::Line;
            }
            return Result::End;
        }
    }
}

CLineReader::Result CLineReader::ReadLines(std::string& text, std::size_t atLeast) {
    text.clear();
    // Room for the usual batch up front: growing would copy it again.
    text.reserve(atLeast + m_nBlockSize);
    for (;;) {
        if (m_nPos < m_nEnd) {
            const char* const start = m_pBlock.get() + m_nPos;
            const std::size_t take = m_nEnd - m_nPos;
            if (text.size() + take >= atLeast) {
                // Enough: up to the block's last line feed, when it has one.
                std::size_t lastFeed = take;
                while (lastFeed > 0 && start[lastFeed - 1] != '\n') {
                    --lastFeed;
                }
                if (lastFeed > 0) {
                    text.append(start, lastFeed);
                    m_nPos += lastFeed;
                    return Result::Line;
                }
            }
            text.append(start, take);
            m_nPos = m_nEnd;
        }
        const Result filled = Fill();
        if (filled == Result::Error) {
            return Result::Error;
        }
        if (filled == Result::End) {
            return text.empty() ? Result::End : Result::Line;
        }
    }
}
