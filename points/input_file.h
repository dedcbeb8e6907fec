#pragma once

#include <fstream>
#include <string>
#include <string_view>

// Opens the file `path` (UTF-8) that a user named as input, in binary, into
// `file`. Returns an empty text, or the message that says why not, naming the
// file as `what` ("points file", "route file"): "WHAT 'PATH' is a folder",
// "cannot open WHAT 'PATH'".
std::string OpenNamedInputFile(const std::string& path, std::string_view what, std::ifstream& file);
