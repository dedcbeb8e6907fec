#pragma once

// The system's own words for an error number, to put into a message.

#include <string>

// The C runtime's text for an errno value; "error N" when it has none.
std::string ErrnoText(int error);
