#include "minedata/safe_file_writer.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <random>

#include "minedata/platform_file.h"

namespace {

// A name beside `path` that no file is likely to have.
std::string TemporaryName(const std::string& path) {
    static std::mt19937 generator = [] {
        std::random_device device;
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        std::seed_seq seed{device(), device(), static_cast<unsigned>(now),
                           static_cast<unsigned>(now >> 32)};
        return std::mt19937(seed);
    }();
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%08lx.tmp",
                  static_cast<unsigned long>(generator() & 0xFFFFFFFFu));
    return path + suffix;
}

std::FILE* CreateTemporaryFile(const std::string& path, std::string& tempPath, int& error) {
    constexpr int kAttempts = 20;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        tempPath = TemporaryName(path);
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
            std::remove(m_path.c_str());
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
