#pragma once

#include <optional>
#include <string>

#include "find/mine_query.h"
#include "framework/dialog_win.h"

// A point on the globe in decimal degrees, as a map click gives it.
struct MapPoint {
    double latitude = 0;
    double longitude = 0;
};

// The "Find Mines" window: modeless, owned by the main dialog, one instance.
// Its boxes make a FindRequest; the core answers it; the list shows the rows.
class CFindMinesDlg : public CDialog {
public:
    CFindMinesDlg();

    // Opens the window owned by `owner`, or brings the open one to the
    // front, in `mode`; a Near window takes `lastClick` as its point.
    void Show(HWND owner, FindMode mode, const std::optional<MapPoint>& lastClick);

    bool IsOpen() const { return m_hWnd != nullptr; }

protected:
    BOOL OnInitDialog() override;
    const MessageMap* GetMessageMap() const override;

private:
    // Switches the window to `mode`: its title line, the boxes it uses.
    void SetMode(FindMode mode);
    void FillPoint(const MapPoint& point);
    // Enables the control `id` and the label before it.
    void EnableField(int id, bool enable);

    FindMode m_mode = FindMode::Near;
    // What Within holds in the mode not shown: Near has no limit at first,
    // Along a corridor of 1 km.
    std::string m_otherWithin = "1";
};
