#pragma once

// Windows' own words for a system error code (GetLastError), from the
// system's message table in the user's default language.

#include <string>

// The system's text for `error` in UTF-8 as the system gives it, line end included;
// empty when the system has none.
std::string SystemErrorText(unsigned long error);

// The system's text for `error` as the reason in a sentence of the caller's:
// without its closing full stop and line end, "system error N" when the
// system has no text.
std::string SystemErrorReason(unsigned long error);
