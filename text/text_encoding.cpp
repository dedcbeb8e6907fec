#include "text/text_encoding.h"

#include <array>
#include <cstdint>

namespace {

// Characters of the bytes 0x80 to 0x9F; every other byte is its own code point.
constexpr std::array<char16_t, 32> kHighControlRange = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

constexpr char32_t kNotACharacter = 0xFFFFFFFF;

char32_t CodePointOf(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return kHighControlRange[byte - 0x80u];
    }
    return byte;
}

// The code page 1252 byte of `c`, or '?' when the code page has none.
char Cp1252ByteOf(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<char>(c);
    }
    for (std::size_t i = 0; i < kHighControlRange.size(); ++i) {
        if (kHighControlRange[i] == c) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

// Decodes the UTF-8 sequence at text[pos], advancing pos past it; returns
// kNotACharacter (pos unchanged) for anything but a well-formed sequence.
char32_t DecodeUtf8(std::string_view text, std::size_t& pos) {
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byteAt(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    std::size_t length = 0;
    char32_t c = 0;
    char32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1Fu;
        smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0Fu;
        smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07u;
        smallest = 0x10000;
    } else {
        return kNotACharacter;
    }
    if (text.size() - pos < length) {
        return kNotACharacter;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = byteAt(pos + i);
        if ((next & 0xC0u) != 0x80u) {
            return kNotACharacter;
        }
        c = (c << 6) | (next & 0x3Fu);
    }
    if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return kNotACharacter;
    }
    pos += length;
    return c;
}

// Calls `visit` with each character of a record's text (see the header).
template <typename Visit>
void ForEachCharacter(std::string_view text, Visit visit) {
    if (IsUtf8(text)) {
        for (std::size_t pos = 0; pos < text.size();) {
            visit(DecodeUtf8(text, pos));
        }
    } else {
        for (const char byte : text) {
            visit(CodePointOf(static_cast<unsigned char>(byte)));
        }
    }
}

bool IsXmlSafe(char32_t c) {
    if (c < 0x20) {
        return c == '\t' || c == '\n' || c == '\r';
    }
    return !(c >= 0x7F && c <= 0x9F) && c != 0xFFFE && c != 0xFFFF;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string Cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        AppendUtf8(out, CodePointOf(static_cast<unsigned char>(c)));
    }
    return out;
}

bool IsUtf8(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        if (DecodeUtf8(text, pos) == kNotACharacter) {
            return false;
        }
    }
    return true;
}

std::string DataTextToUtf8(std::string_view text) {
    return IsUtf8(text) ? std::string(text) : Cp1252ToUtf8(text);
}

char32_t NextDataCharacter(std::string_view text, bool utf8, std::size_t& pos) {
    if (utf8) {
        const char32_t c = DecodeUtf8(text, pos);
        if (c != kNotACharacter) {
            return c;
        }
    }
    return CodePointOf(static_cast<unsigned char>(text[pos++]));
}

std::string DataTextToCp1252(std::string_view text) {
    if (!IsUtf8(text)) {
        return std::string(text);
    }
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        out += Cp1252ByteOf(DecodeUtf8(text, pos));
    }
    return out;
}

void AppendXmlText(std::string& out, std::string_view text) {
    ForEachCharacter(text, [&out](char32_t c) {
        switch (c) {
            case '&':
                out += "&amp;";
                return;
            case '<':
                out += "&lt;";
                return;
            case '>':
                out += "&gt;";
                return;
            case '"':
                out += "&quot;";
                return;
            case '\'':
                out += "&apos;";
                return;
            case '\r':
                out += "&#13;";
                return;
            default:
                if (IsXmlSafe(c)) {
                    AppendUtf8(out, c);
                }
        }
    });
}
