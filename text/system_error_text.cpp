#include "text/system_error_text.h"

#include <cstring>

std::string ErrnoText(int error) {
    const char* text = std::strerror(error);
    return text != nullptr ? text : "error " + std::to_string(error);
}
