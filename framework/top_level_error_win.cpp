#include "framework/top_level_error_win.h"

#include <exception>
#include <new>

#include "framework/application_win.h"

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
    ::MessageBoxA(owner, text, AfxGetAppName(), MB_OK | MB_ICONERROR);
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
