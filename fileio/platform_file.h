#pragma once

// The few file operations the C and C++ libraries do not offer portably.
// Implemented in platform_file_posix.cpp and platform_file_win.cpp. Paths are
// UTF-8: on Windows they reach the system through its wide functions, so a
// name outside the ANSI code page works; on POSIX they pass as they are.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

// Opens `path` for binary reading. Returns null and sets errno when it fails.
std::FILE* OpenFileForReading(const std::string& path);

// Removes the file `path`; false (errno set) when it cannot.
bool RemoveFile(const std::string& path);

// `path` as the standard library's path, for the streams and std::filesystem.
inline std::filesystem::path PathFromUtf8(const std::string& path) {
    return std::filesystem::path(
        std::u8string(reinterpret_cast<const char8_t*>(path.data()), path.size()));
}

// Creates `path` and opens it for binary writing, failing when anything of
// that name exists already. Returns null and sets `error` to an errno value
// when it fails.
std::FILE* CreateNewFile(const std::string& path, int& error);

// Sets `size` to the size of the open file in bytes. Returns 0, or an errno
// value (EISDIR when the stream is a folder's).
int GetOpenFileSize(std::FILE* file, std::uint64_t& size);

// Moves the read position of `file` to `offset` bytes from its start, which
// may lie past 2 GB. Returns false when it cannot.
bool SeekFile(std::FILE* file, std::uint64_t offset);

// Hands the bytes written to `file` (already flushed from the stream) to the
// disk. Returns 0 or an errno value.
int SyncFileToDisk(std::FILE* file);

// The reason ReplaceFileWith gives for a read-only target.
inline constexpr char kReadOnlyReason[] = "it is read-only";

// Moves the closed file `source` over `target`, replacing a file already
// there, which then keeps its attributes and permissions (the file's mode on
// POSIX; attributes, security and creation time on Windows). A read-only
// target (no write permission for anyone on POSIX) is left as it is, with
// kReadOnlyReason. Returns an empty string on success, else the reason.
std::string ReplaceFileWith(const std::string& source, const std::string& target);
