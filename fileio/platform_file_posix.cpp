#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <limits>

#include "fileio/platform_file.h"
#include "text/system_error_text.h"

std::FILE* OpenFileForReading(const std::string& path) {
    return std::fopen(path.c_str(), "rb");
}

bool RemoveFile(const std::string& path) {
    return std::remove(path.c_str()) == 0;
}

std::FILE* CreateNewFile(const std::string& path, int& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "wb");
    if (file == nullptr) {
        error = errno;
        ::close(fd);
        ::unlink(path.c_str());
    }
    return file;
}

int GetOpenFileSize(std::FILE* file, std::uint64_t& size) {
    struct stat info {};
    if (::fstat(::fileno(file), &info) != 0) {
        return errno;
    }
    if (S_ISDIR(info.st_mode)) {
        return EISDIR;
    }
    size = info.st_size > 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
    return 0;
}

bool SeekFile(std::FILE* file, std::uint64_t offset) {
    return offset <= static_cast<std::uint64_t>(std::numeric_limits<off_t>::max()) &&
           ::fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
}

int SyncFileToDisk(std::FILE* file) {
    return ::fsync(::fileno(file)) == 0 ? 0 : errno;
}

std::string ReplaceFileWith(const std::string& source, const std::string& target) {
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        // rename would put a read-only file aside as readily as any other.
        if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
            return kReadOnlyReason;
        }
        if (::chmod(source.c_str(), old.st_mode & 07777) != 0) {
            return ErrnoText(errno);
        }
    }
    if (std::rename(source.c_str(), target.c_str()) != 0) {
        return ErrnoText(errno);
    }
    return {};
}
