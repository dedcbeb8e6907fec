#include "find/find_mines_dlg_win.h"

#include <cstdio>

#include "res/resource.h"

namespace {

const char* ModeTitle(FindMode mode) {
    switch (mode) {
        case FindMode::Near:
            return "Mines near a point, nearest first";
        case FindMode::Along:
            return "Mines along a route, in the order the route passes them";
        case FindMode::Matching:
            break;
    }
    return "Mines by name or commodity, in file order";
}

// A coordinate as the window writes a map click into its box.
std::string DegreesText(double degrees) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", degrees);
    return text;
}

}  // namespace

CFindMinesDlg::CFindMinesDlg() : CDialog(IDD_FIND_MINES) {}

const MessageMap* CFindMinesDlg::GetMessageMap() const {
    static const MessageMap map{CDialog::GetMessageMap(), {}};
    return &map;
}

BOOL CFindMinesDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_FIND_COUNT, "20");
    SetMode(m_mode);
    return TRUE;
}

void CFindMinesDlg::Show(HWND owner, FindMode mode, const std::optional<MapPoint>& lastClick) {
    if (m_hWnd == nullptr) {
        m_mode = mode;
        m_otherWithin = mode == FindMode::Along ? "" : "1";
        if (!Create(owner)) {
            return;
        }
        if (mode == FindMode::Along) {
            SetDlgItemText(IDC_FIND_WITHIN, "1");
        }
    } else {
        SetMode(mode);
    }
    if (mode == FindMode::Near && lastClick) {
        FillPoint(*lastClick);
    }
    if (::IsIconic(m_hWnd)) {
        ::ShowWindow(m_hWnd, SW_RESTORE);
    }
    ::SetForegroundWindow(m_hWnd);
}

void CFindMinesDlg::SetMode(FindMode mode) {
    if (mode != m_mode && (mode == FindMode::Along || m_mode == FindMode::Along)) {
        const std::string shown = GetDlgItemText(IDC_FIND_WITHIN);
        SetDlgItemText(IDC_FIND_WITHIN, m_otherWithin);
        m_otherWithin = shown;
    }
    m_mode = mode;
    SetDlgItemText(IDC_FIND_MODE, ModeTitle(mode));
    const bool isNear = mode == FindMode::Near;
    const bool along = mode == FindMode::Along;
    EnableField(IDC_FIND_LAT, isNear);
    EnableField(IDC_FIND_LON, isNear);
    EnableField(IDC_FIND_COUNT, isNear);
    EnableField(IDC_FIND_WITHIN, isNear || along);
    EnableField(IDC_FIND_ROUTE, along);
    ::EnableWindow(GetDlgItem(IDC_FIND_BROWSE), along);
}

void CFindMinesDlg::EnableField(int id, bool enable) {
    const HWND control = GetDlgItem(id);
    ::EnableWindow(control, enable);
    if (const HWND label = ::GetWindow(control, GW_HWNDPREV)) {
        ::EnableWindow(label, enable);
    }
}

void CFindMinesDlg::FillPoint(const MapPoint& point) {
    SetDlgItemText(IDC_FIND_LAT, DegreesText(point.latitude));
    SetDlgItemText(IDC_FIND_LON, DegreesText(point.longitude));
}
