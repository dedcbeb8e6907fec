#include "ozilink/ozi_start_rules.h"

std::optional<std::string> OziExePathFromRegistryValue(std::string_view valueBytes,
                                                       std::size_t bufferSize) {
    if (valueBytes.size() >= bufferSize) {
        return std::nullopt;
    }
    const std::size_t terminator = valueBytes.find('\0');
    if (terminator == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view folder = valueBytes.substr(0, terminator);
    // Backslash, file name and terminator must fit where the text ends.
    if (folder.size() + 1 + kOziExeName.size() + 1 > bufferSize) {
        return std::nullopt;
    }
    std::string path(folder);
    path += '\\';
    path += kOziExeName;
    return path;
}

bool WaitForOziExplorer(const std::function<int()>& findOzi,
                        const std::function<void(unsigned milliseconds)>& sleep) {
    for (int attempt = 0; attempt < kOziWaitAttempts; ++attempt) {
        sleep(kOziWaitMilliseconds);
        if (findOzi() >= 0) {
            // Give the program time to finish starting before it is used.
            sleep(kOziWaitMilliseconds);
            return true;
        }
    }
    return false;
}
