#pragma once

#include <string>
#include <string_view>

#include "framework/command_line_info.h"

// Keeps the last argument, switch or not (without its leading '-' or '/'), as
// the data file name.
class CMineCommandLineInfo : public CCommandLineInfo {
public:
    void ParseParam(std::string_view param, bool isFlag, bool isLast) override;

    // The data file to load: the name kept, or "mrds.csv" when the command
    // line gave none or an empty one.
    std::string DataFile() const;

    std::string m_strDataFile;
};
