#include "framework/application_win.h"

#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "framework/app_name.h"
#include "framework/command_line_info.h"
#include "text/wide_text_win.h"

namespace {

CWinApp* g_pApp = nullptr;

std::string ModulePath(HINSTANCE instance) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(instance, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            return Utf8FromWide(std::wstring_view(buffer.data(), length));
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

CWinApp::CWinApp() {
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (g_pApp == this) {
        g_pApp = nullptr;
    }
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) {
    // The wide command line: the ANSI one has already lost every character
    // of a file name that the code page lacks.
    std::vector<std::string> arguments = Utf8CommandLineArguments();
    if (!arguments.empty()) {
        arguments.erase(arguments.begin());
    }
    ::ParseCommandLine(arguments, info);
}

int CWinApp::Run(HINSTANCE instance) {
    m_hInstance = instance;
    m_strAppName = AppNameFromModulePath(ModulePath(instance));
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    if (!InitInstance()) {
        return 0;
    }
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

const char* AfxGetAppName() {
    return g_pApp != nullptr ? g_pApp->m_strAppName.c_str() : "";
}

HINSTANCE AfxGetResourceHandle() {
    return g_pApp != nullptr && g_pApp->m_hInstance != nullptr ? g_pApp->m_hInstance
                                                               : ::GetModuleHandleA(nullptr);
}
