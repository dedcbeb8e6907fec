#pragma once

// The window base class: a window handle with the few operations the program
// uses, and the table-driven dispatch of messages to handlers.

#include <windows.h>

#include <string>
#include <string_view>

#include "framework/message_map_win.h"

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }

    // Binds the object to an existing window (a dialog's control) without
    // taking it over; Detach lets go of it again.
    void Attach(HWND hWnd) { m_hWnd = hWnd; }
    HWND Detach();

    // Destroys the window; false when there is none or the system refuses.
    virtual BOOL DestroyWindow();

    // Window texts go through the wide functions. Read back, a text is
    // UTF-8; set, it is decoded by the rule of the data texts (WideFromText),
    // so a record's text shows the same whether the file held it in UTF-8
    // or in code page 1252, and the program's UTF-8 paths pass as they are.
    std::string GetWindowText() const;
    void SetWindowText(std::string_view text);

    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    std::string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, std::string_view text);

    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    void GetWindowRect(RECT* rect) const { ::GetWindowRect(m_hWnd, rect); }
    // Turns a rectangle in screen coordinates into this window's client
    // coordinates.
    void ScreenToClient(RECT* rect) const {
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(rect), 2);
    }
    BOOL MoveWindow(const RECT& rect, BOOL repaint = TRUE) {
        return ::MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left,
                            rect.bottom - rect.top, repaint);
    }
    BOOL SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
        return ::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags);
    }
    HMENU GetSystemMenu(BOOL revert) const { return ::GetSystemMenu(m_hWnd, revert); }
    HICON SetIcon(HICON icon, BOOL bigIcon);

    // A message box owned by this window, its texts decoded as window texts
    // are; no caption means the application name.
    int MessageBox(std::string_view text, const char* caption = nullptr, UINT type = MB_OK) const;

    HWND m_hWnd = nullptr;

protected:
    // The class's handler table (see message_map.h); CWnd's is empty.
    virtual const MessageMap* GetMessageMap() const;

    // Runs the first handler that the tables of this class and its bases
    // list for the message. False when none does.
    bool DispatchToHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Called from a handler: the message it handles goes on to the system's
    // default processing once the handler returns.
    static void Default();

    // Called after the window is gone; objects that own themselves delete
    // themselves here.
    virtual void PostNcDestroy() {}

    friend class CMessageScope;
};

// The system's default processing of the message being dispatched on this
// thread, as requested with CWnd::Default. Scopes nest with the messages.
class CMessageScope {
public:
    CMessageScope();
    ~CMessageScope();
    CMessageScope(const CMessageScope&) = delete;
    CMessageScope& operator=(const CMessageScope&) = delete;

    bool DefaultRequested() const { return m_bDefault; }

private:
    friend class CWnd;
    bool m_bDefault = false;
    CMessageScope* m_pOuter;
};
