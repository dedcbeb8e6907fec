#include "points/input_file.h"

#include <filesystem>
#include <system_error>

#include "minedata/platform_file.h"

std::string OpenNamedInputFile(const std::string& path, std::string_view what,
                               std::ifstream& file) {
    std::error_code error;
    const std::filesystem::path filePath = PathFromUtf8(path);
    if (std::filesystem::is_directory(filePath, error)) {
        return std::string(what) + " '" + path + "' is a folder";
    }
    file.open(filePath, std::ios::binary);
    if (!file) {
        return "cannot open " + std::string(what) + " '" + path + "'";
    }
    return {};
}
