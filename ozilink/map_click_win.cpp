#include "ozilink/map_click_win.h"

#include <utility>

#include "framework/top_level_error_win.h"

namespace {

// Clicks arrive on the thread that runs the main dialog, which also
// registers the handler: no lock is needed.
struct MapClickReceiver {
    HWND owner = nullptr;
    MapClickHandler handler;
};

MapClickReceiver& Receiver() {
    static MapClickReceiver receiver;
    return receiver;
}

}  // namespace

void SetMapClickHandler(HWND owner, MapClickHandler handler) {
    Receiver() = {owner, std::move(handler)};
}

void WINAPI OnMapSingleClick(int /*button*/, int /*x*/, int /*y*/, double latitude,
                             double longitude, void* /*mapFile*/, double /*easting*/,
                             double /*northing*/) {
    // A copy: the handler may open windows, and their messages may register
    // another handler while this one runs.
    const MapClickReceiver receiver = Receiver();
    if (!receiver.handler) {
        return;
    }
    RunReportingErrors(receiver.owner, [&] { receiver.handler(latitude, longitude); });
}
