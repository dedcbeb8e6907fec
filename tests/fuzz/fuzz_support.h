#pragma once
// What the libFuzzer targets share: a check that stops the run, a message
// sink that only counts, and a scratch file for the targets whose code under
// test reads files only.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "minedata/message_sink.h"

namespace fuzz {

// A broken expectation is a finding: abort, so that libFuzzer keeps the input.
inline void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

class CCountingSink : public IMessageSink {
public:
    void Report(MessageKind, std::string_view) override { ++count; }
    int count = 0;
};

// A file of this process's own under TMPDIR, removed when the process ends.
// Call ScratchFile once from LLVMFuzzerInitialize to name it.
inline const std::string& ScratchFile(std::string_view leaf = {}) {
    static const std::string path = [leaf] {
        const char* dir = std::getenv("TMPDIR");
        std::string name = std::string(dir != nullptr ? dir : "/tmp") + "/vemra_fuzz_" +
                           std::to_string(::getpid()) + "_" + std::string(leaf);
        std::atexit([] { std::remove(ScratchFile().c_str()); });
        return name;
    }();
    return path;
}

// Replaces the scratch file's contents with the input.
inline void WriteScratchFile(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(ScratchFile().c_str(), "wb");
    Require(file != nullptr);
    Require(std::fwrite(data, 1, size, file) == size);
    Require(std::fclose(file) == 0);
}

}  // namespace fuzz
