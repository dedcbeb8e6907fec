#pragma once

#include <functional>

#include "ozilink/ozi_api_win.h"

// What a map click is handed to: the clicked point's latitude and longitude.
using MapClickHandler = std::function<void(double latitude, double longitude)>;

// Registers the one receiver of map clicks and the window that owns the
// report of an error the handler lets escape. Called with an empty handler,
// clicks are ignored from then on (as they are before the first call).
void SetMapClickHandler(HWND owner, MapClickHandler handler);

// The map single-click callback that OziAPI.dll calls while capture is on:
// hands the clicked point to the registered handler. Errors are reported in a
// message box; nothing unwinds into the library.
void WINAPI OnMapSingleClick(int button, int x, int y, double latitude, double longitude,
                             void* mapFile, double easting, double northing);
