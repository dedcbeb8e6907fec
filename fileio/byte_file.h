#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <utility>

#include "fileio/file_ptr.h"

// What was being done to a file when it failed; it gives the message its verb.
enum class FileAction {
    Open,    // opening an existing file for reading
    Create,  // creating a new file for writing
    Read,
    Write,    // writing, flushing or closing a file being written
    Replace,  // moving a finished file over its target
};

// A file operation that failed, with the system's reason. Its text is ready
// to show: "Cannot open the file 'x.dat': No such file or directory."
class CFileException : public std::runtime_error {
public:
    CFileException(FileAction action, std::string path, std::string reason);

    // The reason as the C runtime words the errno value `error`.
    static CFileException FromErrno(FileAction action, std::string path, int error);

    FileAction GetAction() const { return m_action; }
    const std::string& GetPath() const { return m_path; }
    const std::string& GetReason() const { return m_reason; }

private:
    FileAction m_action;
    std::string m_path;
    std::string m_reason;
};

// A file of bytes: what an archive reads from or writes to. Implemented over a
// C stream for real files and over a string for tests and in-memory work.
class CFile {
public:
    virtual ~CFile() = default;

    // Reads up to `count` bytes into `buffer`; fewer only at the end of the
    // file. Throws CFileException on a read error.
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    // Writes all `count` bytes, or throws CFileException.
    virtual void Write(const void* data, std::size_t count) = 0;
    // Hands everything written so far to the system and the disk; throws
    // CFileException when that fails.
    virtual void Flush() = 0;

    // Size of the file in bytes: for a file being read, as it was opened.
    virtual std::uint64_t GetLength() const = 0;
    // Bytes read or written since the file was opened.
    virtual std::uint64_t GetPosition() const = 0;
    // The name used in messages.
    virtual const std::string& GetFilePath() const = 0;
};

// A file on disk, read or written through a C stream in binary mode.
class CDiskFile final : public CFile {
public:
    // Opens `path` for reading. Throws CFileException (FileAction::Open) with
    // the system's reason when it cannot, or when `path` is a folder.
    explicit CDiskFile(const std::string& path);
    // Reads `file`, opened from `path` and at its start; null when it did not
    // open, errno telling why. Throws as the constructor above.
    CDiskFile(FilePtr file, const std::string& path);
    // Takes over `file`, a stream open for binary writing at its start;
    // `displayPath` names it in messages.
    CDiskFile(std::FILE* file, std::string displayPath);
    // Closes the stream if still open, ignoring errors: call Close to learn them.
    ~CDiskFile() override;
    CDiskFile(const CDiskFile&) = delete;
    CDiskFile& operator=(const CDiskFile&) = delete;

    std::size_t Read(void* buffer, std::size_t count) override;
    void Write(const void* data, std::size_t count) override;
    void Flush() override;
    std::uint64_t GetLength() const override;
    std::uint64_t GetPosition() const override { return m_nPosition; }
    const std::string& GetFilePath() const override { return m_strPath; }

    // Closes the stream. Throws CFileException (FileAction::Write) when bytes
    // still buffered cannot be written. Nothing may be done afterwards.
    void Close();

private:
    std::FILE* m_pFile = nullptr;
    std::string m_strPath;
    std::uint64_t m_nLength = 0;  // reading only
    std::uint64_t m_nPosition = 0;
    bool m_bReading = false;
};

// A file held in memory: read from the bytes it was made with, or written to
// an empty one.
class CMemoryFile final : public CFile {
public:
    // An empty file to write into.
    CMemoryFile() = default;
    // A file to read `bytes` from.
    explicit CMemoryFile(std::string bytes) : m_bytes(std::move(bytes)) {}

    std::size_t Read(void* buffer, std::size_t count) override;
    // Appends; throws CFileException with "no space" (ENOSPC) when the file
    // would grow beyond its capacity.
    void Write(const void* data, std::size_t count) override;
    void Flush() override {}
    std::uint64_t GetLength() const override { return m_bytes.size(); }
    std::uint64_t GetPosition() const override { return m_nPosition; }
    const std::string& GetFilePath() const override { return m_strPath; }

    // Limits the size the file may grow to, as a full disk would.
    void SetCapacity(std::size_t capacity) { m_nCapacity = capacity; }
    // Everything written (or the bytes it was made with).
    const std::string& Bytes() const { return m_bytes; }

private:
    std::string m_bytes;
    std::string m_strPath = "(memory)";
    std::size_t m_nPosition = 0;
    std::size_t m_nCapacity = static_cast<std::size_t>(-1);
};
