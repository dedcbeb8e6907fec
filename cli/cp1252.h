#pragma once

#include <string>
#include <string_view>

// The UTF-8 form of 8-bit text in Windows code page 1252, the code page the
// data files come in. Every byte maps to one character: the five bytes the
// code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1
// control characters of the same number, so no input is ever rejected.
std::string Cp1252ToUtf8(std::string_view text);
