#pragma once

#include <cstdint>

// What the stand-in OziExplorer (OziExp.exe), its interface library
// (oziapi.dll) and the end-to-end test driver say to each other. Everything
// travels in WM_COPYDATA, which is sent (never posted) and crosses processes;
// payloads are plain data of fixed layout, so a 32-bit library and a 64-bit
// stand-in read them alike.

// The stand-in's map window: oziFindOzi looks for this class.
inline constexpr wchar_t kOziSimMapClass[] = L"VemraOziSimMap";
inline constexpr wchar_t kOziSimMapTitle[] = L"OziExplorer (Vemra stand-in)";

// The library's message-only window (HWND_MESSAGE), one in each process whose
// thread switched single-click capture on; the map sends clicks to every one.
inline constexpr wchar_t kOziSimClickTargetClass[] = L"VemraOziSimClickTarget";

// COPYDATASTRUCT::dwData values.
enum OziSimCommand : std::uint32_t {
    // Map window -> click targets, payload OziSimPoint. The target calls the
    // registered callback and returns 1.
    kOziSimMapClick = 0x4F5A0001,
    // Anyone -> map window, payload OziSimPoint (x and y ignored): acts as a
    // left click on the pixel of that latitude and longitude. Returns the number of click
    // targets that took the click, after their callbacks have returned.
    kOziSimClickAt = 0x4F5A0002,
    // Library -> map window, payload OziSimPoint: returns 1 when the point
    // lies inside the box the map shows, else 0.
    kOziSimIsOnMap = 0x4F5A0003,
    // Library -> map window, payload a zero-terminated 8-bit absolute file
    // name: writes the map image there, PNG for ".png", BMP for ".bmp"
    // (letter case ignored). Returns 1 when written, else 0.
    kOziSimSaveImage = 0x4F5A0004,
};

struct OziSimPoint {
    double latitude;
    double longitude;
    std::int32_t x;  // the clicked pixel of the map
    std::int32_t y;
};
static_assert(sizeof(OziSimPoint) == 24, "same layout in 32-bit and 64-bit processes");
