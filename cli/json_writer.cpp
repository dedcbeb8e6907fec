#include "cli/json_writer.h"

#include <array>
#include <charconv>
#include <cmath>

#include "text/text_encoding.h"

namespace {

bool NeedsNoEscape(unsigned char byte) {
    return byte >= 0x20 && byte != '"' && byte != '\\';
}

// An ASCII byte that goes into a JSON string as it is.
bool IsPlainAscii(unsigned char byte) {
    return byte < 0x80 && NeedsNoEscape(byte);
}

// JSON's escape for a byte below 0x20, '"' or '\\': the short forms where
// JSON has them, \u00XX in lowercase hex for the other control characters.
void AppendEscape(std::string& out, unsigned char byte) {
    switch (byte) {
        case '"':
            out += "\\\"";
            return;
        case '\\':
            out += "\\\\";
            return;
        case '\b':
            out += "\\b";
            return;
        case '\f':
            out += "\\f";
            return;
        case '\n':
            out += "\\n";
            return;
        case '\r':
            out += "\\r";
            return;
        case '\t':
            out += "\\t";
            return;
        default: {
            static constexpr char kHex[] = "0123456789abcdef";
            const char escape[] = {'\\', 'u', '0', '0', kHex[byte >> 4], kHex[byte & 15]};
            out.append(escape, sizeof escape);
        }
    }
}

// Lays out the decimal digits of a finite, non-zero magnitude
// digits x 10^(pointPlace - digitCount): fixed-point from 1e-4 up to below
// 1e15, otherwise as digit[.digits]e±XX with at least two exponent digits.
void AppendLaidOut(std::string& out, std::string_view digits, int pointPlace) {
    constexpr int kFirstFixedPlace = -3;  // 1e-4 is 0.0001
    constexpr int kLastFixedPlace = 15;   // below 1e15
    const int count = static_cast<int>(digits.size());
    if (count <= pointPlace && pointPlace <= kLastFixedPlace) {
        out.append(digits);
        out.append(static_cast<std::size_t>(pointPlace - count), '0');
        out += ".0";
    } else if (0 < pointPlace && pointPlace <= kLastFixedPlace) {
        out.append(digits.substr(0, static_cast<std::size_t>(pointPlace)));
        out += '.';
        out.append(digits.substr(static_cast<std::size_t>(pointPlace)));
    } else if (kFirstFixedPlace <= pointPlace && pointPlace <= 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-pointPlace), '0');
        out.append(digits);
    } else {
        out += digits[0];
        if (count > 1) {
            out += '.';
            out.append(digits.substr(1));
        }
        const int exponent = pointPlace - 1;
        out += exponent < 0 ? "e-" : "e+";
        const int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude < 10) {
            out += '0';
        }
        out += std::to_string(magnitude);
    }
}

// Writes `value` (finite, from 1e-4 to below 1e9) when it is a whole number
// of millionths, the form distances, bearings and typed positions take, and
// returns whether it did. The digits are the shortest that read back the
// same: below 1e9 two such numbers are more than a double's spacing apart,
// so no shorter or other one of them reads back as `value`. Integer digits
// cost far less than the general shortest search.
bool AppendFewDecimals(std::string& out, double value) {
    constexpr double kMillion = 1e6;
    if (!(value >= 1e-4 && value < 1e9)) {
        return false;
    }
    const long long millionths = std::llround(value * kMillion);
    // Both operands are exact, so the quotient is the double nearest to the
    // decimal, as reading it back gives.
    if (static_cast<double>(millionths) / kMillion != value) {
        return false;
    }
    std::array<char, 24> digits;
    const auto whole =
        std::to_chars(digits.data(), digits.data() + digits.size(), millionths / 1000000);
    out.append(digits.data(), static_cast<std::size_t>(whole.ptr - digits.data()));
    out += '.';
    long long fraction = millionths % 1000000;
    if (fraction == 0) {
        out += '0';
        return true;
    }
    int places = 6;
    while (fraction % 10 == 0) {
        fraction /= 10;
        --places;
    }
    std::array<char, 8> fractionDigits;
    const auto end = std::to_chars(fractionDigits.data(),
                                   fractionDigits.data() + fractionDigits.size(), fraction);
    const auto written = static_cast<int>(end.ptr - fractionDigits.data());
    out.append(static_cast<std::size_t>(places - written), '0');
    out.append(fractionDigits.data(), static_cast<std::size_t>(written));
    return true;
}

}  // namespace

void CJsonWriter::BeforeValue() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_hasMembers.empty()) {
        return;
    }
    if (m_hasMembers.back()) {
        m_text += ',';
    }
    m_hasMembers.back() = true;
    if (m_indent > 0) {
        m_text += '\n';
        m_text.append(m_hasMembers.size() * static_cast<std::size_t>(m_indent), ' ');
    }
}

void CJsonWriter::BeginObject() {
    BeforeValue();
    m_text += '{';
    m_hasMembers.push_back(false);
}

void CJsonWriter::BeginArray() {
    BeforeValue();
    m_text += '[';
    m_hasMembers.push_back(false);
}

void CJsonWriter::WriteClose(char bracket) {
    const bool hadMembers = m_hasMembers.back();
    m_hasMembers.pop_back();
    if (m_indent > 0 && hadMembers) {
        m_text += '\n';
        m_text.append(m_hasMembers.size() * static_cast<std::size_t>(m_indent), ' ');
    }
    m_text += bracket;
}

void CJsonWriter::EndObject() {
    WriteClose('}');
}

void CJsonWriter::EndArray() {
    WriteClose(']');
}

void CJsonWriter::Key(std::string_view name) {
    // JSON Lines write many keys: on one line, the comma before a member and
    // the key go across in one append.
    std::array<char, 64> key;
    if (m_indent == 0 && !m_afterKey && !m_hasMembers.empty() && name.size() + 3 <= key.size()) {
        std::size_t size = 0;
        if (m_hasMembers.back()) {
            key[size++] = ',';
        }
        m_hasMembers.back() = true;
        key[size++] = '"';
        size += name.copy(key.data() + size, name.size());
        key[size++] = '"';
        key[size++] = ':';
        m_text.append(key.data(), size);
    } else {
        BeforeValue();
        m_text += '"';
        m_text.append(name);
        m_text.append(m_indent > 0 ? "\": " : "\":");
    }
    m_afterKey = true;
}

void CJsonWriter::WriteEscapedPart(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        // Runs that need no escape go across in one piece.
        std::size_t run = pos;
        while (run < text.size() && NeedsNoEscape(static_cast<unsigned char>(text[run]))) {
            ++run;
        }
        m_text.append(text.data() + pos, run - pos);
        if (run == text.size()) {
            break;
        }
        AppendEscape(m_text, static_cast<unsigned char>(text[run]));
        pos = run + 1;
    }
}

void CJsonWriter::WriteEscaped(std::string_view text) {
    m_text += '"';
    WriteEscapedPart(text);
    m_text += '"';
}

void CJsonWriter::String(std::string_view text) {
    BeforeValue();
    WriteEscaped(text);
}

void CJsonWriter::DataText(std::string_view text) {
    BeforeValue();
    m_text += '"';
    // Most texts are plain ASCII, which reads the same either way: only from
    // the first byte above 0x7F on is the text checked for UTF-8.
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t run = pos;
        while (run < text.size() && IsPlainAscii(static_cast<unsigned char>(text[run]))) {
            ++run;
        }
        m_text.append(text.data() + pos, run - pos);
        if (run == text.size()) {
            break;
        }
        const auto byte = static_cast<unsigned char>(text[run]);
        if (byte >= 0x80) {
            const std::string_view rest = text.substr(run);
            if (IsUtf8(rest)) {
                WriteEscapedPart(rest);
            } else {
                WriteEscapedPart(Cp1252ToUtf8(rest));
            }
            break;
        }
        AppendEscape(m_text, byte);
        pos = run + 1;
    }
    m_text += '"';
}

void CJsonWriter::Number(double value) {
    BeforeValue();
    if (!std::isfinite(value)) {
        m_text += "null";
        return;
    }
    if (std::signbit(value)) {
        m_text += '-';
        value = -value;
    }
    if (value == 0) {
        m_text += "0.0";
        return;
    }
    if (AppendFewDecimals(m_text, value)) {
        return;
    }
    std::array<char, 32> buffer;
    if (value >= 1e-4 && value < 1e15) {
        // The range written without an exponent: the shortest fixed form has
        // the same digits, with ".0" after a whole number.
        const auto fixed = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                         std::chars_format::fixed);
        const std::string_view text(buffer.data(),
                                    static_cast<std::size_t>(fixed.ptr - buffer.data()));
        m_text.append(text);
        if (text.find('.') == std::string_view::npos) {
            m_text += ".0";
        }
        return;
    }
    // The shortest digits that read back the same, as d.ddde±x.
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::scientific);
    const std::string_view scientific(buffer.data(),
                                      static_cast<std::size_t>(result.ptr - buffer.data()));
    const std::size_t e = scientific.find('e');
    std::array<char, 24> digits;
    std::size_t count = 0;
    for (std::size_t i = 0; i < e; ++i) {
        if (scientific[i] != '.') {
            digits[count++] = scientific[i];
        }
    }
    int exponent = 0;
    const char* exponentStart = scientific.data() + e + 1;
    if (*exponentStart == '+') {
        ++exponentStart;
    }
    std::from_chars(exponentStart, scientific.data() + scientific.size(), exponent);
    AppendLaidOut(m_text, std::string_view(digits.data(), count), exponent + 1);
}

void CJsonWriter::WriteInteger(std::int64_t value) {
    BeforeValue();
    std::array<char, 24> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    m_text.append(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
}

void CJsonWriter::WriteInteger(std::uint64_t value) {
    BeforeValue();
    std::array<char, 24> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    m_text.append(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
}

void CJsonWriter::Null() {
    BeforeValue();
    m_text += "null";
}
