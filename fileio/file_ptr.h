#pragma once

#include <cstdio>
#include <memory>

// A C stream that closes itself, for files only read: nothing written can be
// lost by a close that fails.
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;
