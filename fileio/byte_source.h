#pragma once

#include <cstddef>
#include <cstdio>

// A stream of bytes the line reader pulls from: an open file, or a member of
// a zip inflated as it is read.
class IByteSource {
public:
    virtual ~IByteSource() = default;

    // Copies up to `count` bytes to `buffer` and returns how many; fewer than
    // `count` only at the end of the bytes or after a failure (Failure() then
    // tells which).
    virtual std::size_t Read(char* buffer, std::size_t count) = 0;

    // 0 while the bytes read are good, else the errno value of the failure.
    virtual int Failure() const = 0;
};

// The bytes of an open file, from where it stands; the caller owns the file.
class CFileByteSource : public IByteSource {
public:
    explicit CFileByteSource(std::FILE* file) : m_pFile(file) {}

    std::size_t Read(char* buffer, std::size_t count) override;
    int Failure() const override { return m_nError; }

private:
    std::FILE* m_pFile;
    int m_nError = 0;
};
