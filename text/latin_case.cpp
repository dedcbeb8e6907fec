#include "text/latin_case.h"

#include <algorithm>
#include <optional>

#include "text/text_encoding.h"

namespace {

struct CaseFold {
    char16_t from;
    char16_t to;
};

// Latin Extended-B, whose capitals pair irregularly: the simple case mappings
// of the Unicode character database, sorted by `from`.
constexpr CaseFold kExtendedBFolds[] = {
    {0x0181, 0x0253}, {0x0182, 0x0183}, {0x0184, 0x0185}, {0x0186, 0x0254}, {0x0187, 0x0188},
    {0x0189, 0x0256}, {0x018A, 0x0257}, {0x018B, 0x018C}, {0x018E, 0x01DD}, {0x018F, 0x0259},
    {0x0190, 0x025B}, {0x0191, 0x0192}, {0x0193, 0x0260}, {0x0194, 0x0263}, {0x0196, 0x0269},
    {0x0197, 0x0268}, {0x0198, 0x0199}, {0x019C, 0x026F}, {0x019D, 0x0272}, {0x019F, 0x0275},
    {0x01A0, 0x01A1}, {0x01A2, 0x01A3}, {0x01A4, 0x01A5}, {0x01A6, 0x0280}, {0x01A7, 0x01A8},
    {0x01A9, 0x0283}, {0x01AC, 0x01AD}, {0x01AE, 0x0288}, {0x01AF, 0x01B0}, {0x01B1, 0x028A},
    {0x01B2, 0x028B}, {0x01B3, 0x01B4}, {0x01B5, 0x01B6}, {0x01B7, 0x0292}, {0x01B8, 0x01B9},
    {0x01BC, 0x01BD}, {0x01C4, 0x01C6}, {0x01C5, 0x01C6}, {0x01C7, 0x01C9}, {0x01C8, 0x01C9},
    {0x01CA, 0x01CC}, {0x01CB, 0x01CC}, {0x01CD, 0x01CE}, {0x01CF, 0x01D0}, {0x01D1, 0x01D2},
    {0x01D3, 0x01D4}, {0x01D5, 0x01D6}, {0x01D7, 0x01D8}, {0x01D9, 0x01DA}, {0x01DB, 0x01DC},
    {0x01DE, 0x01DF}, {0x01E0, 0x01E1}, {0x01E2, 0x01E3}, {0x01E4, 0x01E5}, {0x01E6, 0x01E7},
    {0x01E8, 0x01E9}, {0x01EA, 0x01EB}, {0x01EC, 0x01ED}, {0x01EE, 0x01EF}, {0x01F1, 0x01F3},
    {0x01F2, 0x01F3}, {0x01F4, 0x01F5}, {0x01F6, 0x0195}, {0x01F7, 0x01BF}, {0x01F8, 0x01F9},
    {0x01FA, 0x01FB}, {0x01FC, 0x01FD}, {0x01FE, 0x01FF}, {0x0200, 0x0201}, {0x0202, 0x0203},
    {0x0204, 0x0205}, {0x0206, 0x0207}, {0x0208, 0x0209}, {0x020A, 0x020B}, {0x020C, 0x020D},
    {0x020E, 0x020F}, {0x0210, 0x0211}, {0x0212, 0x0213}, {0x0214, 0x0215}, {0x0216, 0x0217},
    {0x0218, 0x0219}, {0x021A, 0x021B}, {0x021C, 0x021D}, {0x021E, 0x021F}, {0x0220, 0x019E},
    {0x0222, 0x0223}, {0x0224, 0x0225}, {0x0226, 0x0227}, {0x0228, 0x0229}, {0x022A, 0x022B},
    {0x022C, 0x022D}, {0x022E, 0x022F}, {0x0230, 0x0231}, {0x0232, 0x0233}, {0x023A, 0x2C65},
    {0x023B, 0x023C}, {0x023D, 0x019A}, {0x023E, 0x2C66}, {0x0241, 0x0242}, {0x0243, 0x0180},
    {0x0244, 0x0289}, {0x0245, 0x028C}, {0x0246, 0x0247}, {0x0248, 0x0249}, {0x024A, 0x024B},
    {0x024C, 0x024D}, {0x024E, 0x024F},
};

char32_t FoldExtendedA(char32_t c) {
    switch (c) {
        case 0x0130:  // İ
        case 0x0131:  // ı
            return 'i';
        case 0x0178:  // Ÿ
            return 0x00FF;
        case 0x017F:  // ſ
            return 's';
        default:
            break;
    }
    // Capitals come first in each pair: on even code points, then on odd
    // ones from Ĺ to Ň and Ź to Ž.
    const bool evenCapitals = c <= 0x0137 || (c >= 0x014A && c <= 0x0177);
    const bool oddCapitals = (c >= 0x0139 && c <= 0x0148) || (c >= 0x0179 && c <= 0x017E);
    return (evenCapitals && c % 2 == 0) || (oddCapitals && c % 2 == 1) ? c + 1 : c;
}

char32_t FoldExtendedB(char32_t c) {
    const auto* end = std::end(kExtendedBFolds);
    const auto* fold =
        std::lower_bound(std::begin(kExtendedBFolds), end, c,
                         [](const CaseFold& f, char32_t key) { return f.from < key; });
    return fold != end && fold->from == c ? fold->to : c;
}

char32_t FoldExtendedAdditional(char32_t c) {
    if (c == 0x1E9B) {  // ẛ
        return 0x1E61;
    }
    if (c == 0x1E9E) {  // ẞ
        return 0x00DF;
    }
    const bool paired = c <= 0x1E95 || c >= 0x1EA0;
    return paired && c % 2 == 0 ? c + 1 : c;
}

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The folded character of an ASCII byte; any other byte stays above 0x7F.
char32_t FoldedAsciiOf(char c) {
    const unsigned char byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? byte - 'A' + 'a' : byte;
}

}  // namespace

char32_t FoldLatinCase(char32_t c) {
    if (c < 0x80) {
        return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
    }
    if (c < 0x100) {
        return c >= 0xC0 && c <= 0xDE && c != 0xD7 ? c + 0x20 : c;
    }
    if (c < 0x180) {
        return FoldExtendedA(c);
    }
    if (c < 0x250) {
        return FoldExtendedB(c);
    }
    if (c >= 0x1E00 && c < 0x1F00) {
        return FoldExtendedAdditional(c);
    }
    return c;
}

void AppendFoldedText(std::string& out, std::string_view text) {
    // Whether the text is UTF-8 matters only from its first byte above 0x7F.
    std::optional<bool> utf8;
    for (std::size_t pos = 0; pos < text.size();) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte < 0x80) {
            // An ASCII byte is its own character in either reading.
            out += static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte - 'A' + 'a' : byte);
            ++pos;
        } else {
            if (!utf8) {
                utf8 = IsUtf8(text);
            }
            AppendUtf8(out, FoldLatinCase(NextDataCharacter(text, *utf8, pos)));
        }
    }
}

CaselessText::CaselessText(std::string_view text) {
    const bool utf8 = IsUtf8(text);
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t c = FoldLatinCase(NextDataCharacter(text, utf8, pos));
        m_ascii = m_ascii && c < 0x80;
        m_folded += c;
    }
}

bool CaselessText::Equals(std::string_view text) const {
    return Equals(text, text);
}

bool CaselessText::Equals(std::string_view part, std::string_view whole) const {
    // ASCII bytes are characters of their own in either reading, so they are
    // compared one to one while they last; the first other byte hands the
    // text over to decoding.
    const std::size_t common = std::min(part.size(), m_folded.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (static_cast<unsigned char>(part[i]) >= 0x80) {
            return EqualsDecoded(part, IsUtf8(whole));
        }
        if (FoldedAsciiOf(part[i]) != m_folded[i]) {
            return false;
        }
    }
    // Equal so far: any character more on either side makes them differ.
    return part.size() == m_folded.size();
}

bool CaselessText::OccursIn(std::string_view text) const {
    const bool ascii = IsAscii(text);
    const bool utf8 = ascii || IsUtf8(text);
    if (m_ascii && (ascii || !utf8)) {
        // Only ASCII folds to ASCII there (code page 1252 has no 'İ', 'ı' or
        // 'ſ'), and an ASCII byte is a character of its own: a byte search.
        return OccursInBytes(text);
    }
    if (ascii) {
        return false;  // ASCII folds to ASCII alone
    }
    for (std::size_t pos = 0;; NextDataCharacter(text, utf8, pos)) {
        std::size_t end = pos;
        if (ComesNext(text, utf8, end)) {
            return true;
        }
        if (pos == text.size()) {
            return false;
        }
    }
}

bool CaselessText::OccursInBytes(std::string_view text) const {
    if (m_folded.size() > text.size()) {
        return false;
    }
    for (std::size_t at = 0; at + m_folded.size() <= text.size(); ++at) {
        if (std::equal(m_folded.begin(), m_folded.end(), text.begin() + at,
                       [](char32_t f, char c) { return f == FoldedAsciiOf(c); })) {
            return true;
        }
    }
    return false;
}

bool CaselessText::EqualsDecoded(std::string_view text, bool utf8) const {
    std::size_t pos = 0;
    return ComesNext(text, utf8, pos) && pos == text.size();
}

// Whether these characters come next in `text` from `pos` on; pos moves past
// the characters read.
bool CaselessText::ComesNext(std::string_view text, bool utf8, std::size_t& pos) const {
    for (const char32_t f : m_folded) {
        if (pos == text.size() || FoldLatinCase(NextDataCharacter(text, utf8, pos)) != f) {
            return false;
        }
    }
    return true;
}
