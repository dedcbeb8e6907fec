#pragma once

#include <cstddef>
#include <istream>
#include <string>

#include "points/bounded_line_reader.h"
#include "points/query_point.h"

// Reads the points of OziExplorer's own path files, numbered by line:
//
// - a track file (.plt): "OziExplorer Track Point File Version 2.1", three
//   more header lines, a line describing the track and a line with the
//   number of points; then one point a line, "LAT,LON,BREAK,ALTITUDE,..."
//   where BREAK 1 starts a new part of the track;
// - a route file (.rte): "OziExplorer Route File Version 1.0" and three more
//   header lines; then an "R,NUMBER,NAME,..." line opening each route and
//   "W,ROUTE,ID,NUMBER,NAME,LAT,LON,..." lines, one for each of its points.
//
// Every track segment and every route is a part of its own (QueryPoint::part).
// A file whose first line is not the header gives one error and nothing else;
// a line that is not a point gives an error for that line, and reading goes
// on. Blank lines are skipped, and at most kMaxLineBytes of a line are kept
// (a longer line is an error).
class COziPathReader : public IPointReader {
public:
    static constexpr std::size_t kMaxLineBytes = 1024;
    enum class Kind { kTrack, kRoute };

    // `input` must outlive the reader.
    COziPathReader(std::istream& input, Kind kind) : m_lines(input, kMaxLineBytes), m_kind(kind) {}

    bool Next(QueryPoint& point) override;

private:
    // Reads the header lines; false, with an error in `point`, when the
    // first is not the header of the file's kind.
    bool ReadHeader(QueryPoint& point);
    // Reads one line of points; true when it gave a point or an error.
    bool ReadTrackLine(std::string_view line, QueryPoint& point);
    bool ReadRouteLine(std::string_view line, QueryPoint& point);

    CBoundedLineReader m_lines;
    Kind m_kind;
    bool m_bStarted = false;
    bool m_bFinished = false;
    bool m_bPartOpen = false;
    std::size_t m_nParts = 0;
};
