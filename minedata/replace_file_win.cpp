#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "minedata/platform_file.h"

std::FILE* CreateNewFile(const std::string& path, int& error) {
    const int fd = ::_open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                           _S_IREAD | _S_IWRITE);
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    std::FILE* file = ::_fdopen(fd, "wb");
    if (file == nullptr) {
        error = errno;
        ::_close(fd);
        ::_unlink(path.c_str());
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

int SyncFileToDisk(std::FILE* file) {
    return ::_commit(::_fileno(file)) == 0 ? 0 : errno;
}

std::string ReplaceFileWith(const std::string& source, const std::string& target) {
    // The C runtime's rename refuses an existing target; MoveFileEx replaces
    // it, and write-through returns only when the move is on disk.
    if (::MoveFileExA(source.c_str(), target.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return {};
    }
    const DWORD error = ::GetLastError();
    char* text = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string reason;
    if (length != 0 && text != nullptr) {
        reason.assign(text, length);
    }
    if (text != nullptr) {
        ::LocalFree(text);
    }
    // System texts end in ".\r\n"; the caller adds its own full stop.
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                               reason.back() == '.' || reason.back() == ' ')) {
        reason.pop_back();
    }
    if (reason.empty()) {
        reason = "system error " + std::to_string(error);
    }
    return reason;
}
