#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "points/query_point.h"

// True when the file name ends in ".gpx", in any letter case.
bool IsGpxName(std::string_view path);

// Reads the waypoints (<wpt> in <gpx>), route points (<rtept> in <rte>) and
// track points (<trkpt> in <trkseg>) of a GPX document as they stream past,
// numbered from 1 in document order; each gives its lat and lon attributes,
// and route and track points the part they lie on: each <rte> and each
// <trkseg> opens the next. Everything else is passed over. A point whose attributes are not a
// position gives an error for that point, and reading goes on.
//
// The XML is read strictly, as far as finding the points needs: tags must be
// well formed and nested, the root must be <gpx>, and comments, processing
// instructions and CDATA sections are passed over; a DOCTYPE is refused.
// Anything else malformed ends the reading with one error (numbered as the
// next point would be). Memory stays bounded: names, attribute values and
// nesting depth have limits, and text between tags is never kept.
class CGpxPointReader : public IPointReader {
public:
    static constexpr std::size_t kMaxNameBytes = 256;
    static constexpr std::size_t kMaxValueBytes = 1024;
    static constexpr std::size_t kMaxDepth = 64;

    // `input` must outlive the reader.
    explicit CGpxPointReader(std::istream& input) : m_input(input) {}

    bool Next(QueryPoint& point) override;

private:
    int Get();
    [[noreturn]] void Fail(const std::string& message) const;
    void Expect(char wanted);
    int SkipSpace(int c);
    std::string ReadName(int first);
    // The value of `attribute`, whose name has been read: '=' and a quoted
    // text, blanks allowed around the '='.
    std::string ReadAttributeValue(const std::string& attribute);
    // The text up to the closing `quote`, which has been read.
    std::string ReadQuoted(int quote);
    void SkipPast(std::string_view terminator, std::string_view what);
    // Reads what follows a '<'; true when it was a point, now in `point`.
    bool ReadMarkup(QueryPoint& point);

    // A start tag as the XML syntax reads it: its name, the position
    // attributes and whether the element is empty ("/>").
    struct StartTag {
        std::string name;
        std::optional<std::string> latitude;
        std::optional<std::string> longitude;
        bool empty = false;
    };
    enum class PointKind { kNone, kWaypoint, kPathPoint };

    // Reads a start tag, its first name byte `first` given, and takes its
    // element into the document; true when it was a point, now in `point`.
    bool ReadStartTag(int first, QueryPoint& point);
    // The rest of a start tag, by the XML syntax alone.
    StartTag ReadTag(int first);
    // The GPX rules for an element opening: the root must be <gpx>; an <rte>
    // or <trkseg> starts the next part; nesting is limited. Says which point,
    // if any, the element is.
    PointKind EnterElement(const StartTag& tag);
    // The point of `tag`, numbered next.
    void MakePoint(const StartTag& tag, PointKind kind, QueryPoint& point);
    void ReadEndTag();

    std::istream& m_input;
    std::vector<std::string> m_open;  // names of the elements now open
    std::size_t m_nPoints = 0;
    std::size_t m_nParts = 0;
    std::size_t m_nLine = 1;
    bool m_bStarted = false;
    bool m_bRootSeen = false;
    bool m_bRootClosed = false;
    bool m_bFinished = false;
};
