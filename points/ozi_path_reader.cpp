#include "points/ozi_path_reader.h"

#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kTrackHeader = "OziExplorer Track Point File";
constexpr std::string_view kRouteHeader = "OziExplorer Route File";
// Lines before the first point: the header and what follows it.
constexpr std::size_t kTrackHeaderLines = 6;
constexpr std::size_t kRouteHeaderLines = 4;

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The line's comma-separated fields, blanks around each trimmed.
std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t comma = line.find(',');
        fields.push_back(Trimmed(line.substr(0, comma)));
        if (comma == std::string_view::npos) {
            return fields;
        }
        line.remove_prefix(comma + 1);
    }
}

}  // namespace

bool COziPathReader::Next(QueryPoint& point) {
    if (m_bFinished) {
        return false;
    }
    if (!m_bStarted) {
        m_bStarted = true;
        if (!ReadHeader(point)) {
            m_bFinished = true;
            return true;
        }
    }
    while (m_lines.Next()) {
        point = QueryPoint{};
        point.number = m_lines.Number();
        const std::string_view line = Trimmed(m_lines.Line());
        if (m_lines.TooLong()) {
            point.error = "line longer than " + std::to_string(kMaxLineBytes) + " bytes";
            return true;
        }
        if (line.empty()) {
            continue;
        }
        if (line.find('\0') != std::string_view::npos) {
            point.error = "not a line of text (it holds a NUL byte)";
            return true;
        }
        if (m_kind == Kind::kTrack ? ReadTrackLine(line, point) : ReadRouteLine(line, point)) {
            return true;
        }
    }
    m_bFinished = true;
    return false;
}

bool COziPathReader::ReadHeader(QueryPoint& point) {
    const bool track = m_kind == Kind::kTrack;
    const std::string_view wanted = track ? kTrackHeader : kRouteHeader;
    bool recognised = false;
    if (m_lines.Next()) {
        std::string_view first = m_lines.Line();
        // A UTF-8 byte order mark may open the file.
        if (first.starts_with("\xEF\xBB\xBF")) {
            first.remove_prefix(3);
        }
        recognised = first.starts_with(wanted);
    }
    if (!recognised) {
        point = QueryPoint{};
        point.number = 1;
        point.error = std::string("not an OziExplorer ") + (track ? "track" : "route") +
                      " file: the first line is not \"" + std::string(wanted) + " ...\"";
        return false;
    }
    const std::size_t lines = track ? kTrackHeaderLines : kRouteHeaderLines;
    while (m_lines.Number() < lines && m_lines.Next()) {
    }
    return true;
}

bool COziPathReader::ReadTrackLine(std::string_view line, QueryPoint& point) {
    const std::vector<std::string_view> fields = Fields(line);
    if (fields.size() < 2) {
        point.error = "expected LAT,LON,...";
        return true;
    }
    ReadPosition(fields[0], fields[1], point);
    if (!m_bPartOpen || (fields.size() > 2 && fields[2] == "1")) {
        ++m_nParts;
        m_bPartOpen = true;
    }
    point.part = m_nParts;
    return true;
}

bool COziPathReader::ReadRouteLine(std::string_view line, QueryPoint& point) {
    const std::vector<std::string_view> fields = Fields(line);
    if (fields[0] == "R") {
        m_bPartOpen = false;
        return false;
    }
    if (fields[0] != "W") {
        point.error = "expected an R or W line";
        return true;
    }
    if (fields.size() < 7) {
        point.error = "expected W,ROUTE,ID,NUMBER,NAME,LAT,LON,...";
        return true;
    }
    ReadPosition(fields[5], fields[6], point);
    if (!m_bPartOpen) {
        ++m_nParts;
        m_bPartOpen = true;
    }
    point.part = m_nParts;
    return true;
}
