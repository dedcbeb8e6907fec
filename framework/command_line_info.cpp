#include "framework/command_line_info.h"

void ParseCommandLine(const std::vector<std::string>& arguments, CCommandLineInfo& info) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view param = arguments[i];
        const bool isFlag = !param.empty() && (param.front() == '-' || param.front() == '/');
        if (isFlag) {
            param.remove_prefix(1);
        }
        info.ParseParam(param, isFlag, i + 1 == arguments.size());
    }
}
