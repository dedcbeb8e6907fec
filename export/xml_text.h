#pragma once

#include <string>
#include <string_view>

// Appends a record text as XML character data, exactly as AppendXmlText
// does, taking a short cut for the plain ASCII texts most records hold.
void AppendXmlData(std::string& out, std::string_view text);
