#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "fileio/byte_file.h"

// The step at which writing a file failed.
enum class SafeWriteStage {
    None,     // written
    Create,   // the temporary file could not be made
    Write,    // writing, flushing or closing it failed
    Replace,  // it could not be moved over the target
};

struct SafeWriteResult {
    SafeWriteStage failedAt = SafeWriteStage::None;
    // On failure: the target's path and the system's reason, ready to show.
    std::string message;

    bool Ok() const { return failedAt == SafeWriteStage::None; }
};

// The longest path, and the longest name within a folder, that every
// system Vemra runs on accepts from a file dialog: Windows' MAX_PATH less its
// terminator, and the longest file name of NTFS and of most POSIX systems.
inline constexpr std::size_t kMaxPathLength = 259;
inline constexpr std::size_t kMaxFileNameLength = 255;

// The name of the temporary file WriteFileSafely uses for `path`, from the
// random number `random`: in the same folder, and never longer than `path`
// itself where `path + ".xxxxxxxx.tmp"` would exceed either limit above, so
// that the temporary file can be made wherever the target can. The name is
// never that of the target.
std::string TemporaryNameFor(const std::string& path, std::uint32_t random);

// Writes the file `path` so that it is either complete or as it was before:
// `write` fills a new temporary file beside `path` (same folder, unique
// name), which is then flushed to disk, closed and moved over `path`. A file
// replaced keeps its attributes and permissions; a read-only one is not
// replaced (SafeWriteStage::Replace, "the file is read-only").
//
// A CFileException thrown by `write` counts as a write failure. On any failure
// the temporary file is removed and an earlier file at `path` is untouched;
// any other exception leaves after the same clean-up.
SafeWriteResult WriteFileSafely(const std::string& path, const std::function<void(CFile&)>& write);
