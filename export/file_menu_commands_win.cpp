#include "export/file_menu_commands_win.h"

#include <cstring>
#include <optional>
#include <string>

#include "archive/mine_archive.h"
#include "framework/file_dialog_win.h"
#include "framework/wait_cursor_win.h"

namespace {

// What the save dialog of a waypoint format offers.
struct SaveDialogText {
    const char* defaultExt;
    const char* defaultName;
    const char* filter;
    const char* title;
};

SaveDialogText SaveDialogTextOf(WaypointFormat format) {
    switch (format) {
        case WaypointFormat::Gpx:
            return {"gpx", "mines.gpx", "GPX files (*.gpx)|*.gpx|All Files (*.*)|*.*||",
                    "GPX File Name"};
        case WaypointFormat::Kml:
            return {"kml", "mines.kml", "KML files (*.kml)|*.kml|All Files (*.*)|*.*||",
                    "KML File Name"};
        case WaypointFormat::OziWaypoints:
            break;
    }
    return {"wpt", "mines.wpt", "Ozi Waypoint files (*.wpt)|*.wpt|All Files (*.*)|*.*||",
            "Ozi Waypoint File Name"};
}

}  // namespace

void ExportPointFileCommand(CWnd& owner, const CMineArray& mines, const PositionFilter& onMap,
                            IMessageSink& sink) {
    const auto path = AskSaveFileName(owner, "pnt", "point.pnt",
                                      "Ozi Point files (*.pnt)|*.pnt|All Files (*.*)|*.*||",
                                      "Ozi Point File Name");
    if (path) {
        CWaitCursor wait;
        ExportPointFile(*path, mines, onMap, sink);
    }
}

void ExportWaypointFileCommand(CWnd& owner, WaypointFormat format, const CMineArray& mines,
                               const PositionFilter& onMap, IMessageSink& sink) {
    const SaveDialogText text = SaveDialogTextOf(format);
    const auto path =
        AskSaveFileName(owner, text.defaultExt, text.defaultName, text.filter, text.title);
    if (path) {
        CWaitCursor wait;
        ExportWaypointFile(format, *path, mines, onMap, sink);
    }
}

void ExportArchiveCommand(CWnd& owner, const CMineArray& mines, IMessageSink& sink) {
    const auto path =
        AskSaveFileName(owner, "dat", "mrds.dat", "Vemra data (*.dat)|*.dat|All Files (*.*)|*.*||",
                        "Vemra Data File Name");
    if (path) {
        CWaitCursor wait;
        WriteMineArchive(*path, mines, sink);
    }
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
