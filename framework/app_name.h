#pragma once

#include <string>
#include <string_view>

// The application name that message boxes show when they have no caption of
// their own: the file name of the module path `modulePath` (after the last
// '\\' or '/') without its extension (from the last '.' of that name on).
std::string AppNameFromModulePath(std::string_view modulePath);
