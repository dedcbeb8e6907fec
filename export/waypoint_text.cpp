#include "export/waypoint_text.h"

#include <cmath>
#include <cstdio>

#include "export/file_output.h"
#include "infosheet/page_texts.h"

bool HasMapPosition(const CMine& mine) {
    const float latitude = mine.m_fLatitude;
    const float longitude = mine.m_fLongitude;
    return std::isfinite(latitude) && std::isfinite(longitude) && std::fabs(latitude) <= 90.0f &&
           std::fabs(longitude) <= 180.0f;
}

void AppendDegrees(std::string& out, float degrees) {
    char text[32];  // "-180.000000" with room to spare
    const int length = std::snprintf(text, sizeof text, "%.6f", static_cast<double>(degrees));
    if (length > 0 && static_cast<std::size_t>(length) < sizeof text) {
        out.append(text, static_cast<std::size_t>(length));
    }
}

std::vector<std::string> WaypointDescriptionParts(const CMine& mine) {
    std::vector<std::string> parts;
    for (const std::string_view text : {mine.m_strComMajor.View(), mine.m_strComMinor.View(),
                                        mine.m_strComTrace.View(), mine.m_strDevStat.View()}) {
        if (!text.empty()) {
            parts.emplace_back(text);
        }
    }
    std::string location = LocationText(mine);
    if (!location.empty()) {
        parts.push_back(std::move(location));
    }
    return parts;
}

void WriteWaypoints(std::ostream& out, std::string_view header, std::string_view footer,
                    const CMineArray& mines, std::span<const std::size_t> indices,
                    const AppendWaypoint& append) {
    std::string pending(header);
    std::size_t number = 0;
    for (const std::size_t index : indices) {
        const CMine& mine = mines[index];
        if (HasMapPosition(mine)) {
            append(pending, ++number, mine);
            WriteWhenFull(out, pending);
        }
    }
    pending += footer;
    WritePending(out, pending);
}
