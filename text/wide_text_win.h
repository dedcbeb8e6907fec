#pragma once

// The one place where Windows' UTF-16 meets the UTF-8 the rest of the program
// keeps: paths and messages are UTF-8 inside, and the wide functions of the
// system take and give UTF-16.

#include <string>
#include <string_view>
#include <vector>

// The UTF-16 form of UTF-8 text; an ill-formed sequence becomes U+FFFD.
std::wstring WideFromUtf8(std::string_view text);

// The UTF-8 form of UTF-16 text; an unpaired surrogate becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view text);

// The UTF-16 form of a text to show in a window: decoded by the rule every
// data text follows (DataTextToUtf8: valid UTF-8 as UTF-8, anything else as
// code page 1252). The program's own texts and paths are UTF-8 and pass as
// they are.
std::wstring WideFromText(std::string_view text);

// The program's command line as the system keeps it (wide), split into
// arguments by CommandLineToArgvW and each made UTF-8; the program's own name
// first.
std::vector<std::string> Utf8CommandLineArguments();
