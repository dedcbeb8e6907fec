#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <limits>

#include "fileio/platform_file.h"
#include "text/system_error_text_win.h"
#include "text/wide_text_win.h"

std::FILE* OpenFileForReading(const std::string& path) {
    return ::_wfopen(WideFromUtf8(path).c_str(), L"rb");
}

bool RemoveFile(const std::string& path) {
    return ::_wremove(WideFromUtf8(path).c_str()) == 0;
}

std::FILE* CreateNewFile(const std::string& path, int& error) {
    const std::wstring widePath = WideFromUtf8(path);
    const int fd =
        ::_wopen(widePath.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                 _S_IREAD | _S_IWRITE);
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    std::FILE* file = ::_fdopen(fd, "wb");
    if (file == nullptr) {
        error = errno;
        ::_close(fd);
        ::_wunlink(widePath.c_str());
    }
    return file;
}

int GetOpenFileSize(std::FILE* file, std::uint64_t& size) {
    const long long length = ::_filelengthi64(::_fileno(file));
    if (length < 0) {
        return errno;
    }
    size = static_cast<std::uint64_t>(length);
    return 0;
}

bool SeekFile(std::FILE* file, std::uint64_t offset) {
    return offset <= static_cast<std::uint64_t>(std::numeric_limits<long long>::max()) &&
           ::_fseeki64(file, static_cast<long long>(offset), SEEK_SET) == 0;
}

int SyncFileToDisk(std::FILE* file) {
    return ::_commit(::_fileno(file)) == 0 ? 0 : errno;
}

std::string ReplaceFileWith(const std::string& source, const std::string& target) {
    const std::wstring wideSource = WideFromUtf8(source);
    const std::wstring wideTarget = WideFromUtf8(target);
    const DWORD attributes = ::GetFileAttributesW(wideTarget.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
            return kReadOnlyReason;
        }
        // A target another program holds open without sharing is refused
        // here, with the system's reason: Wine's ReplaceFile, failing on
        // it, leaves a temporary file of its own ("rf*.tmp") behind.
        const HANDLE probe = ::CreateFileW(wideTarget.c_str(), DELETE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (probe == INVALID_HANDLE_VALUE) {
            return SystemErrorReason(::GetLastError());
        }
        ::CloseHandle(probe);
        // ReplaceFile gives the new file the old one's security, creation
        // time and streams, where MoveFileEx would give it those of the
        // temporary file. Without a backup name it fails with the old file
        // still in place.
        if (::ReplaceFileW(wideTarget.c_str(), wideSource.c_str(), nullptr,
                           REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
            // The attributes a user sets (hidden, for one) are set again:
            // not every ReplaceFile carries them (Wine's does not). The data
            // is already in place, so a failure here is not the save's.
            constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                    FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
            const DWORD kept = attributes & kKept;
            ::SetFileAttributesW(wideTarget.c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL);
            return {};
        }
        return SystemErrorReason(::GetLastError());
    }
    // No file to replace (or a folder, which MoveFileEx refuses with its own
    // reason); write-through returns only when the move is on disk.
    if (::MoveFileExW(wideSource.c_str(), wideTarget.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return {};
    }
    return SystemErrorReason(::GetLastError());
}
