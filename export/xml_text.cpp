#include "export/xml_text.h"

#include <algorithm>
#include <array>

#include "text/text_encoding.h"

namespace {

// The bytes that XML carries as they are: printable ASCII but for the five
// that have entity references.
constexpr std::array<bool, 256> kPlainXmlBytes = [] {
    std::array<bool, 256> plain{};
    for (int byte = 0x20; byte < 0x7F; ++byte) {
        plain[static_cast<std::size_t>(byte)] = true;
    }
    for (const char special : {'&', '<', '>', '"', '\''}) {
        plain[static_cast<unsigned char>(special)] = false;
    }
    return plain;
}();

}  // namespace

void AppendXmlData(std::string& out, std::string_view text) {
    // A plain ASCII start ends on a character boundary and reads the same in
    // either encoding, so the rest alone decides how it is decoded.
    const auto plainEnd = std::find_if_not(text.begin(), text.end(), [](char byte) {
        return kPlainXmlBytes[static_cast<unsigned char>(byte)];
    });
    const auto plainLength = static_cast<std::size_t>(plainEnd - text.begin());
    out.append(text.data(), plainLength);
    if (plainLength < text.size()) {
        AppendXmlText(out, text.substr(plainLength));
    }
}
