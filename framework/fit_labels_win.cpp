#include "framework/fit_labels_win.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct Child {
    HWND window;
    RECT rect;  // in the dialog's client coordinates
};

std::vector<Child> ChildrenOf(HWND dialog) {
    std::vector<Child> children;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        ::GetWindowRect(child, &rect);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        children.push_back({child, rect});
    }
    return children;
}

bool IsLabel(HWND window) {
    char className[16] = {};
    ::GetClassNameA(window, className, sizeof className);
    const LONG style = ::GetWindowLongA(window, GWL_STYLE);
    // -1 in an extended template, 0xFFFF in a plain one.
    const int id = ::GetDlgCtrlID(window);
    return (id == -1 || id == 0xFFFF) && ::lstrcmpiA(className, "Static") == 0 &&
           (style & SS_TYPEMASK) == SS_LEFT;
}

// The width of the label's text on one line, in its own font.
LONG TextWidth(HWND label) {
    const int length = ::GetWindowTextLengthA(label);
    if (length <= 0) {
        return 0;
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextA(label, text.data(), length + 1)));
    HDC dc = ::GetDC(label);
    const auto font = reinterpret_cast<HFONT>(::SendMessageA(label, WM_GETFONT, 0, 0));
    HGDIOBJ old = font != nullptr ? ::SelectObject(dc, font) : nullptr;
    RECT rect{0, 0, 0, 0};
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                DT_CALCRECT | DT_SINGLELINE | DT_LEFT);
    if (old != nullptr) {
        ::SelectObject(dc, old);
    }
    ::ReleaseDC(label, dc);
    return rect.right - rect.left;
}

bool SameRow(const RECT& a, const RECT& b) {
    return a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

void FitLabels(HWND dialog) {
    RECT client;
    ::GetClientRect(dialog, &client);
    const std::vector<Child> children = ChildrenOf(dialog);
    for (const Child& label : children) {
        if (!IsLabel(label.window)) {
            continue;
        }
        const LONG needed = TextWidth(label.window);
        if (needed <= label.rect.right - label.rect.left) {
            continue;
        }
        // Room up to the nearest control that starts to its right on the
        // same row; a group box around the label does not count.
        LONG limit = client.right;
        for (const Child& other : children) {
            const bool encloses =
                other.rect.left <= label.rect.left && other.rect.right >= label.rect.right &&
                other.rect.top <= label.rect.top && other.rect.bottom >= label.rect.bottom;
            if (other.window != label.window && !encloses && SameRow(label.rect, other.rect) &&
                other.rect.left > label.rect.left) {
                limit = std::min(limit, other.rect.left - 1);
            } else if (encloses && other.window != label.window) {
                limit = std::min(limit, other.rect.right - 4);
            }
        }
        const LONG width = std::min(needed, limit - label.rect.left);
        if (width > label.rect.right - label.rect.left) {
            ::SetWindowPos(label.window, nullptr, 0, 0, width, label.rect.bottom - label.rect.top,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        if (width < needed) {
            ::SetWindowLongA(
                label.window, GWL_STYLE,
                (::GetWindowLongA(label.window, GWL_STYLE) & ~SS_TYPEMASK) | SS_LEFTNOWORDWRAP);
        }
    }
}
