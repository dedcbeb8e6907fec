#pragma once

// The application object: one per program, constructed statically. The
// framework's WinMain gives it the module's name and handle, then runs
// InitInstance; when that returns false the program ends.

#include <windows.h>

#include <string>

class CCommandLineInfo;
class CWnd;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Sets the program up and runs it; false ends the program at once
    // instead of entering a message loop.
    virtual BOOL InitInstance() { return FALSE; }

    // Hands every command-line argument after the program name, taken from
    // the wide command line and made UTF-8, to `info`.
    void ParseCommandLine(CCommandLineInfo& info);

    // Called by WinMain: sets the module's name and handle, runs
    // InitInstance (and a message loop if it returns true). Returns the
    // process exit code; WinMain reports an exception that escapes.
    int Run(HINSTANCE instance);

    HINSTANCE m_hInstance = nullptr;
    // The executable's file name without its extension, in UTF-8.
    std::string m_strAppName;
    // The main window while it exists; the framework clears it when that
    // window is destroyed.
    CWnd* m_pMainWnd = nullptr;
};

// The one application object, or null before it is constructed.
CWinApp* AfxGetApp();
// The application name, "" when there is no application object.
const char* AfxGetAppName();
// The module that holds the resources.
HINSTANCE AfxGetResourceHandle();
