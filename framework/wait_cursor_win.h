#pragma once

#include <windows.h>

// Shows the hourglass for the lifetime of the object (a long load or wait on
// the user-interface thread) and restores the previous cursor afterwards.
class CWaitCursor {
public:
    CWaitCursor() : m_hPrevious(::SetCursor(::LoadCursor(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() { ::SetCursor(m_hPrevious); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR m_hPrevious;
};
