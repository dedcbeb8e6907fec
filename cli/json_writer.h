#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Writes JSON into one growing string, member by member, without building a
// tree: the commas, the layout, JSON's escapes and the number digits come from
// here alone. The text is byte for byte what nlohmann::ordered_json::dump()
// writes for the same values (dump(indent) when the writer indents), so that
// the documented forms stay as they are.
class CJsonWriter {
public:
    // With indent 0 everything stays on one line with no blanks (JSON Lines);
    // otherwise each member or element goes on a line of its own, indented by
    // `indent` blanks per level, and a key is followed by ": ".
    explicit CJsonWriter(int indent = 0) : m_indent(indent) {}

    // What has been written so far; a caller may write out and clear it
    // between top-level values.
    std::string& Text() { return m_text; }

    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The name of the next member of the open object; its value follows.
    // Names are the program's own: printable ASCII without '"' or '\\', so
    // they are written as they are.
    void Key(std::string_view name);

    // A string of UTF-8 text (`text` must be valid UTF-8).
    void String(std::string_view text);
    // A string of a mine record's text, decoded by DataTextToUtf8's rule:
    // valid UTF-8 as it is, anything else as Windows code page 1252.
    void DataText(std::string_view text);
    // The shortest digits that read back as the same double, ".0" after a
    // whole number, an exponent below 1e-4 and from 1e15 on ("1e+15",
    // "1.5e-05"); null when not finite.
    void Number(double value);
    template <std::integral Integer>
    void Number(Integer value) {
        if constexpr (std::is_signed_v<Integer>) {
            WriteInteger(static_cast<std::int64_t>(value));
        } else {
            WriteInteger(static_cast<std::uint64_t>(value));
        }
    }
    void Null();

private:
    // Writes the comma and the line break that go before a value or a key.
    void BeforeValue();
    void WriteInteger(std::int64_t value);
    void WriteInteger(std::uint64_t value);
    // `text` with JSON's escapes, without quotes around it.
    void WriteEscapedPart(std::string_view text);
    void WriteEscaped(std::string_view text);
    void WriteClose(char bracket);

    std::string m_text;
    int m_indent;
    // For each open object or array, whether it has a member yet.
    std::vector<std::uint8_t> m_hasMembers;
    // A key has been written and its value is next.
    bool m_afterKey = false;
};
