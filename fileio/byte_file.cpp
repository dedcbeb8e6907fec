#include "fileio/byte_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "fileio/platform_file.h"
#include "text/system_error_text.h"

namespace {

const char* Verb(FileAction action) {
    switch (action) {
        case FileAction::Open:
            return "open";
        case FileAction::Create:
            return "create";
        case FileAction::Read:
            return "read";
        case FileAction::Write:
            return "write";
        case FileAction::Replace:
            return "replace";
    }
    return "use";
}

std::string FileErrorText(FileAction action, const std::string& path, const std::string& reason) {
    return std::string("Cannot ") + Verb(action) + " the file '" + path + "': " + reason + ".";
}

// Opens `path` for reading with errno cleared first, so that a failure
// without a reason of its own is told apart.
FilePtr OpenWithFreshErrno(const std::string& path) {
    errno = 0;
    return FilePtr(OpenFileForReading(path));
}

}  // namespace

CFileException::CFileException(FileAction action, std::string path, std::string reason)
    : std::runtime_error(FileErrorText(action, path, reason)),
      m_action(action),
      m_path(std::move(path)),
      m_reason(std::move(reason)) {}

CFileException CFileException::FromErrno(FileAction action, std::string path, int error) {
    return CFileException(action, std::move(path), ErrnoText(error));
}

CDiskFile::CDiskFile(const std::string& path) : CDiskFile(OpenWithFreshErrno(path), path) {}

CDiskFile::CDiskFile(FilePtr file, const std::string& path)
    : m_pFile(file.release()), m_strPath(path), m_bReading(true) {
    if (m_pFile == nullptr) {
        throw CFileException::FromErrno(FileAction::Open, path, errno != 0 ? errno : ENOENT);
    }
    // The size bounds every length read from the file, so that a damaged
    // length cannot ask for more memory than the file could fill.
    const int error = GetOpenFileSize(m_pFile, m_nLength);
    if (error != 0) {
        std::fclose(m_pFile);
        m_pFile = nullptr;
        throw CFileException::FromErrno(FileAction::Open, path, error);
    }
}

CDiskFile::CDiskFile(std::FILE* file, std::string displayPath)
    : m_pFile(file), m_strPath(std::move(displayPath)) {}

CDiskFile::~CDiskFile() {
    if (m_pFile != nullptr) {
        std::fclose(m_pFile);
    }
}

std::size_t CDiskFile::Read(void* buffer, std::size_t count) {
    if (count == 0) {
        return 0;
    }
    errno = 0;
    const std::size_t got = std::fread(buffer, 1, count, m_pFile);
    if (got < count && std::ferror(m_pFile)) {
        throw CFileException::FromErrno(FileAction::Read, m_strPath, errno != 0 ? errno : EIO);
    }
    m_nPosition += got;
    return got;
}

void CDiskFile::Write(const void* data, std::size_t count) {
    if (count == 0) {
        return;
    }
    errno = 0;
    const std::size_t put = std::fwrite(data, 1, count, m_pFile);
    m_nPosition += put;
    if (put < count) {
        throw CFileException::FromErrno(FileAction::Write, m_strPath, errno != 0 ? errno : EIO);
    }
}

void CDiskFile::Flush() {
    errno = 0;
    if (std::fflush(m_pFile) != 0) {
        throw CFileException::FromErrno(FileAction::Write, m_strPath, errno != 0 ? errno : EIO);
    }
    if (!m_bReading) {
        const int error = SyncFileToDisk(m_pFile);
        if (error != 0) {
            throw CFileException::FromErrno(FileAction::Write, m_strPath, error);
        }
    }
}

std::uint64_t CDiskFile::GetLength() const {
    return m_bReading ? m_nLength : m_nPosition;
}

void CDiskFile::Close() {
    std::FILE* file = m_pFile;
    m_pFile = nullptr;
    errno = 0;
    if (file != nullptr && std::fclose(file) != 0) {
        throw CFileException::FromErrno(FileAction::Write, m_strPath, errno != 0 ? errno : EIO);
    }
}

std::size_t CMemoryFile::Read(void* buffer, std::size_t count) {
    const std::size_t got = std::min(count, m_bytes.size() - m_nPosition);
    if (got != 0) {
        std::memcpy(buffer, m_bytes.data() + m_nPosition, got);
    }
    m_nPosition += got;
    return got;
}

void CMemoryFile::Write(const void* data, std::size_t count) {
    if (m_bytes.size() > m_nCapacity || count > m_nCapacity - m_bytes.size()) {
        throw CFileException::FromErrno(FileAction::Write, m_strPath, ENOSPC);
    }
    m_bytes.append(static_cast<const char*>(data), count);
    m_nPosition = m_bytes.size();
}
