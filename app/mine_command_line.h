#pragma once

#include <string>
#include <vector>

#include "framework/command_line_info.h"

// The data file name used when the command line names none.
inline constexpr const char* kDefaultDataFile = "mrds.csv";

// Keeps the last argument, switch or not, as the data file name.
class CMineCommandLineInfo : public CCommandLineInfo {
public:
    void ParseParam(std::string_view param, bool isFlag, bool isLast) override;

    std::string m_strDataFile;
};

// The data file name that start-up takes from the arguments after the program
// name: the last one (without a leading '-' or '/'), or "mrds.csv" when there
// is none or it is empty.
std::string DataFileFromCommandLine(const std::vector<std::string>& arguments);
