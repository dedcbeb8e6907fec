#include "fileio/byte_source.h"

#include <cerrno>

std::size_t CFileByteSource::Read(char* buffer, std::size_t count) {
    errno = 0;
    const std::size_t got = std::fread(buffer, 1, count, m_pFile);
    if (got < count && std::ferror(m_pFile)) {
        // Some C runtimes leave errno at 0; a failure must still show.
        m_nError = errno != 0 ? errno : EIO;
    }
    return got;
}
