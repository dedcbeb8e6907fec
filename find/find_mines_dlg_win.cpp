#include "find/find_mines_dlg_win.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <utility>

#include "export/export_kind.h"
#include "framework/file_dialog_win.h"
#include "framework/fit_labels_win.h"
#include "framework/wait_cursor_win.h"
#include "infosheet/info_sheet_win.h"
#include "res/resource.h"
#include "text/wide_text_win.h"

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

// Every export kind as an entry of the save dialog's filter, in the table's
// order.
std::string ExportFilter() {
    std::string filter;
    for (const ExportKindRow& row : ExportKindRows()) {
        filter += std::string(row.filterName) + "|*" + std::string(row.ending) + "|";
    }
    return filter + "|";
}

// Whether the last part of the path has an ending (a dot after its start).
bool HasEnding(const std::string& path) {
    const std::size_t leaf = path.find_last_of("\\/");
    const std::size_t dot = path.find_last_of('.');
    return dot != std::string::npos && (leaf == std::string::npos || dot > leaf + 1);
}

// A column's width in dialog units, so that it grows with the font.
int ColumnWidthUnits(FindColumn column) {
    switch (column) {
        case FindColumn::Name:
            return 84;
        case FindColumn::Commodities:
            return 62;
        case FindColumn::Status:
            return 68;
        case FindColumn::State:
            return 40;
        case FindColumn::County:
            return 45;
        case FindColumn::Distance:
        case FindColumn::Along:
            return 45;
        case FindColumn::Bearing:
            return 40;
        case FindColumn::FromRoute:
            return 56;
        case FindColumn::Side:
            return 24;
        case FindColumn::Leg:
            break;
    }
    return 20;
}

RECT ChildRect(HWND dialog, HWND child) {
    RECT rect;
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void MoveChild(HWND child, LONG left, LONG top, LONG width, LONG height) {
    ::SetWindowPos(child, nullptr, left, top, std::max(width, 0L), std::max(height, 0L),
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

CFindMinesDlg::CFindMinesDlg(const CMineArray& mines, CLazyMineIndex& index,
                             ExportReporter reportExport)
    : CDialog(IDD_FIND_MINES),
      m_mines(mines),
      m_index(index),
      m_reportExport(std::move(reportExport)) {}

const MessageMap* CFindMinesDlg::GetMessageMap() const {
    using D = CFindMinesDlg;
    static const MessageMapEntry entries[] = {
        OnCommandEntry<&D::OnRun>(IDC_FIND_RUN),
        // Enter without the default button.
        OnCommandEntry<&D::OnRun>(IDOK),
        OnCommandEntry<&D::OnBrowse>(IDC_FIND_BROWSE),
        OnCommandEntry<&D::OnExport>(IDC_FIND_EXPORT),
        OnMessageEntry<&D::OnNotify>(WM_NOTIFY),
        OnMessageEntry<&D::OnSize>(WM_SIZE),
        OnMessageEntry<&D::OnGetMinMaxInfo>(WM_GETMINMAXINFO),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

HWND CFindMinesDlg::List() const {
    return GetDlgItem(IDC_FIND_LIST);
}

BOOL CFindMinesDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    FitLabels(m_hWnd);
    RECT window;
    GetWindowRect(&window);
    m_minimumSize = {window.right - window.left, window.bottom - window.top};
    ::GetClientRect(m_hWnd, &m_initialClient);
    m_initialList = ChildRect(m_hWnd, List());
    m_initialFound = ChildRect(m_hWnd, GetDlgItem(IDC_FIND_FOUND));
    m_initialExport = ChildRect(m_hWnd, GetDlgItem(IDC_FIND_EXPORT));

    ListView_SetExtendedListViewStyle(List(), LVS_EX_FULLROWSELECT);
    SetDlgItemText(IDC_FIND_COUNT, "20");
    SetMode(m_mode);
    return TRUE;
}

void CFindMinesDlg::Show(HWND owner, FindMode mode, const std::optional<MapPoint>& lastClick) {
    if (m_hWnd == nullptr) {
        m_mode = mode;
        m_otherWithin = mode == FindMode::Along ? "" : "1";
        m_result = {};
        m_order.Reset(0);
        if (!Create(owner)) {
            return;
        }
        if (mode == FindMode::Along) {
            SetDlgItemText(IDC_FIND_WITHIN, "1");
        }
    } else if (mode != m_mode) {
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

void CFindMinesDlg::TakeMapClick(const MapPoint& point) {
    if (m_hWnd == nullptr || m_mode != FindMode::Near) {
        return;
    }
    FillPoint(point);
    Find();
}

void CFindMinesDlg::ClearList() {
    m_result = FindResult{true, {}, m_mode, {}};
    m_order.Reset(0);
    if (m_hWnd != nullptr) {
        ListView_SetItemCountEx(List(), 0, 0);
        ShowSortArrow();
        SetDlgItemText(IDC_FIND_FOUND, "");
        ::EnableWindow(GetDlgItem(IDC_FIND_EXPORT), FALSE);
    }
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
    const bool isAlong = mode == FindMode::Along;
    EnableField(IDC_FIND_LAT, isNear);
    EnableField(IDC_FIND_LON, isNear);
    EnableField(IDC_FIND_COUNT, isNear);
    EnableField(IDC_FIND_WITHIN, isNear || isAlong);
    EnableField(IDC_FIND_ROUTE, isAlong);
    ::EnableWindow(GetDlgItem(IDC_FIND_BROWSE), isAlong);
    ClearList();
    SetColumns();
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

void CFindMinesDlg::SetColumns() {
    const HWND list = List();
    while (ListView_DeleteColumn(list, 0)) {
    }
    int position = 0;
    for (const FindColumn column : FindColumnsOf(m_mode)) {
        RECT width{0, 0, ColumnWidthUnits(column), 0};
        ::MapDialogRect(m_hWnd, &width);
        std::wstring title = WideFromUtf8(FindColumnTitle(column));
        LVCOLUMNW info{};
        info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        info.fmt = IsNumericColumn(column) ? LVCFMT_RIGHT : LVCFMT_LEFT;
        // Never narrower than the title in the header's own font.
        constexpr int kTitlePadding = 16;
        const int titleWidth = static_cast<int>(
            ::SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(title.c_str())));
        info.cx = std::max(static_cast<int>(width.right), titleWidth + kTitlePadding);
        info.pszText = title.data();
        info.iSubItem = position;
        ::SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(position),
                       reinterpret_cast<LPARAM>(&info));
        ++position;
    }
}

FindRequest CFindMinesDlg::RequestFromBoxes() const {
    FindRequest request;
    request.mode = m_mode;
    request.latitude = GetDlgItemText(IDC_FIND_LAT);
    request.longitude = GetDlgItemText(IDC_FIND_LON);
    request.count = GetDlgItemText(IDC_FIND_COUNT);
    request.withinKm = GetDlgItemText(IDC_FIND_WITHIN);
    request.routePath = GetDlgItemText(IDC_FIND_ROUTE);
    request.name = GetDlgItemText(IDC_FIND_NAME);
    request.commodity = GetDlgItemText(IDC_FIND_COMMODITY);
    request.state = GetDlgItemText(IDC_FIND_STATE);
    request.status = GetDlgItemText(IDC_FIND_STATUS);
    return request;
}

void CFindMinesDlg::OnRun() {
    // Enter on a row of the list shows that mine; anywhere else it finds.
    const int selected = ListView_GetNextItem(List(), -1, LVNI_SELECTED);
    if (::GetFocus() == List() && selected >= 0) {
        ShowMineAt(selected);
        return;
    }
    Find();
}

void CFindMinesDlg::Find() {
    FindResult result;
    {
        CWaitCursor wait;
        result = RunFind(RequestFromBoxes(), m_mines, m_index);
    }
    if (!result.ok) {
        MessageBox(result.message);
        return;
    }
    ShowRows(std::move(result));
}

void CFindMinesDlg::ShowRows(FindResult result) {
    m_result = std::move(result);
    m_order.Reset(m_result.rows.size());
    const HWND list = List();
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemCountEx(list, static_cast<int>(m_result.rows.size()), 0);
    ::InvalidateRect(list, nullptr, TRUE);
    ShowSortArrow();
    SetDlgItemText(IDC_FIND_FOUND, FindCountText(m_result.rows.size()));
    ::EnableWindow(GetDlgItem(IDC_FIND_EXPORT), !m_result.rows.empty());
}

void CFindMinesDlg::ShowMineAt(int position) {
    if (position < 0 || static_cast<std::size_t>(position) >= m_order.Size()) {
        return;
    }
    const FindRow& row = m_result.rows[m_order.RowAt(static_cast<std::size_t>(position))];
    if (row.index < m_mines.GetSize()) {
        ShowMineInfo(m_mines[row.index]);
    }
}

LRESULT CFindMinesDlg::OnNotify(UINT id, LPARAM lParam) {
    if (id != IDC_FIND_LIST) {
        Default();
        return 0;
    }
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    switch (header->code) {
        case LVN_GETDISPINFOW:
            OnGetDispInfo(*reinterpret_cast<NMLVDISPINFOW*>(lParam));
            return 0;
        case LVN_COLUMNCLICK:
            OnColumnClick(*reinterpret_cast<NMLISTVIEW*>(lParam));
            return 0;
        case NM_DBLCLK: {
            const auto& activate = *reinterpret_cast<NMITEMACTIVATE*>(lParam);
            ShowMineAt(activate.iItem >= 0 ? activate.iItem
                                           : ListView_GetNextItem(List(), -1, LVNI_SELECTED));
            return 0;
        }
        default:
            Default();
            return 0;
    }
}

void CFindMinesDlg::OnGetDispInfo(NMLVDISPINFOW& info) {
    LVITEMW& item = info.item;
    if ((item.mask & LVIF_TEXT) == 0 || item.pszText == nullptr || item.cchTextMax <= 0) {
        return;
    }
    const std::span<const FindColumn> columns = FindColumnsOf(m_result.mode);
    item.pszText[0] = L'\0';
    if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= m_order.Size() ||
        item.iSubItem < 0 || static_cast<std::size_t>(item.iSubItem) >= columns.size()) {
        return;
    }
    const FindRow& row = m_result.rows[m_order.RowAt(static_cast<std::size_t>(item.iItem))];
    m_cellText = WideFromUtf8(FindCellText(row, columns[item.iSubItem], m_mines));
    const std::size_t room = static_cast<std::size_t>(item.cchTextMax) - 1;
    const std::size_t length = std::min(m_cellText.size(), room);
    std::wmemcpy(item.pszText, m_cellText.data(), length);
    item.pszText[length] = L'\0';
}

void CFindMinesDlg::OnColumnClick(const NMLISTVIEW& info) {
    const std::span<const FindColumn> columns = FindColumnsOf(m_result.mode);
    if (info.iSubItem < 0 || static_cast<std::size_t>(info.iSubItem) >= columns.size()) {
        return;
    }
    {
        CWaitCursor wait;
        m_order.Click(columns[info.iSubItem], m_result.rows, m_mines);
    }
    ListView_SetItemState(List(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ShowSortArrow();
    ::InvalidateRect(List(), nullptr, TRUE);
}

void CFindMinesDlg::ShowSortArrow() {
    const HWND header = ListView_GetHeader(List());
    const std::span<const FindColumn> columns = FindColumnsOf(m_mode);
    for (int i = 0; i < Header_GetItemCount(header); ++i) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        ::SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(&item));
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (m_order.IsSorted() && static_cast<std::size_t>(i) < columns.size() &&
            columns[i] == m_order.SortColumn()) {
            item.fmt |= m_order.IsDescending() ? HDF_SORTDOWN : HDF_SORTUP;
        }
        ::SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(&item));
    }
}

void CFindMinesDlg::OnBrowse() {
    CFileDialog dlg(true, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                    "Routes and tracks (*.gpx;*.rte;*.plt;*.txt)|*.gpx;*.rte;*.plt;*.txt|All "
                    "Files (*.*)|*.*||",
                    this);
    dlg.SetTitle("Open Route File");
    if (dlg.DoModal() == IDOK) {
        SetDlgItemText(IDC_FIND_ROUTE, dlg.GetPathName());
    }
}

void CFindMinesDlg::OnExport() {
    const std::span<const ExportKindRow> kinds = ExportKindRows();
    const std::string filter = ExportFilter();
    CFileDialog dlg(false, nullptr, kinds.front().defaultName.data(),
                    OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, filter.c_str(), this);
    dlg.SetTitle("Export Mines");
    if (dlg.DoModal() != IDOK) {
        return;
    }
    // The ending typed decides the kind; else the filter chosen does, and
    // its ending goes on a name that has none.
    std::string path = dlg.GetPathName();
    ExportKind kind = kinds.front().kind;
    if (const auto typed = ExportKindForPath(path)) {
        kind = *typed;
    } else {
        const std::size_t chosen = dlg.m_ofn.nFilterIndex >= 1 ? dlg.m_ofn.nFilterIndex - 1 : 0;
        const ExportKindRow& row = kinds[std::min(chosen, kinds.size() - 1)];
        kind = row.kind;
        if (!HasEnding(path)) {
            path += row.ending;
        }
    }
    ExportResult result;
    {
        CWaitCursor wait;
        result = ExportMines(kind, path, m_mines, MinesInOrder(m_order.Order(), m_result.rows));
    }
    if (m_reportExport) {
        m_reportExport(*this, result);
    }
}

void CFindMinesDlg::OnSize(UINT type, LPARAM size) {
    Default();
    if (type == SIZE_MINIMIZED || m_initialClient.right == 0) {
        return;
    }
    const LONG width = LOWORD(size);
    const LONG height = HIWORD(size);
    const LONG grownX = width - m_initialClient.right;
    const LONG grownY = height - m_initialClient.bottom;
    const RECT& list = m_initialList;
    MoveChild(List(), list.left, list.top, list.right - list.left + grownX,
              list.bottom - list.top + grownY);
    const RECT& found = m_initialFound;
    MoveChild(GetDlgItem(IDC_FIND_FOUND), found.left, found.top + grownY,
              found.right - found.left + grownX, found.bottom - found.top);
    const RECT& exportButton = m_initialExport;
    MoveChild(GetDlgItem(IDC_FIND_EXPORT), exportButton.left + grownX, exportButton.top + grownY,
              exportButton.right - exportButton.left, exportButton.bottom - exportButton.top);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CFindMinesDlg::OnGetMinMaxInfo(UINT /*unused*/, LPARAM info) {
    auto* limits = reinterpret_cast<MINMAXINFO*>(info);
    if (m_minimumSize.cx > 0) {
        limits->ptMinTrackSize.x = m_minimumSize.cx;
        limits->ptMinTrackSize.y = m_minimumSize.cy;
    }
}
