#include <windows.h>

#include "framework/application_win.h"

// The program's entry point: everything happens in the application object.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*showCommand*/) {
    CWinApp* app = AfxGetApp();
    return app != nullptr ? app->Run(instance) : 1;
}
