#pragma once

#include <string>
#include <string_view>

// A record text as one comma-separated field of OziExplorer's line-based files
// (point file, waypoint file), which OziExplorer reads in code page 1252.

// What becomes of control characters other than CR and LF.
enum class OtherControls { Keep, Drop };

// Appends `text` in code page 1252 (DataTextToCp1252: a code page 1252 text
// byte for byte, a UTF-8 one converted with '?' for what the code page
// lacks), each comma as the byte 0xD1, which OziExplorer reads back as a
// comma, and each CR or LF as a space, so the line stays one line.
void AppendOziField(std::string& line, std::string_view text, OtherControls controls);
