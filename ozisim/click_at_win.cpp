#include "ozisim/click_at_win.h"

#include "ozisim/ozisim_protocol.h"

int OziSimClickAt(double latitude, double longitude, DWORD timeoutMs) {
    const HWND map = FindWindowW(kOziSimMapClass, nullptr);
    if (map == nullptr) {
        return kOziSimClickNoMap;
    }
    const OziSimPoint point{latitude, longitude, 0, 0};
    COPYDATASTRUCT copy{kOziSimClickAt, sizeof point, const_cast<OziSimPoint*>(&point)};
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(map, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy), SMTO_NORMAL,
                             timeoutMs, &result)) {
        return kOziSimClickNoMap;
    }
    return static_cast<int>(static_cast<LRESULT>(result));
}
