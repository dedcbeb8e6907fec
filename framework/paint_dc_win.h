#pragma once

#include <windows.h>

// The device context of one WM_PAINT: BeginPaint on construction, EndPaint on
// destruction.
class CPaintDC {
public:
    explicit CPaintDC(HWND hWnd) : m_hWnd(hWnd) { m_hDC = ::BeginPaint(hWnd, &m_ps); }
    ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC = nullptr;
    PAINTSTRUCT m_ps{};
};
