#pragma once

#include <functional>
#include <string>

#include "minedata/byte_file.h"

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

// Writes the file `path` so that it is either complete or as it was before:
// `write` fills a new temporary file beside `path` (same folder, unique
// name), which is then flushed to disk, closed and moved over `path`.
//
// A CFileException thrown by `write` counts as a write failure. On any failure
// the temporary file is removed and an earlier file at `path` is untouched;
// any other exception leaves after the same clean-up.
SafeWriteResult WriteFileSafely(const std::string& path, const std::function<void(CFile&)>& write);
