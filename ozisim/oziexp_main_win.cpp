// The stand-in OziExplorer: a window showing a latitude/longitude box as a
// map with a graticule and the mines of a data file as dots. A left click
// sends the clicked position to every process that switched single-click
// capture on through oziapi.dll. Test drivers click by position with the
// kOziSimClickAt command instead of by pixel, as `--click` does.
//
//   OziExp.exe [--box SOUTH,WEST,NORTH,EAST] [--mines FILE]
//   OziExp.exe --click LATITUDE,LONGITUDE
//
// With --click it shows no window: it clicks the map of the stand-in that
// already runs at that position and exits with kClickDelivered when the map
// took the click (whether or not a program listens), kClickOffMap for a
// position outside the map, kClickNoMap when no stand-in runs, and
// kUsageError for bad arguments. Meant for scripts: errors go to stderr.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "load/mine_loader.h"
#include "ozisim/click_at_win.h"
#include "ozisim/image_files.h"
#include "ozisim/map_view.h"
#include "ozisim/ozisim_protocol.h"
#include "text/ascii_text.h"

namespace {

constexpr int kMapWidth = 640;
constexpr int kMapHeight = 480;
constexpr int kStatusHeight = 24;
constexpr int kLabelRowHeight = 14;

constexpr int kClickDelivered = 0;
constexpr int kClickOffMap = 1;
constexpr int kUsageError = 2;
constexpr int kClickNoMap = 3;

constexpr char kUsage[] =
    "Usage: OziExp.exe [--box SOUTH,WEST,NORTH,EAST] [--mines FILE]\n"
    "       OziExp.exe --click LATITUDE,LONGITUDE";

constexpr COLORREF kLandColour = RGB(242, 238, 222);
constexpr COLORREF kGridColour = RGB(170, 170, 170);
constexpr COLORREF kLabelColour = RGB(90, 90, 90);
constexpr COLORREF kMineColour = RGB(200, 30, 30);
constexpr COLORREF kClickColour = RGB(20, 60, 200);

struct Options {
    GeoBox box = kDefaultBox;
    std::string minesFile;
    bool click = false;
    GeoPoint clickAt;
};

struct MapState {
    MapView view{kDefaultBox, kMapWidth, kMapHeight};
    std::vector<GeoPoint> mines;
    HDC memory = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    const std::uint8_t* pixels = nullptr;  // 32-bit BGRX, top-down
    bool clicked = false;
    GeoPoint lastClick;
    int lastReached = 0;
};

MapState g_map;

bool ParseOptions(int argc, char** argv, Options& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--box" && i + 1 < argc) {
            if (!ParseMapBox(argv[++i], options.box)) {
                error = "Bad box (SOUTH,WEST,NORTH,EAST in degrees): " + std::string(argv[i]);
                return false;
            }
        } else if (argument == "--mines" && i + 1 < argc) {
            options.minesFile = argv[++i];
        } else if (argument == "--click" && i + 1 < argc) {
            if (!ParseGeoPoint(argv[++i], options.clickAt)) {
                error = "Bad position (LATITUDE,LONGITUDE in degrees): " + std::string(argv[i]);
                return false;
            }
            options.click = true;
        } else {
            error = "Unknown argument: " + argument + "\n\n" + kUsage;
            return false;
        }
    }
    return true;
}

// The mines of the file that lie on the map; none when it cannot be read.
std::vector<GeoPoint> LoadMinePositions(const std::string& fileName, const MapView& view) {
    std::vector<GeoPoint> positions;
    if (fileName.empty()) {
        return positions;
    }
    CMineArray mines;
    try {
        if (!LoadMineData(fileName, mines).MinesReplaced()) {
            return positions;
        }
    } catch (...) {
        return positions;
    }
    const auto coordinates = mines.Coordinates();
    for (std::size_t i = 1; i < coordinates.size(); ++i) {
        const GeoPoint point{coordinates[i].latitude, coordinates[i].longitude};
        if (view.Contains(point)) {
            positions.push_back(point);
        }
    }
    return positions;
}

bool CreateCanvas(MapState& map) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kMapWidth;
    info.bmiHeader.biHeight = -kMapHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    map.bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    map.memory = CreateCompatibleDC(nullptr);
    if (map.bitmap == nullptr || map.memory == nullptr) {
        return false;
    }
    map.pixels = static_cast<const std::uint8_t*>(bits);
    map.oldBitmap = SelectObject(map.memory, map.bitmap);
    return true;
}

void DestroyCanvas(MapState& map) {
    if (map.memory != nullptr) {
        SelectObject(map.memory, map.oldBitmap);
        DeleteDC(map.memory);
    }
    if (map.bitmap != nullptr) {
        DeleteObject(map.bitmap);
    }
}

void DrawText8(HDC dc, int x, int y, const std::string& text, UINT align) {
    SetTextAlign(dc, align);
    TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

void DrawDot(HDC dc, Pixel at, int radius) {
    Ellipse(dc, at.x - radius, at.y - radius, at.x + radius + 1, at.y + radius + 1);
}

void RenderMap(MapState& map) {
    const HDC dc = map.memory;
    const MapView& view = map.view;
    const GeoBox& box = view.Box();

    RECT all{0, 0, kMapWidth, kMapHeight};
    const HBRUSH land = CreateSolidBrush(kLandColour);
    FillRect(dc, &all, land);
    DeleteObject(land);

    const HPEN gridPen = CreatePen(PS_SOLID, 1, kGridColour);
    const HGDIOBJ oldPen = SelectObject(dc, gridPen);
    const HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kLabelColour);
    const double step = view.GridStep();
    for (const double latitude : MapView::GridLines(box.south, box.north, step)) {
        const int y = view.GeoToPixel({latitude, box.west}).y;
        MoveToEx(dc, 0, y, nullptr);
        LineTo(dc, kMapWidth, y);
        // The bottom row belongs to the longitude labels.
        if (y < kMapHeight - kLabelRowHeight) {
            DrawText8(dc, 3, y - 1, FormatLatitude(latitude), TA_LEFT | TA_BOTTOM);
        }
    }
    for (const double longitude : MapView::GridLines(box.west, box.east, step)) {
        const int x = view.GeoToPixel({box.south, longitude}).x;
        MoveToEx(dc, x, 0, nullptr);
        LineTo(dc, x, kMapHeight);
        DrawText8(dc, x + 3, kMapHeight - 2, FormatLongitude(longitude), TA_LEFT | TA_BOTTOM);
    }
    SelectObject(dc, oldPen);
    DeleteObject(gridPen);

    const HBRUSH mineBrush = CreateSolidBrush(kMineColour);
    const HGDIOBJ oldBrush = SelectObject(dc, mineBrush);
    SelectObject(dc, GetStockObject(NULL_PEN));
    for (const GeoPoint& mine : map.mines) {
        DrawDot(dc, view.GeoToPixel(mine), 3);
    }
    SelectObject(dc, oldBrush);
    DeleteObject(mineBrush);

    if (map.clicked) {
        const Pixel at = view.GeoToPixel(map.lastClick);
        const HPEN clickPen = CreatePen(PS_SOLID, 2, kClickColour);
        SelectObject(dc, clickPen);
        MoveToEx(dc, at.x - 7, at.y, nullptr);
        LineTo(dc, at.x + 8, at.y);
        MoveToEx(dc, at.x, at.y - 7, nullptr);
        LineTo(dc, at.x, at.y + 8);
        SelectObject(dc, oldPen);
        DeleteObject(clickPen);
    }
    SelectObject(dc, oldPen);
    SelectObject(dc, oldFont);
    GdiFlush();
}

std::string StatusText(const MapState& map) {
    const GeoBox& box = map.view.Box();
    char text[256];
    if (map.clicked) {
        std::snprintf(text, sizeof text, "Last click %.6f, %.6f: %d listener(s)",
                      map.lastClick.latitude, map.lastClick.longitude, map.lastReached);
    } else {
        std::snprintf(
            text, sizeof text, "Map %s to %s, %s to %s, %zu mine(s). Click to send a position.",
            FormatLatitude(box.south).c_str(), FormatLatitude(box.north).c_str(),
            FormatLongitude(box.west).c_str(), FormatLongitude(box.east).c_str(), map.mines.size());
    }
    return text;
}

// Sends the click to every click target of oziapi.dll and waits for each.
// Returns how many took it.
int DeliverClick(HWND window, GeoPoint point, Pixel pixel) {
    std::vector<HWND> targets;
    for (HWND target = nullptr;
         (target = FindWindowExW(HWND_MESSAGE, target, kOziSimClickTargetClass, nullptr));) {
        targets.push_back(target);
    }
    const OziSimPoint payload{point.latitude, point.longitude, pixel.x, pixel.y};
    int reached = 0;
    for (const HWND target : targets) {
        COPYDATASTRUCT copy{kOziSimMapClick, sizeof payload, const_cast<OziSimPoint*>(&payload)};
        DWORD_PTR result = 0;
        if (SendMessageTimeoutW(target, WM_COPYDATA, reinterpret_cast<WPARAM>(window),
                                reinterpret_cast<LPARAM>(&copy), SMTO_NORMAL, 30000,
                                &result) != 0 &&
            result == 1) {
            ++reached;
        }
    }
    g_map.clicked = true;
    g_map.lastClick = point;
    g_map.lastReached = reached;
    RenderMap(g_map);
    InvalidateRect(window, nullptr, FALSE);
    return reached;
}

RgbImage CaptureImage(const MapState& map) {
    RgbImage image;
    image.width = kMapWidth;
    image.height = kMapHeight;
    image.rgb.reserve(std::size_t{3} * kMapWidth * kMapHeight);
    for (int i = 0; i < kMapWidth * kMapHeight; ++i) {
        const std::uint8_t* bgrx = map.pixels + std::size_t{4} * static_cast<std::size_t>(i);
        image.rgb.insert(image.rgb.end(), {bgrx[2], bgrx[1], bgrx[0]});
    }
    return image;
}

bool SaveImage(const std::string& fileName) {
    std::vector<std::uint8_t> bytes;
    if (EndsWithIgnoringAsciiCase(fileName, ".png")) {
        bytes = EncodePng(CaptureImage(g_map));
    } else if (EndsWithIgnoringAsciiCase(fileName, ".bmp")) {
        bytes = EncodeBmp(CaptureImage(g_map));
    } else {
        return false;
    }
    const HANDLE file = CreateFileA(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

LRESULT OnCopyData(HWND window, const COPYDATASTRUCT& copy) {
    switch (copy.dwData) {
        case kOziSimClickAt:
        case kOziSimIsOnMap: {
            if (copy.cbData != sizeof(OziSimPoint)) {
                return 0;
            }
            OziSimPoint payload;
            std::memcpy(&payload, copy.lpData, sizeof payload);
            const GeoPoint point{payload.latitude, payload.longitude};
            const bool onMap = g_map.view.Contains(point);
            if (copy.dwData == kOziSimIsOnMap) {
                return onMap ? 1 : 0;
            }
            // Only a point of the map can be clicked.
            return onMap ? DeliverClick(window, point, g_map.view.GeoToPixel(point)) : -1;
        }
        case kOziSimSaveImage: {
            const auto* text = static_cast<const char*>(copy.lpData);
            if (copy.cbData == 0 || text[copy.cbData - 1] != '\0') {
                return 0;
            }
            return SaveImage(text) ? 1 : 0;
        }
        default:
            return 0;
    }
}

LRESULT CALLBACK MapWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            const HDC dc = BeginPaint(window, &paint);
            BitBlt(dc, 0, 0, kMapWidth, kMapHeight, g_map.memory, 0, 0, SRCCOPY);
            RECT status{0, kMapHeight, kMapWidth, kMapHeight + kStatusHeight};
            FillRect(dc, &status, GetSysColorBrush(COLOR_BTNFACE));
            const HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
            status.left += 6;
            const std::string text = StatusText(g_map);
            DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &status,
                      DT_SINGLELINE | DT_VCENTER | DT_LEFT);
            SelectObject(dc, oldFont);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_LBUTTONDOWN: {
            const Pixel pixel{static_cast<short>(LOWORD(lParam)),
                              static_cast<short>(HIWORD(lParam))};
            if (pixel.x >= 0 && pixel.x < kMapWidth && pixel.y >= 0 && pixel.y < kMapHeight) {
                DeliverClick(window, g_map.view.PixelToGeo(pixel), pixel);
            }
            return 0;
        }
        case WM_COPYDATA:
            return OnCopyData(window, *reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

// --click: the running stand-in takes the click.
int ClickRunningMap(GeoPoint point) {
    const int result = OziSimClickAt(point.latitude, point.longitude);
    if (result == kOziSimClickNoMap) {
        std::fprintf(stderr, "OziExp.exe --click: no stand-in map window answers\n");
        return kClickNoMap;
    }
    if (result == kOziSimClickOffMap) {
        std::fprintf(stderr, "OziExp.exe --click: %f,%f lies outside the map\n", point.latitude,
                     point.longitude);
        return kClickOffMap;
    }
    return kClickDelivered;
}

bool HasClickArgument(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--click") == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    Options options;
    std::string error;
    if (!ParseOptions(__argc, __argv, options, error)) {
        // A script that clicks gets no message box to wait on.
        if (HasClickArgument(__argc, __argv)) {
            std::fprintf(stderr, "%s\n", error.c_str());
        } else {
            MessageBoxA(nullptr, error.c_str(), "OziExplorer (Vemra stand-in)",
                        MB_OK | MB_ICONSTOP);
        }
        return kUsageError;
    }
    if (options.click) {
        return ClickRunningMap(options.clickAt);
    }
    g_map.view = MapView(options.box, kMapWidth, kMapHeight);
    g_map.mines = LoadMinePositions(options.minesFile, g_map.view);
    if (!CreateCanvas(g_map)) {
        return 1;
    }
    RenderMap(g_map);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = MapWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_CROSS));
    windowClass.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    windowClass.lpszClassName = kOziSimMapClass;
    if (RegisterClassExW(&windowClass) == 0) {
        return 1;
    }
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, kMapWidth, kMapHeight + kStatusHeight};
    AdjustWindowRect(&frame, style, FALSE);
    const HWND window = CreateWindowExW(
        0, kOziSimMapClass, kOziSimMapTitle, style, CW_USEDEFAULT, CW_USEDEFAULT,
        frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        return 1;
    }
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    DestroyCanvas(g_map);
    return 0;
}
