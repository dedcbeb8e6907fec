#include "app/mine_command_line.h"

namespace {

// The data file name used when the command line names none.
constexpr const char* kDefaultDataFile = "mrds.csv";

}  // namespace

void CMineCommandLineInfo::ParseParam(std::string_view param, bool /*isFlag*/, bool /*isLast*/) {
    m_strDataFile = param;
}

std::string CMineCommandLineInfo::DataFile() const {
    return m_strDataFile.empty() ? kDefaultDataFile : m_strDataFile;
}
