#include "export/file_menu_commands_win.h"

#include <cstring>
#include <string>

#include "archive/mine_archive.h"
#include "export/waypoint_file_export.h"
#include "framework/file_dialog_win.h"
#include "framework/wait_cursor_win.h"

namespace {

// The name chosen in the save dialog of `kind`, as its row words it.
std::optional<std::string> AskExportFileName(CWnd& owner, ExportKind kind) {
    const ExportKindRow& row = ExportKindRowOf(kind);
    const std::string defaultExt(row.ending.substr(1));
    const std::string defaultName(row.defaultName);
    const std::string filter(row.filterText);
    const std::string title(row.dialogTitle);
    return AskSaveFileName(owner, defaultExt.c_str(), defaultName.c_str(), filter.c_str(),
                           title.c_str());
}

}  // namespace

std::optional<ExportResult> ExportPointFileCommand(CWnd& owner, const CMineArray& mines,
                                                   const PositionFilter& onMap) {
    const auto path = AskExportFileName(owner, ExportKind::PointFile);
    if (!path) {
        return std::nullopt;
    }
    CWaitCursor wait;
    return ExportPointFile(*path, mines, onMap);
}

std::optional<ExportResult> ExportWaypointFileCommand(CWnd& owner, ExportKind kind,
                                                      const CMineArray& mines,
                                                      const PositionFilter& onMap) {
    const auto path = AskExportFileName(owner, kind);
    if (!path) {
        return std::nullopt;
    }
    CWaitCursor wait;
    return ExportWaypointFile(kind, *path, mines, onMap);
}

std::optional<ExportResult> ExportArchiveCommand(CWnd& owner, const CMineArray& mines) {
    const auto path =
        AskSaveFileName(owner, "dat", "mrds.dat", "Vemra data (*.dat)|*.dat|All Files (*.*)|*.*||",
                        "Vemra Data File Name");
    if (!path) {
        return std::nullopt;
    }
    CWaitCursor wait;
    return WriteMineArchive(*path, mines);
}

// The menu entry is greyed, so the user cannot reach this; it stays bound.
void SaveMapImageCommand(OziSaveMapImageProc saveMapImage) {
    // The library takes a writable buffer.
    char fileName[128];
    std::strcpy(fileName, "atest1.png");
    saveMapImage(fileName);
    std::strcpy(fileName, "atest1.bmp");
    saveMapImage(fileName);
}
