#pragma once

// Small helpers shared by the unit tests: a message sink that records what it
// is shown, and a scratch folder that removes itself.

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "minedata/message_sink.h"

struct RecordedMessage {
    std::string text;
    std::string caption;
    MessageKind kind;
};

// Keeps every message in order, so a test can assert on text, caption and kind.
class RecordingSink : public IMessageSink {
public:
    void ShowMessage(std::string_view text, std::string_view caption, MessageKind kind) override {
        messages.push_back({std::string(text), std::string(caption), kind});
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
