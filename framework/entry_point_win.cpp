#include <windows.h>

#include "framework/application_win.h"
#include "framework/top_level_error_win.h"

// The program's entry point: everything happens in the application object.
// An exception that escapes it is reported here, where the report may use
// the application's name, and ends the program with 1.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*showCommand*/) {
    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        return 1;
    }
    int exitCode = 1;
    RunReportingErrors(nullptr, [&] { exitCode = app->Run(instance); });
    return exitCode;
}
