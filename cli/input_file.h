#pragma once

#include <fstream>
#include <istream>
#include <string>

// Opens the input file `path` that the user named, "-" meaning standard
// input, and returns the stream to read: `file` itself, or std::cin. `what`
// names the file in the messages ("points file", "route file"). Throws
// CommandError(kExitFailed) for a folder or a file that cannot be opened.
std::istream& OpenInputFile(const std::string& path, const char* what, std::ifstream& file);
