// The stand-in for OziExplorer's interface library. It runs inside the
// program that loads it and talks to the stand-in OziExplorer (OziExp.exe)
// only through windows: it finds the map window by class, asks it questions
// in WM_COPYDATA, and receives map clicks in a message-only window of its own.
//
// Every call is appended as one line to the file named by VEMRA_OZISIM_LOG
// (when set), so that tests can see which functions a program called.
//
// oziSaveMapImage resolves a relative file name against the CALLER's current
// directory before handing it to the stand-in.

#include <windows.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <type_traits>

#include "ozilink/ozi_api_win.h"
#include "ozisim/ozisim_protocol.h"

namespace {

OziMapClickCallback g_singleClick = nullptr;
OziMapClickCallback g_doubleClick = nullptr;
HWND g_clickTarget = nullptr;

void Log(const char* format, ...) {
    wchar_t path[1024];
    const DWORD length = GetEnvironmentVariableW(L"VEMRA_OZISIM_LOG", path, 1024);
    if (length == 0 || length >= 1024) {
        return;
    }
    char line[1024];
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(line, sizeof line - 1, format, args);
    va_end(args);
    if (written < 0) {
        return;
    }
    std::size_t size = std::strlen(line);
    line[size++] = '\n';
    const HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD done = 0;
    WriteFile(file, line, static_cast<DWORD>(size), &done, nullptr);
    CloseHandle(file);
}

const char* Text(const char* text) {
    return text != nullptr ? text : "(null)";
}

HWND FindMapWindow() {
    return FindWindowW(kOziSimMapClass, nullptr);
}

// The map window's answer, or `failure` when there is no map window or it
// does not answer within 10 s.
LRESULT AskMap(OziSimCommand command, const void* data, DWORD size, LRESULT failure) {
    const HWND map = FindMapWindow();
    if (map == nullptr) {
        return failure;
    }
    COPYDATASTRUCT copy{command, size, const_cast<void*>(data)};
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(map, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy), SMTO_NORMAL,
                            10000, &result) == 0) {
        return failure;
    }
    return static_cast<LRESULT>(result);
}

#if defined(__i386__)
// The real OziAPI.dll calls the click callback as __stdcall with 48 bytes of
// arguments and expects it to take them off the stack (ret 48). A callback
// declared otherwise corrupts the caller's stack, which the compiler of this
// library would hide by restoring the stack itself. So the stand-in calls it
// from assembly that pushes the arguments, calls, and measures how far the
// stack pointer moved; the export decoration cannot tell, as the callback is
// not exported. Returns the bytes the callee took off the stack.
extern "C" std::uint32_t OziSimCallPopping(const void* function, const void* arguments,
                                           std::uint32_t size);
asm(R"(
    .text
    .globl _OziSimCallPopping
_OziSimCallPopping:
    pushl %ebp
    movl %esp, %ebp
    pushl %esi
    pushl %edi
    pushl %ebx
    movl 16(%ebp), %ecx
    subl %ecx, %esp
    movl %esp, %edi
    movl 12(%ebp), %esi
    shrl $2, %ecx
    cld
    rep movsl
    movl %esp, %ebx
    call *8(%ebp)
    movl %esp, %eax
    subl %ebx, %eax
    leal -12(%ebp), %esp
    popl %ebx
    popl %edi
    popl %esi
    popl %ebp
    ret
)");

// The arguments as a __stdcall caller lays them out, first one lowest.
template <class T>
void PutArgument(unsigned char*& at, T value) {
    std::memcpy(at, &value, sizeof value);
    at += sizeof value;
}
#endif

// Calls the click callback as OziExplorer does (button 1, no map file, no
// grid position); a 32-bit callback that leaves its arguments on the stack is
// logged as such.
void CallClickCallback(OziMapClickCallback callback, const OziSimPoint& point) {
#if defined(__i386__)
    constexpr std::uint32_t kArgumentBytes = 48;
    alignas(4) unsigned char arguments[kArgumentBytes];
    unsigned char* at = arguments;
    PutArgument(at, 1);
    PutArgument(at, point.x);
    PutArgument(at, point.y);
    PutArgument(at, point.latitude);
    PutArgument(at, point.longitude);
    PutArgument(at, static_cast<void*>(nullptr));
    PutArgument(at, 0.0);
    PutArgument(at, 0.0);
    static_assert(sizeof(int) == 4 && sizeof(void*) == 4 && sizeof(double) == 8);
    const std::uint32_t taken =
        OziSimCallPopping(reinterpret_cast<const void*>(callback), arguments, kArgumentBytes);
    if (taken != kArgumentBytes) {
        Log("callback took %u bytes of arguments off the stack, not %u", taken, kArgumentBytes);
    }
#else
    callback(1, point.x, point.y, point.latitude, point.longitude, nullptr, 0.0, 0.0);
#endif
}

LRESULT CALLBACK ClickTargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (copy->dwData != kOziSimMapClick || copy->cbData != sizeof(OziSimPoint)) {
            return 0;
        }
        OziSimPoint point;
        std::memcpy(&point, copy->lpData, sizeof point);
        const OziMapClickCallback callback = g_singleClick;
        Log("callback 1 %d %d %f %f", point.x, point.y, point.latitude, point.longitude);
        if (callback != nullptr) {
            CallClickCallback(callback, point);
        }
        return 1;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HINSTANCE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&ClickTargetProc), &module);
    return module;
}

// On the calling thread, so that clicks are handled there.
bool CreateClickTarget() {
    if (g_clickTarget != nullptr) {
        return true;
    }
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ClickTargetProc;
    windowClass.hInstance = ThisModule();
    windowClass.lpszClassName = kOziSimClickTargetClass;
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return false;
    }
    g_clickTarget = CreateWindowExW(0, kOziSimClickTargetClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                    nullptr, windowClass.hInstance, nullptr);
    return g_clickTarget != nullptr;
}

void DestroyClickTarget() {
    if (g_clickTarget != nullptr) {
        DestroyWindow(g_clickTarget);
        g_clickTarget = nullptr;
    }
}

}  // namespace

#define OZISIM_EXPORT extern "C" __declspec(dllexport)

OZISIM_EXPORT int WINAPI oziMapSingleClickON(OziMapClickCallback callback) {
    g_singleClick = callback;
    const int result = CreateClickTarget() ? 1 : 0;
    Log("oziMapSingleClickON %s -> %d", callback != nullptr ? "callback" : "null", result);
    return result;
}

OZISIM_EXPORT int WINAPI oziMapSingleClickOFF() {
    DestroyClickTarget();
    g_singleClick = nullptr;
    Log("oziMapSingleClickOFF -> 1");
    return 1;
}

OZISIM_EXPORT int WINAPI oziMapDblClickON(OziMapClickCallback callback) {
    g_doubleClick = callback;
    Log("oziMapDblClickON %s -> 1", callback != nullptr ? "callback" : "null");
    return 1;
}

OZISIM_EXPORT int WINAPI oziMapDblClickOFF() {
    g_doubleClick = nullptr;
    Log("oziMapDblClickOFF -> 1");
    return 1;
}

OZISIM_EXPORT int WINAPI oziGetMapDatum(char* datum, int size) {
    static constexpr char kDatum[] = "WGS 84";
    int result = 0;
    if (datum != nullptr && size > 0) {
        std::snprintf(datum, static_cast<std::size_t>(size), "%s", kDatum);
        result = 1;
    }
    Log("oziGetMapDatum %d -> %d", size, result);
    return result;
}

OZISIM_EXPORT int WINAPI oziConvertDatum(const char* fromDatum, const char* toDatum,
                                         double* latitude, double* longitude) {
    Log("oziConvertDatum \"%s\" \"%s\" %f %f -> 1", Text(fromDatum), Text(toDatum),
        latitude != nullptr ? *latitude : 0.0, longitude != nullptr ? *longitude : 0.0);
    return 1;
}

OZISIM_EXPORT int WINAPI oziFindOzi() {
    const int result = FindMapWindow() != nullptr ? 0 : -1;
    Log("oziFindOzi -> %d", result);
    return result;
}

OZISIM_EXPORT int WINAPI oziIsPositionOnMap(double latitude, double longitude) {
    const OziSimPoint point{latitude, longitude, 0, 0};
    const int result = AskMap(kOziSimIsOnMap, &point, sizeof point, 0) == 1 ? 1 : 0;
    Log("oziIsPositionOnMap %f %f -> %d", latitude, longitude, result);
    return result;
}

OZISIM_EXPORT int WINAPI oziCloseApi() {
    DestroyClickTarget();
    g_singleClick = nullptr;
    g_doubleClick = nullptr;
    Log("oziCloseApi -> 1");
    return 1;
}

// Left out of the test variant that lacks one entry point.
#ifndef OZISIM_WITHOUT_SAVE_IMAGE
OZISIM_EXPORT int WINAPI oziSaveMapImage(char* fileName) {
    int result = 0;
    char fullName[MAX_PATH];
    if (fileName != nullptr) {
        const DWORD length = GetFullPathNameA(fileName, MAX_PATH, fullName, nullptr);
        if (length > 0 && length < MAX_PATH) {
            result = AskMap(kOziSimSaveImage, fullName, length + 1, 0) == 1 ? 1 : 0;
        }
    }
    Log("oziSaveMapImage %s -> %d", Text(fileName), result);
    return result;
}
static_assert(std::is_same_v<decltype(&oziSaveMapImage), OziSaveMapImageProc>);
#endif

// The exports must keep the exact types the program binds them with.
static_assert(std::is_same_v<decltype(&oziMapSingleClickON), OziMapSingleClickONProc>);
static_assert(std::is_same_v<decltype(&oziMapSingleClickOFF), OziMapSingleClickOFFProc>);
static_assert(std::is_same_v<decltype(&oziMapDblClickON), OziMapDblClickONProc>);
static_assert(std::is_same_v<decltype(&oziMapDblClickOFF), OziMapDblClickOFFProc>);
static_assert(std::is_same_v<decltype(&oziGetMapDatum), OziGetMapDatumProc>);
static_assert(std::is_same_v<decltype(&oziConvertDatum), OziConvertDatumProc>);
static_assert(std::is_same_v<decltype(&oziFindOzi), OziFindOziProc>);
static_assert(std::is_same_v<decltype(&oziIsPositionOnMap), OziIsPositionOnMapProc>);
static_assert(std::is_same_v<decltype(&oziCloseApi), OziCloseApiProc>);
