#pragma once

#include <string>
#include <string_view>
#include <vector>

// The application's command-line record: ParseCommandLine hands it every
// argument after the program name, in order.
class CCommandLineInfo {
public:
    virtual ~CCommandLineInfo() = default;

    // `param` is the argument, without its first character when that is '-'
    // or '/' (then `isFlag` is true); `isLast` marks the last argument.
    virtual void ParseParam(std::string_view param, bool isFlag, bool isLast) = 0;
};

// Calls info.ParseParam for each of `arguments` (program name excluded), as
// the C runtime split the command line.
void ParseCommandLine(const std::vector<std::string>& arguments, CCommandLineInfo& info);
