#pragma once

// The top-level error report: an exception that escapes a message handler or
// the OziAPI callback is shown in a message box, and the program goes on.
// Exceptions never leave through a window procedure or a callback: system
// frames and OziAPI.dll's frames cannot be unwound.

#include <windows.h>

#include <utility>

// Call only inside a catch block: shows the exception being handled (its
// text; caption the application name) in a message box owned by `owner`
// (none when null or no longer a window). While one such report is open,
// further ones on the same thread are dropped, so that a handler that fails
// on every repaint does not pile up boxes.
void ReportCurrentException(HWND owner) noexcept;

// Runs `action`; an exception that escapes it is reported as above. Returns
// true when `action` finished normally.
template <class Action>
bool RunReportingErrors(HWND owner, Action&& action) noexcept {
    try {
        std::forward<Action>(action)();
        return true;
    } catch (...) {
        ReportCurrentException(owner);
        return false;
    }
}
