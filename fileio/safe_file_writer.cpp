#include "fileio/safe_file_writer.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string_view>

#include "fileio/platform_file.h"
#include "text/ascii_text.h"

namespace {

// Windows takes both slashes between folders; POSIX only the forward one, and
// a backslash in a POSIX name only makes the temporary name shorter.
constexpr const char* kFolderSeparators = "/\\";

std::uint32_t RandomNumber() {
    static std::mt19937 generator = [] {
        std::random_device device;
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        std::seed_seq seed{device(), device(), static_cast<unsigned>(now),
                           static_cast<unsigned>(now >> 32)};
        return std::mt19937(seed);
    }();
    return static_cast<std::uint32_t>(generator());
}

}  // namespace

std::string TemporaryNameFor(const std::string& path, std::uint32_t random) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%08lx.tmp", static_cast<unsigned long>(random));
    const std::size_t suffixLength = std::strlen(suffix);
    const std::size_t nameStart = path.find_last_of(kFolderSeparators) + 1;
    const std::string_view name = std::string_view(path).substr(nameStart);
    if (path.size() + suffixLength <= kMaxPathLength &&
        name.size() + suffixLength <= kMaxFileNameLength) {
        return path + suffix;
    }
    // Too long with the suffix: "~" and hexadecimal digits, no longer than
    // the target's name, so that the path is no longer than the target's.
    std::string shortName(1, '~');
    shortName.append(suffix + 1, 8);
    shortName.resize(std::min(shortName.size(), std::max<std::size_t>(name.size(), 1)));
    if (EqualIgnoringAsciiCase(shortName, name)) {
        shortName = std::string(1, suffix[1]);  // a digit, where the target is "~" or "~..."
    }
    return path.substr(0, nameStart) + shortName;
}

namespace {

std::FILE* CreateTemporaryFile(const std::string& path, std::string& tempPath, int& error) {
    constexpr int kAttempts = 20;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        tempPath = TemporaryNameFor(path, RandomNumber());
        error = 0;
        std::FILE* file = CreateNewFile(tempPath, error);
        if (file != nullptr || error != EEXIST) {
            return file;
        }
    }
    return nullptr;
}

// Removes the temporary file unless it was moved over the target.
class TemporaryFileGuard {
public:
    explicit TemporaryFileGuard(const std::string& path) : m_path(path) {}
    ~TemporaryFileGuard() {
        if (!m_bReleased) {
            RemoveFile(m_path);
        }
    }
    TemporaryFileGuard(const TemporaryFileGuard&) = delete;
    TemporaryFileGuard& operator=(const TemporaryFileGuard&) = delete;

    void Release() { m_bReleased = true; }

private:
    const std::string& m_path;
    bool m_bReleased = false;
};

}  // namespace

SafeWriteResult WriteFileSafely(const std::string& path, const std::function<void(CFile&)>& write) {
    SafeWriteResult result;
    std::string tempPath;
    int error = 0;
    std::FILE* stream = CreateTemporaryFile(path, tempPath, error);
    if (stream == nullptr) {
        result.failedAt = SafeWriteStage::Create;
        result.message = CFileException::FromErrno(FileAction::Create, path, error).what();
        return result;
    }

    TemporaryFileGuard guard(tempPath);
    {
        // Messages name the target: the temporary file means nothing to the user.
        CDiskFile file(stream, path);
        try {
            write(file);
            file.Flush();
            file.Close();
        } catch (const CFileException& e) {
            result.failedAt = SafeWriteStage::Write;
            result.message = e.what();
            return result;
        }
    }

    const std::string reason = ReplaceFileWith(tempPath, path);
    if (!reason.empty()) {
        result.failedAt = SafeWriteStage::Replace;
        result.message = CFileException(FileAction::Replace, path, reason).what();
        return result;
    }
    guard.Release();
    return result;
}
