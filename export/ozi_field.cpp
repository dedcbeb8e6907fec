#include "export/ozi_field.h"

#include <algorithm>

#include "text/text_encoding.h"

namespace {

// OziExplorer reads this byte in a name or description back as a comma.
constexpr char kCommaStandIn = '\xD1';

void AppendCp1252Field(std::string& line, std::string_view text, OtherControls controls) {
    for (const char byte : text) {
        const auto code = static_cast<unsigned char>(byte);
        if (byte == ',') {
            line += kCommaStandIn;
        } else if (byte == '\r' || byte == '\n') {
            line += ' ';
        } else if (controls == OtherControls::Keep || (code >= 0x20 && code != 0x7F)) {
            line += byte;
        }
    }
}

}  // namespace

void AppendOziField(std::string& line, std::string_view text, OtherControls controls) {
    // ASCII reads the same in both encodings: most names skip the conversion.
    const bool ascii = std::all_of(text.begin(), text.end(), [](char byte) {
        return static_cast<unsigned char>(byte) < 0x80;
    });
    if (ascii) {
        AppendCp1252Field(line, text, controls);
    } else {
        AppendCp1252Field(line, DataTextToCp1252(text), controls);
    }
}
