#include "cli/input_file.h"

#include <iostream>

#include "cli/commands.h"
#include "points/input_file.h"

std::istream& OpenInputFile(const std::string& path, const char* what, std::ifstream& file) {
    if (path == "-") {
        return std::cin;
    }
    const std::string error = OpenNamedInputFile(path, what, file);
    if (!error.empty()) {
        throw CommandError(kExitFailed, error);
    }
    return file;
}
