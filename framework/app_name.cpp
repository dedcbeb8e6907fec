#include "framework/app_name.h"

std::string AppNameFromModulePath(std::string_view modulePath) {
    const std::size_t slash = modulePath.find_last_of("\\/");
    std::string_view name =
        slash == std::string_view::npos ? modulePath : modulePath.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos) {
        name = name.substr(0, dot);
    }
    return std::string(name);
}
