#pragma once

// The File menu's commands: each asks for a file name in a save dialog owned
// by `owner`, then writes, and returns what became of the export; nothing
// when the user cancelled the dialog. The caller shows a failure.

#include <optional>

#include "export/export_kind.h"
#include "export/point_file.h"
#include "minedata/export_result.h"
#include "minedata/mine_array.h"
#include "ozilink/ozi_api_win.h"

class CWnd;

// "Ozi Point File Name": all mines, or with `onMap` only those it accepts.
std::optional<ExportResult> ExportPointFileCommand(CWnd& owner, const CMineArray& mines,
                                                   const PositionFilter& onMap);

// "GPX File Name", "KML File Name" or "Ozi Waypoint File Name": all mines,
// or with `onMap` only those it accepts, as a waypoint file of `kind`.
std::optional<ExportResult> ExportWaypointFileCommand(CWnd& owner, ExportKind kind,
                                                      const CMineArray& mines,
                                                      const PositionFilter& onMap);

// "Vemra Data File Name": the mines as a mine archive.
std::optional<ExportResult> ExportArchiveCommand(CWnd& owner, const CMineArray& mines);

// Asks OziExplorer to save its map as "atest1.png", then as "atest1.bmp".
void SaveMapImageCommand(OziSaveMapImageProc saveMapImage);
