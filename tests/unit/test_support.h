#pragma once

// Small helpers shared by the unit tests: a message sink that records what it
// is shown, a scratch folder that removes itself, and small records.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "fileio/file_ptr.h"
#include "fileio/platform_file.h"
#include "minedata/message_sink.h"
#include "minedata/mine.h"
#include "minedata/mine_array.h"

struct RecordedMessage {
    MessageKind kind;
    std::string text;
};

// Keeps every message in order, so a test can assert on kind and text.
class RecordingSink : public IMessageSink {
public:
    void Report(MessageKind kind, std::string_view text) override {
        messages.push_back({kind, std::string(text)});
    }

    std::vector<RecordedMessage> messages;
};

// A fresh folder under the system temporary folder, removed with everything in
// it when the object goes away. Unique per process and per instance.
class TempDir {
public:
    TempDir() {
        static std::atomic<unsigned> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        for (;;) {
            const std::string leaf =
                "vemra_test_" + std::to_string(stamp) + "_" + std::to_string(counter.fetch_add(1));
            m_path = base / leaf;
            if (std::filesystem::create_directory(m_path)) {
                break;
            }
        }
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

    // The path of `leaf` inside the folder, as a narrow string for the core's
    // 8-bit file names.
    std::string File(std::string_view leaf) const { return (m_path / leaf).string(); }

    // Writes `bytes` exactly (binary) to `leaf` and returns its path.
    std::string Write(std::string_view leaf, std::string_view bytes) const {
        const std::string path = File(leaf);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

private:
    std::filesystem::path m_path;
};

// The whole file's bytes; empty when it cannot be read.
// `path` opened for reading, as the loader opens a data file; null when it
// does not open.
inline FilePtr OpenForReading(const std::string& path) {
    return FilePtr(OpenFileForReading(path));
}

inline std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A record with an identifier, a position and a name; every other text empty.
inline CMine MakeMine(std::int32_t id, float latitude, float longitude, std::string_view name) {
    CMine mine;
    mine.m_nDepId = id;
    mine.m_fLatitude = latitude;
    mine.m_fLongitude = longitude;
    mine.SetText(&CMine::m_strSiteName, name);
    return mine;
}

// A collection as a comma-separated load leaves it: element 0 from the header
// row, then `mines`.
inline CMineArray Collection(std::initializer_list<CMine> mines) {
    CMineArray array;
    array.Add(MakeMine(0, -1.0f, -1.0f, "SITE_NAME"));
    for (const CMine& mine : mines) {
        array.Add(mine);
    }
    return array;
}
