#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Splits one line of a comma-separated file into fields. Quote characters
// stay inside the fields; GetField removes them on request, every one of
// them. Field numbers are 1-based; field 0 is the whole line.
//
// The fields are held as offsets into a copy of the line, so splitting is
// linear in the line's length whatever the number of fields.
class CCsvLine {
public:
    CCsvLine(std::string_view line, char separator, char quote);

    // Replaces the line and splits it. Separator 0: the line is one field.
    // Quote 0: no quoting.
    void SetLine(std::string_view line, char separator, char quote);

    // Splits the current line again; returns the number of fields.
    int Split();

    // A copy of field `index` (0: the whole line); empty past the last field.
    // removeQuotes deletes every quote character of the copy.
    std::string GetField(int index, bool removeQuotes) const;

    // Field `index` as stored (quotes kept); empty past the last field.
    // Valid until the next SetLine.
    std::string_view FieldView(int index) const;

    int GetFieldCount() const { return m_nFields; }

    void Clear();

private:
    std::string m_strLine;
    // Offsets of fields 1..n into m_strLine: field k is [begin, end).
    std::vector<std::pair<std::size_t, std::size_t>> m_aFields;
    int m_nFields = 0;
    char m_chSeparator = ',';
    char m_chQuote = '"';
};

// Deletes every `quote` from `text` (nothing when quote is 0).
std::string RemoveQuotes(std::string_view text, char quote);
