#pragma once

// The entry points of OziExplorer's interface library, OziAPI.dll, as the
// program binds them by name at run time. The library is 32-bit and uses the
// standard Windows calling convention for its functions and its callbacks.
// Shared by the program (which binds them) and the stand-in library in
// ozisim/ (which exports them under these plain names).

#include <windows.h>

// A single click on the map: three values the program ignores, the clicked
// point's latitude and longitude in degrees, then a pointer-sized value and
// two doubles that the program ignores too. Declared with all eight
// arguments: a __stdcall callee pops its arguments, so a shorter declaration
// would corrupt the caller's stack in a 32-bit build.
typedef void(WINAPI* OziMapClickCallback)(int button, int x, int y, double latitude,
                                          double longitude, void* mapFile, double easting,
                                          double northing);

typedef int(WINAPI* OziMapSingleClickONProc)(OziMapClickCallback callback);
typedef int(WINAPI* OziMapSingleClickOFFProc)();
typedef int(WINAPI* OziMapDblClickONProc)(OziMapClickCallback callback);
typedef int(WINAPI* OziMapDblClickOFFProc)();
// Writes the datum of the loaded map into a caller's buffer.
typedef int(WINAPI* OziGetMapDatumProc)(char* datum, int size);
// Converts a position from one datum to another, in place.
typedef int(WINAPI* OziConvertDatumProc)(const char* fromDatum, const char* toDatum,
                                         double* latitude, double* longitude);
// Negative: OziExplorer is not running; zero or more: it is.
typedef int(WINAPI* OziFindOziProc)();
// Greater than 0: the position lies on the map that OziExplorer shows.
typedef int(WINAPI* OziIsPositionOnMapProc)(double latitude, double longitude);
typedef int(WINAPI* OziCloseApiProc)();
// OziExplorer writes its current map image to the named file.
typedef int(WINAPI* OziSaveMapImageProc)(char* fileName);

// The library's file name, found by the platform's library search.
#define OZI_API_LIBRARY "oziapi.dll"

// OziAPI.dll as the program holds it once bound: the module handle and the ten
// entry points, all null until BindOziApi succeeds.
struct COziApi {
    HMODULE m_hLibrary = nullptr;
    OziMapSingleClickONProc oziMapSingleClickON = nullptr;
    OziMapSingleClickOFFProc oziMapSingleClickOFF = nullptr;
    OziMapDblClickONProc oziMapDblClickON = nullptr;
    OziMapDblClickOFFProc oziMapDblClickOFF = nullptr;
    OziGetMapDatumProc oziGetMapDatum = nullptr;
    OziConvertDatumProc oziConvertDatum = nullptr;
    OziFindOziProc oziFindOzi = nullptr;
    OziIsPositionOnMapProc oziIsPositionOnMap = nullptr;
    OziCloseApiProc oziCloseApi = nullptr;
    OziSaveMapImageProc oziSaveMapImage = nullptr;

    bool IsBound() const { return m_hLibrary != nullptr; }
};

// Loads OziAPI.dll and binds its ten functions by name into `api`: 0 bound,
// -1 library missing, -2 a function missing (the library is unloaded again
// and `api` is left empty). The library stays loaded for the process's life.
int BindOziApi(COziApi& api);
