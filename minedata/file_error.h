#pragma once

#include <stdexcept>
#include <string>

// A file operation that failed in a way the caller does not handle itself
// (a read error inside a comma-separated file). It travels to the top-level
// error report, which shows its text and lets the program go on.
class CFileError : public std::runtime_error {
public:
    explicit CFileError(const std::string& message) : std::runtime_error(message) {}
};
