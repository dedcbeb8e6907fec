#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The texts of a mine record are bytes as the data file held them. Files come
// either in Windows code page 1252 (the program's ANSI code page) or in UTF-8;
// a text is read as UTF-8 when it is valid UTF-8 and as code page 1252
// otherwise. Plain ASCII reads the same either way.

// Appends the UTF-8 form of the character `c` (at most U+10FFFF, no
// surrogate) to `out`.
void AppendUtf8(std::string& out, char32_t c);

// The UTF-8 form of 8-bit text in Windows code page 1252. Every byte maps to
// one character: the five bytes the code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) become the C1 control characters of the same number, so
// no input is ever rejected.
std::string Cp1252ToUtf8(std::string_view text);

// Whether `text` is well-formed UTF-8: shortest forms only, no surrogates,
// nothing above U+10FFFF.
bool IsUtf8(std::string_view text);

// The characters of a record's text in UTF-8: the text itself when it is
// valid UTF-8, its code page 1252 reading otherwise.
std::string DataTextToUtf8(std::string_view text);

// The character of a record's text that starts at text[pos], moving pos past
// it; `utf8` says whether the whole text IsUtf8, which a part of it cut at
// ASCII bytes cannot tell. A byte that does not start a well-formed sequence
// is read as code page 1252, so pos always moves.
char32_t NextDataCharacter(std::string_view text, bool utf8, std::size_t& pos);

// The characters of a record's text in code page 1252, for files that
// Windows programs read in their ANSI code page: a valid UTF-8 text is
// converted, each character the code page lacks becoming '?'; any other text
// is already code page 1252 and comes back unchanged.
std::string DataTextToCp1252(std::string_view text);

// Appends the characters of a record's text to `out` as XML 1.0 character
// data in UTF-8: '&', '<', '>', '"' and '\'' as entity references, CR as a
// character reference (so that a reader's line-end handling keeps it), and
// the characters XML cannot carry, or carries only as a hazard, left out:
// control characters other than tab, LF and CR (U+0000-U+001F, U+007F-U+009F)
// and U+FFFE, U+FFFF. The result is also safe HTML text.
void AppendXmlText(std::string& out, std::string_view text);
