#include "ozilink/map_click_win.h"

#include "app/mine_app_win.h"
#include "framework/top_level_error_win.h"
#include "framework/wnd_win.h"
#include "infosheet/info_sheet_win.h"
#include "ozilink/mine_lookup.h"
#include "res/resource.h"

void WINAPI OnMapSingleClick(int /*button*/, int /*x*/, int /*y*/, double latitude,
                             double longitude, void* /*mapFile*/, double /*easting*/,
                             double /*northing*/) {
    const CWnd* mainWnd = theApp.m_pMainWnd;
    if (mainWnd == nullptr || mainWnd->m_hWnd == nullptr) {
        return;
    }
    RunReportingErrors(mainWnd->m_hWnd, [&] {
        char text[kSensitivityTextLimit + 1] = {};
        ::GetDlgItemTextA(mainWnd->m_hWnd, IDC_SENSITIVITY, text, sizeof text);
        const float sensitivity = SensitivityFromText(text);
        if (const auto index = FindMineAt(theApp.m_mines, latitude, longitude, sensitivity)) {
            ShowMineInfo(theApp.m_mines[*index]);
        }
    });
}
