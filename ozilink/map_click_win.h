#pragma once

#include "ozilink/ozi_api_win.h"

// The map single-click callback that OziAPI.dll calls while capture is on:
// looks the clicked point up among the loaded mines, with the sensitivity
// typed in the main dialog, and shows the first match in the "Mine Info"
// window. Errors are reported in a message box; nothing unwinds into the
// library.
void WINAPI OnMapSingleClick(int button, int x, int y, double latitude, double longitude,
                             void* mapFile, double easting, double northing);
