#include <windows.h>

#include "framework/win_app.h"

// The program's entry point: everything happens in the application object.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*showCommand*/) {
    CWinApp* app = AfxGetApp();
    return app != nullptr ? app->Run(instance) : 1;
}
