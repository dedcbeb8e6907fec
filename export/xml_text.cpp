#include "export/xml_text.h"

#include <algorithm>

#include "text/text_encoding.h"

namespace {

// Printable ASCII that XML carries as it is.
bool IsPlainXml(char byte) {
    switch (byte) {
        case '&':
        case '<':
        case '>':
        case '"':
        case '\'':
            return false;
        default:
            return byte >= 0x20 && byte < 0x7F;
    }
}

}  // namespace

void AppendXmlData(std::string& out, std::string_view text) {
    if (std::all_of(text.begin(), text.end(), IsPlainXml)) {
        out += text;
    } else {
        AppendXmlText(out, text);
    }
}
