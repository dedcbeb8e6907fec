#include "cli/input_file.h"

#include <filesystem>
#include <iostream>
#include <system_error>

#include "cli/commands.h"
#include "fileio/platform_file.h"

std::istream& OpenInputFile(const std::string& path, const char* what, std::ifstream& file) {
    if (path == "-") {
        return std::cin;
    }
    std::error_code error;
    const std::filesystem::path filePath = PathFromUtf8(path);
    if (std::filesystem::is_directory(filePath, error)) {
        throw CommandError(kExitFailed, std::string(what) + " '" + path + "' is a folder");
    }
    file.open(filePath, std::ios::binary);
    if (!file) {
        throw CommandError(kExitFailed, "cannot open " + std::string(what) + " '" + path + "'");
    }
    return file;
}
