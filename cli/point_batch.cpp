#include "cli/point_batch.h"

#include <iostream>
#include <string>

#include "cli/commands.h"
#include "cli/input_file.h"
#include "points/gpx_point_reader.h"
#include "points/text_point_reader.h"

CPointsFile::CPointsFile(const std::string& path) : m_strPath(path), m_bGpx(IsGpxName(path)) {
    std::istream& input = OpenInputFile(path, "points file", m_file);
    if (m_bGpx) {
        m_pReader = std::make_unique<CGpxPointReader>(input);
    } else {
        m_pReader = std::make_unique<CTextPointReader>(input);
    }
}

int AnswerPoints(CPointsFile& points, std::ostream& out, std::ostream& err,
                 const PointAnswerer& answer) {
    constexpr std::size_t kBlockBytes = std::size_t{1} << 20;
    const std::string_view numberKey = points.IsGpx() ? "point" : "line";
    CJsonWriter writer;
    std::string& text = writer.Text();
    std::size_t answered = 0;
    std::size_t found = 0;
    std::size_t unreadable = 0;
    QueryPoint point;
    while (points.Reader().Next(point)) {
        writer.BeginObject();
        writer.Key(numberKey);
        writer.Number(point.number);
        if (!point.error.empty()) {
            ++unreadable;
            writer.Key("error");
            writer.String(point.error);  // plain ASCII
        } else {
            ++answered;
            writer.Key("lat");
            writer.Number(point.latitude);
            writer.Key("lon");
            writer.Number(point.longitude);
            writer.Key("result");
            found += answer(point, writer) ? 1 : 0;
        }
        writer.EndObject();
        text += '\n';
        if (text.size() >= kBlockBytes) {
            out.write(text.data(), static_cast<std::streamsize>(text.size()));
            text.clear();
        }
    }
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
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
