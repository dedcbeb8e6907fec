#include "export/waypoint_text.h"

#include "export/file_output.h"
#include "infosheet/page_texts.h"

bool HasMapPosition(const CMine& mine) {
    return IsOnGlobe({mine.m_fLatitude, mine.m_fLongitude});
}

bool AppendWaypointDescription(std::string& out, const CMine& mine, AppendText appendPart) {
    constexpr std::string_view kSeparator = "; ";
    bool any = false;
    const auto append = [&](std::string_view part) {
        if (!part.empty()) {
            if (any) {
                out += kSeparator;
            }
            appendPart(out, part);
            any = true;
        }
    };
    for (const std::string_view text : {mine.m_strComMajor.View(), mine.m_strComMinor.View(),
                                        mine.m_strComTrace.View(), mine.m_strDevStat.View()}) {
        append(text);
    }
    append(LocationText(mine));
    return any;
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
