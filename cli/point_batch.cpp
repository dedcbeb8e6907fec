#include "cli/point_batch.h"

#include <filesystem>
#include <iostream>
#include <system_error>

#include "cli/commands.h"
#include "points/gpx_point_reader.h"
#include "points/text_point_reader.h"

CPointsFile::CPointsFile(const std::string& path) : m_strPath(path), m_bGpx(IsGpxName(path)) {
    std::istream* input = &std::cin;
    if (path != "-") {
        std::error_code error;
        if (std::filesystem::is_directory(path, error)) {
            throw CommandError(kExitFailed, "points file '" + path + "' is a folder");
        }
        m_file.open(path, std::ios::binary);
        if (!m_file) {
            throw CommandError(kExitFailed, "cannot open points file '" + path + "'");
        }
        input = &m_file;
    }
    if (m_bGpx) {
        m_pReader = std::make_unique<CGpxPointReader>(*input);
    } else {
        m_pReader = std::make_unique<CTextPointReader>(*input);
    }
}

int AnswerPoints(CPointsFile& points, std::ostream& out, std::ostream& err,
                 const std::function<PointAnswer(const QueryPoint&)>& answer) {
    const char* const numberKey = points.IsGpx() ? "point" : "line";
    std::size_t answered = 0;
    std::size_t found = 0;
    std::size_t unreadable = 0;
    QueryPoint point;
    while (points.Reader().Next(point)) {
        nlohmann::ordered_json line = {{numberKey, point.number}};
        if (!point.error.empty()) {
            ++unreadable;
            line["error"] = point.error;
        } else {
            ++answered;
            PointAnswer result = answer(point);
            found += result.found ? 1 : 0;
            line["lat"] = point.latitude;
            line["lon"] = point.longitude;
            line["result"] = std::move(result.result);
        }
        out << line.dump() << '\n';
    }
    out.flush();
    if (unreadable > 0) {
        err << "vemra-cli: " << unreadable << " of the entries in '" << points.Path()
            << "' are not points\n";
        return kExitFailed;
    }
    if (answered == 0) {
        err << "vemra-cli: no points in '" << points.Path() << "'\n";
        return kExitFailed;
    }
    return found == 0 ? kExitNoMatch : kExitOk;
}
