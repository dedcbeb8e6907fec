#pragma once
// What the libFuzzer targets share: a check that stops the run and a file in
// memory for the targets whose code under test reads files only.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace fuzz {

// A broken expectation is a finding: abort, so that libFuzzer keeps the input.
inline void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// A file held in memory (a memfd) that the code under test opens by name,
// as it opens the files users choose: no disk work for each input, which
// made the file-reading targets slow. Call MemoryFile once from
// LLVMFuzzerInitialize to make it; its name is /proc/self/fd/N.
class CMemoryBackedFile {
public:
    CMemoryBackedFile() : m_fd(::memfd_create("vemra_fuzz", MFD_CLOEXEC)) {
        Require(m_fd >= 0);
        m_path = "/proc/self/fd/" + std::to_string(m_fd);
    }
    CMemoryBackedFile(const CMemoryBackedFile&) = delete;
    CMemoryBackedFile& operator=(const CMemoryBackedFile&) = delete;

    const std::string& Path() const { return m_path; }

    // Replaces the file's contents with the input.
    void Replace(const std::uint8_t* data, std::size_t size) const {
        Require(::ftruncate(m_fd, 0) == 0);
        std::size_t done = 0;
        while (done < size) {
            const ssize_t wrote =
                ::pwrite(m_fd, data + done, size - done, static_cast<off_t>(done));
            Require(wrote > 0);
            done += static_cast<std::size_t>(wrote);
        }
    }

private:
    int m_fd;
    std::string m_path;
};

inline const CMemoryBackedFile& MemoryFile() {
    static const CMemoryBackedFile file;
    return file;
}

}  // namespace fuzz
