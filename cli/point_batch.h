#pragma once

#include <fstream>
#include <functional>
#include <istream>
#include <memory>
#include <ostream>
#include <string>

#include "cli/json_writer.h"
#include "points/query_point.h"

// The points of a --points file ("-" for standard input), opened before the
// data file is loaded so that a missing points file fails at once.
class CPointsFile {
public:
    // A name ending in ".gpx" is read as GPX, anything else as "LAT,LON"
    // lines. Throws CommandError(kExitFailed) when the file cannot be opened.
    explicit CPointsFile(const std::string& path);

    const std::string& Path() const { return m_strPath; }
    // True for GPX: its points are numbered, not its lines.
    bool IsGpx() const { return m_bGpx; }
    IPointReader& Reader() { return *m_pReader; }

private:
    std::string m_strPath;
    bool m_bGpx = false;
    std::ifstream m_file;
    std::unique_ptr<IPointReader> m_pReader;
};

// Writes the JSON value of what a command found for one point into `result`
// and says whether that is something (a mine, or a non-empty list) rather
// than nothing.
using PointAnswerer = std::function<bool(const QueryPoint& point, CJsonWriter& result)>;

// Answers every point of `points`, one JSON object per line on `out`, as each
// is read: {"line" (or "point" for GPX): number, "lat", "lon", "result"} for
// a point, {"line" (or "point"): number, "error": text} for an entry that is
// not one. Lines go out in blocks of about a megabyte, so memory does not
// grow with the points file. Returns kExitFailed when any entry was not a
// point or there was no point at all (saying so on `err`), kExitNoMatch when
// no point found anything, kExitOk otherwise.
int AnswerPoints(CPointsFile& points, std::ostream& out, std::ostream& err,
                 const PointAnswerer& answer);
