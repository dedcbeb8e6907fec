#include "export/waypoint_file_export.h"

std::vector<std::size_t> MinesOnMap(const CMineArray& mines, const PositionFilter& onMap) {
    std::vector<std::size_t> chosen;
    for (std::size_t i = 1; i < mines.GetSize(); ++i) {
        const CMine& mine = mines[i];
        if (!onMap ||
            onMap(static_cast<double>(mine.m_fLatitude), static_cast<double>(mine.m_fLongitude))) {
            chosen.push_back(i);
        }
    }
    return chosen;
}

ExportResult ExportWaypointFile(ExportKind kind, const std::string& path, const CMineArray& mines,
                                const PositionFilter& onMap) {
    return ExportKindRowOf(kind).write(path, mines, MinesOnMap(mines, onMap));
}
