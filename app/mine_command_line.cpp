#include "app/mine_command_line.h"

void CMineCommandLineInfo::ParseParam(std::string_view param, bool /*isFlag*/, bool /*isLast*/) {
    m_strDataFile = param;
}

std::string DataFileFromCommandLine(const std::vector<std::string>& arguments) {
    CMineCommandLineInfo info;
    ParseCommandLine(arguments, info);
    return info.m_strDataFile.empty() ? kDefaultDataFile : info.m_strDataFile;
}
