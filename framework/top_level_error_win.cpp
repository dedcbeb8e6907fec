#include "framework/top_level_error_win.h"

#include <exception>
#include <new>
#include <string>

#include "framework/application_win.h"
#include "text/wide_text_win.h"

namespace {

thread_local bool t_bReporting = false;

void ShowReport(HWND owner, const char* text) noexcept {
    if (t_bReporting) {
        return;
    }
    t_bReporting = true;
    if (owner != nullptr && !::IsWindow(owner)) {
        owner = nullptr;
    }
    std::wstring wideText;
    std::wstring wideCaption;
    try {
        wideText = WideFromText(text);
        wideCaption = WideFromText(AfxGetAppName());
    } catch (const std::bad_alloc&) {
        wideText.clear();
    }
    if (!wideText.empty()) {
        ::MessageBoxW(owner, wideText.c_str(), wideCaption.c_str(), MB_OK | MB_ICONERROR);
    } else {
        // No room to convert: the ANSI box shows what the code page can.
        ::MessageBoxA(owner, text, AfxGetAppName(), MB_OK | MB_ICONERROR);
    }
    t_bReporting = false;
}

}  // namespace

void ReportCurrentException(HWND owner) noexcept {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        ShowReport(owner, "Out of memory.");
    } catch (const std::exception& error) {
        ShowReport(owner, error.what());
    } catch (...) {
        ShowReport(owner, "An unexpected error occurred.");
    }
}
