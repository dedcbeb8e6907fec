#pragma once

// Letter case of the Latin letters, for finding what a user typed in record
// texts. Both sides are read by the data text rule (text_encoding.h), so
// "PEÑASCO" in code page 1252 and "Peñasco" in UTF-8 both hold "peñasco",
// typed in either.

#include <cstddef>
#include <string>
#include <string_view>

// The simple case folding of `c` for the Latin letters (Basic Latin, Latin-1
// Supplement, Latin Extended-A and -B, Latin Extended Additional): the lower
// case of its upper case, by one-letter mappings. 'Ÿ' folds to 'ÿ', 'ſ' to
// 's', 'ẞ' to 'ß' while 'ß' stays (its upper case "SS" is two letters), and
// both 'İ' and 'ı' to 'i', as a search that does not know the language reads
// them. Any other character comes back as it is; folding is idempotent.
char32_t FoldLatinCase(char32_t c);

// Appends the characters of a record's text, read by the data text rule and
// each folded, to `out` in UTF-8: the bytes of two such keys compare as their
// characters do, so a list sorted by them ignores Latin letter case.
void AppendFoldedText(std::string& out, std::string_view text);

// A text to find in record texts, Latin letter case ignored: the characters
// of the text given, read by the data text rule, each folded.
class CaselessText {
public:
    explicit CaselessText(std::string_view text);

    // Whether the record's text `text`, folded, has exactly these characters.
    bool Equals(std::string_view text) const;
    // The same for `part`, a part of the record's text `whole` cut at ASCII
    // bytes, read as the whole text reads.
    bool Equals(std::string_view part, std::string_view whole) const;
    // Whether these characters appear in a row in the record's text, folded.
    bool OccursIn(std::string_view text) const;

    const std::u32string& Folded() const { return m_folded; }

private:
    // Whether these characters, all ASCII, are found byte by byte in `text`.
    bool OccursInBytes(std::string_view text) const;
    bool EqualsDecoded(std::string_view text, bool utf8) const;
    bool ComesNext(std::string_view text, bool utf8, std::size_t& pos) const;

    std::u32string m_folded;
    // Every folded character is ASCII, so that most record texts are
    // searched byte by byte.
    bool m_ascii = true;
};
