#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Where a field's quote characters are, as SplitChosenFields tells it.
enum class FieldQuotes : unsigned char {
    None,            // no quote character
    AtBothEndsOnly,  // the first and the last byte, and nowhere else
    Elsewhere,       // any other place
};

// One field that SplitChosenFields returns: a view into the line split.
struct ChosenField {
    std::string_view text;
    FieldQuotes quotes = FieldQuotes::None;
};

// Splits one line of a comma-separated file into fields. Quote characters
// stay inside the fields; GetField removes them on request, every one of
// them. Field numbers are 1-based; field 0 is the whole line.
//
// A field that begins with the quote runs to the first separator after its
// closing quote (a doubled quote inside does not close it); an unclosed quote
// runs to the end of the line. A quote anywhere else is an ordinary
// character. Nothing is trimmed. A line that is empty or whose last byte is
// the separator (even inside quotes) ends with one more, empty, field.
//
// The separators and quotes of 64 bytes are found in one step, and each
// field then costs a few bit operations, so splitting is linear in the
// line's length whatever the number of fields.
class CCsvLine {
public:
    CCsvLine(std::string_view line, char separator, char quote);

    // Replaces the line and splits it. Separator 0: the line is one field.
    // Quote 0: no quoting.
    void SetLine(std::string_view line, char separator, char quote);

    // Splits the current line again; returns the number of fields.
    int Split();

    // A copy of field `index` (0: the whole line); empty for a negative index
    // or one past the last field. removeQuotes deletes every quote character
    // of the copy.
    std::string GetField(int index, bool removeQuotes) const;

    // Field `index` as stored (quotes kept); empty where GetField is.
    // Valid until the next SetLine or Clear.
    std::string_view FieldView(int index) const {
        if (index < 0 || index > m_nFields) {
            return {};
        }
        if (index == 0) {
            return m_strLine;
        }
        const FieldSpan& span = m_aFields[static_cast<std::size_t>(index) - 1];
        return std::string_view(m_strLine.data() + span.begin, span.end - span.begin);
    }

    int GetFieldCount() const { return m_nFields; }

    // Forgets the line and its fields and releases their storage.
    void Clear();

    // Splits `line` by this splitter's separator and quote, as SetLine
    // would, and returns the fields numbered in `columns` (1 is the first
    // field; the numbers ascend, repeats allowed), in that order, each with
    // where its quotes are. A field the line does not have is empty. The
    // line held by SetLine stays as it was.
    //
    // The loader's path: `line` is not copied, the views point into it.
    // Fields before the last one wanted are measured, not kept, and fields
    // after it are not looked at, so a line of millions of fields costs no
    // memory of its own. The fields are valid until the next call; their
    // room only ever grows, so that splitting line after line allocates
    // nothing.
    std::span<const ChosenField> SplitChosenFields(std::string_view line,
                                                   std::span<const std::size_t> columns);

private:
    // Field k (1-based) is m_strLine[begin, end).
    struct FieldSpan {
        std::size_t begin;
        std::size_t end;
    };

    // Sets m_nFields from m_aFields and returns it.
    int CountFields();

    std::string m_strLine;
    std::vector<FieldSpan> m_aFields;
    int m_nFields = 0;
    char m_chSeparator = ',';
    char m_chQuote = '"';
    std::vector<ChosenField> m_chosenRoom;
};

// The end of the field that starts at `start` of `line` by CCsvLine's rules:
// the position of the separator that ends it, or line.size(). For a caller
// that looks at one field at a time and keeps none.
std::size_t CsvFieldEnd(std::string_view line, std::size_t start, char separator, char quote);

// Deletes every `quote` from `text` (nothing when quote is 0).
std::string RemoveQuotes(std::string_view text, char quote);
