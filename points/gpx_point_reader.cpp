#include "points/gpx_point_reader.h"

#include <optional>
#include <stdexcept>

#include "text/ascii_text.h"
#include "text/trim.h"

namespace {

constexpr int kEnd = -1;

// A fault in the document's structure; ends the reading.
class CGpxSyntaxError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

bool IsXmlSpace(int c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsNameStart(int c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
}

bool IsNameChar(int c) {
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// The name without its namespace prefix.
std::string_view LocalName(std::string_view name) {
    const std::size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

}  // namespace

bool IsGpxName(std::string_view path) {
    return EndsWithIgnoringAsciiCase(path, ".gpx");
}

int CGpxPointReader::Get() {
    std::streambuf* buffer = m_input.rdbuf();
    if (buffer == nullptr) {
        return kEnd;
    }
    const auto c = buffer->sbumpc();
    if (std::streambuf::traits_type::eq_int_type(c, std::streambuf::traits_type::eof())) {
        return kEnd;
    }
    const int byte = static_cast<unsigned char>(std::streambuf::traits_type::to_char_type(c));
    if (byte == '\n') {
        ++m_nLine;
    } else if (byte == 0) {
        Fail("a NUL byte: not a GPX document");
    }
    return byte;
}

void CGpxPointReader::Fail(const std::string& message) const {
    // Names come from the document: keep the message plain ASCII.
    std::string text = "GPX line " + std::to_string(m_nLine) + ": " + message;
    for (char& c : text) {
        if (c < ' ' || c > '~') {
            c = '?';
        }
    }
    throw CGpxSyntaxError(text);
}

void CGpxPointReader::Expect(char wanted) {
    if (Get() != static_cast<unsigned char>(wanted)) {
        Fail(std::string("expected '") + wanted + "'");
    }
}

int CGpxPointReader::SkipSpace(int c) {
    while (IsXmlSpace(c)) {
        c = Get();
    }
    return c;
}

std::string CGpxPointReader::ReadName(int first) {
    if (!IsNameStart(first)) {
        Fail("expected a name");
    }
    std::string name(1, static_cast<char>(first));
    for (;;) {
        std::streambuf* buffer = m_input.rdbuf();
        if (buffer == nullptr) {
            return name;
        }
        const auto next = buffer->sgetc();
        if (std::streambuf::traits_type::eq_int_type(next, std::streambuf::traits_type::eof()) ||
            !IsNameChar(
                static_cast<unsigned char>(std::streambuf::traits_type::to_char_type(next)))) {
            return name;
        }
        if (name.size() == kMaxNameBytes) {
            Fail("a name longer than " + std::to_string(kMaxNameBytes) + " bytes");
        }
        name.push_back(static_cast<char>(Get()));
    }
}

std::string CGpxPointReader::ReadQuoted(int quote) {
    std::string value;
    for (int c = Get(); c != quote; c = Get()) {
        if (c == kEnd || c == '<') {
            Fail("an attribute value is not closed");
        }
        if (value.size() == kMaxValueBytes) {
            Fail("an attribute value longer than " + std::to_string(kMaxValueBytes) + " bytes");
        }
        value.push_back(static_cast<char>(c));
    }
    return value;
}

void CGpxPointReader::SkipPast(std::string_view terminator, std::string_view what) {
    std::string window;
    while (window != terminator) {
        const int c = Get();
        if (c == kEnd) {
            Fail("the document ends inside " + std::string(what));
        }
        window.push_back(static_cast<char>(c));
        if (window.size() > terminator.size()) {
            window.erase(0, 1);
        }
    }
}

bool CGpxPointReader::Next(QueryPoint& point) {
    if (m_bFinished) {
        return false;
    }
    try {
        if (!m_bStarted) {
            m_bStarted = true;
            // A UTF-8 byte order mark may open the document.
            if (m_input.rdbuf() != nullptr && m_input.rdbuf()->sgetc() == 0xEF) {
                Get();
                if (Get() != 0xBB || Get() != 0xBF) {
                    Fail("not a GPX document");
                }
            }
        }
        for (;;) {
            const int c = Get();
            if (c == kEnd) {
                if (!m_open.empty()) {
                    Fail("the document ends inside <" + m_open.back() + ">");
                }
                if (!m_bRootSeen) {
                    Fail("no <gpx> element");
                }
                m_bFinished = true;
                return false;
            }
            if (c == '<') {
                if (ReadMarkup(point)) {
                    return true;
                }
            } else if (m_open.empty() && !IsXmlSpace(c)) {
                Fail("text outside the <gpx> element");
            }
        }
    } catch (const CGpxSyntaxError& error) {
        m_bFinished = true;
        point = QueryPoint{};
        point.number = m_nPoints + 1;
        point.error = error.what();
        return true;
    }
}

bool CGpxPointReader::ReadMarkup(QueryPoint& point) {
    const int c = Get();
    if (c == '?') {
        SkipPast("?>", "a processing instruction");
        return false;
    }
    if (c == '!') {
        const int next = Get();
        if (next == '-') {
            Expect('-');
            SkipPast("-->", "a comment");
            return false;
        }
        if (next == '[' && !m_open.empty()) {
            for (const char wanted : std::string_view("CDATA[")) {
                Expect(wanted);
            }
            SkipPast("]]>", "a CDATA section");
            return false;
        }
        Fail("a DOCTYPE or other declaration is not read");
    }
    if (c == '/') {
        ReadEndTag();
        return false;
    }
    return ReadStartTag(c, point);
}

void CGpxPointReader::ReadEndTag() {
    const std::string name = ReadName(Get());
    if (SkipSpace(Get()) != '>') {
        Fail("expected '>' after </" + name);
    }
    if (m_open.empty() || m_open.back() != name) {
        Fail("</" + name + "> closes no open element of that name");
    }
    m_open.pop_back();
    m_bRootClosed = m_open.empty();
}

bool CGpxPointReader::ReadStartTag(int first, QueryPoint& point) {
    if (m_bRootClosed) {
        Fail("an element after the end of <gpx>");
    }
    const StartTag tag = ReadTag(first);
    const PointKind kind = EnterElement(tag);
    if (kind == PointKind::kNone) {
        return false;
    }
    MakePoint(tag, kind, point);
    return true;
}

CGpxPointReader::StartTag CGpxPointReader::ReadTag(int first) {
    StartTag tag;
    tag.name = ReadName(first);
    for (;;) {
        int c = Get();
        const bool spaced = IsXmlSpace(c);
        c = SkipSpace(c);
        if (c == '>') {
            return tag;
        }
        if (c == '/') {
            Expect('>');
            tag.empty = true;
            return tag;
        }
        if (!spaced) {
            Fail("expected a blank before an attribute of <" + tag.name + ">");
        }
        const std::string attribute = ReadName(c);
        std::string value = ReadAttributeValue(attribute);
        std::optional<std::string>* slot = attribute == "lat"   ? &tag.latitude
                                           : attribute == "lon" ? &tag.longitude
                                                                : nullptr;
        if (slot != nullptr) {
            if (*slot) {
                Fail("<" + tag.name + "> has two " + attribute + " attributes");
            }
            *slot = std::move(value);
        }
    }
}

std::string CGpxPointReader::ReadAttributeValue(const std::string& attribute) {
    if (SkipSpace(Get()) != '=') {
        Fail("expected '=' after " + attribute);
    }
    const int quote = SkipSpace(Get());
    if (quote != '"' && quote != '\'') {
        Fail("expected a quoted value for " + attribute);
    }
    return ReadQuoted(quote);
}

CGpxPointReader::PointKind CGpxPointReader::EnterElement(const StartTag& tag) {
    const std::string_view local = LocalName(tag.name);
    if (m_open.empty() && local != "gpx") {
        Fail("the root element is <" + tag.name + ">, not <gpx>");
    }
    const std::string_view parent = m_open.empty() ? "" : LocalName(m_open.back());
    const bool isWaypoint = local == "wpt" && parent == "gpx" && m_open.size() == 1;
    const bool isPathPoint =
        (local == "rtept" && parent == "rte") || (local == "trkpt" && parent == "trkseg");
    if ((local == "rte" && parent == "gpx") || (local == "trkseg" && parent == "trk")) {
        ++m_nParts;
    }
    m_bRootSeen = true;
    if (tag.empty) {
        m_bRootClosed = m_open.empty();
    } else {
        if (m_open.size() == kMaxDepth) {
            Fail("elements nested more than " + std::to_string(kMaxDepth) + " deep");
        }
        m_open.push_back(tag.name);
    }
    return isWaypoint    ? PointKind::kWaypoint
           : isPathPoint ? PointKind::kPathPoint
                         : PointKind::kNone;
}

void CGpxPointReader::MakePoint(const StartTag& tag, PointKind kind, QueryPoint& point) {
    point = QueryPoint{};
    point.number = ++m_nPoints;
    point.part = kind == PointKind::kPathPoint ? m_nParts : 0;
    if (!tag.latitude || !tag.longitude) {
        point.error = "<" + std::string(LocalName(tag.name)) + "> without " +
                      (tag.latitude ? "lon" : "lat") + " attribute";
        return;
    }
    ReadPosition(Trim(*tag.latitude, kXmlSpace), Trim(*tag.longitude, kXmlSpace), point);
}
