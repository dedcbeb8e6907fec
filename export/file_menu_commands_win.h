#pragma once

// The File menu's commands: each asks for a file name in a save dialog owned
// by `owner`, then writes. Failures go to `sink`.

#include "export/point_file.h"
#include "export/waypoint_file_export.h"
#include "minedata/message_sink.h"
#include "minedata/mine_array.h"
#include "ozilink/ozi_api_win.h"

class CWnd;

// "Ozi Point File Name": all mines, or with `onMap` only those it accepts.
void ExportPointFileCommand(CWnd& owner, const CMineArray& mines, const PositionFilter& onMap,
                            IMessageSink& sink);

// "GPX File Name", "KML File Name" or "Ozi Waypoint File Name": all mines,
// or with `onMap` only those it accepts, as a waypoint file in `format`.
void ExportWaypointFileCommand(CWnd& owner, WaypointFormat format, const CMineArray& mines,
                               const PositionFilter& onMap, IMessageSink& sink);

// "Vemra Data File Name": the mines as a mine archive.
void ExportArchiveCommand(CWnd& owner, const CMineArray& mines, IMessageSink& sink);

// Asks OziExplorer to save its map as "atest1.png", then as "atest1.bmp".
void SaveMapImageCommand(OziSaveMapImageProc saveMapImage);
