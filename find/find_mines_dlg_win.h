#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>

#include "find/find_columns.h"
#include "find/mine_query.h"
#include "framework/dialog_win.h"
#include "geo/lazy_mine_index.h"
#include "minedata/export_result.h"
#include "minedata/mine_array.h"

// A point on the globe in decimal degrees, as a map click gives it.
struct MapPoint {
    double latitude = 0;
    double longitude = 0;
};

// The "Find Mines" window: modeless, owned by the main dialog, one instance.
// Its boxes make a FindRequest, the core answers it (find/), and the list
// shows the rows, asking the core for the text of each cell it draws.
class CFindMinesDlg : public CDialog {
public:
    // How the program tells what became of an export, in a message box
    // owned by the window it is given.
    using ExportReporter = std::function<void(const CWnd& owner, const ExportResult& result)>;

    // `mines` and `index` outlive the window object.
    CFindMinesDlg(const CMineArray& mines, CLazyMineIndex& index, ExportReporter reportExport);

    // Opens the window owned by `owner`, or brings the open one to the
    // front, in `mode`; in Near it takes `lastClick` as its point.
    void Show(HWND owner, FindMode mode, const std::optional<MapPoint>& lastClick);

    // A map click while capture is on: a window showing Near takes the point
    // and finds again.
    void TakeMapClick(const MapPoint& point);

    // The mines changed: the rows named mines of the old ones.
    void ClearList();

protected:
    BOOL OnInitDialog() override;
    const MessageMap* GetMessageMap() const override;

    void OnRun();
    void OnBrowse();
    void OnExport();
    LRESULT OnNotify(UINT id, LPARAM lParam);
    void OnSize(UINT type, LPARAM size);
    void OnGetMinMaxInfo(UINT unused, LPARAM info);

private:
    // Switches the window to `mode`: its title line, the boxes it uses, the
    // list's columns (emptied).
    void SetMode(FindMode mode);
    void FillPoint(const MapPoint& point);
    // Enables the control `id` and the label before it.
    void EnableField(int id, bool enable);
    FindRequest RequestFromBoxes() const;
    // Runs the query of the boxes; a bad value is told and changes nothing.
    void Find();
    // Shows the result's rows in its own order.
    void ShowRows(FindResult result);
    void SetColumns();
    void ShowSortArrow();
    // The list's row shown at `position` in "Mine Info".
    void ShowMineAt(int position);
    void OnGetDispInfo(NMLVDISPINFOW& info);
    void OnColumnClick(const NMLISTVIEW& info);
    HWND List() const;

    const CMineArray& m_mines;
    CLazyMineIndex& m_index;
    ExportReporter m_reportExport;
    FindMode m_mode = FindMode::Near;
    // What Within holds in the other of Near and Along: Near has no limit at
    // first, Along a corridor of 1 km.
    std::string m_otherWithin = "1";
    FindResult m_result;
    CFindRowOrder m_order;
    // The text handed to the list for the cell it asked for last.
    std::wstring m_cellText;
    // The layout of the template at the window's DPI, which resizing keeps.
    SIZE m_minimumSize{};
    RECT m_initialClient{};
    RECT m_initialList{};
    RECT m_initialFound{};
    RECT m_initialExport{};
};
