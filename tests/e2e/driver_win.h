#pragma once

// Driving Windows programs from a test process, as a user would: start them,
// find their windows, read and set control texts, press buttons, answer
// message boxes and file dialogs, click the stand-in OziExplorer's map.
// Everything that waits polls with a time limit.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

inline constexpr DWORD kDefaultTimeoutMs = 10000;

// Polls `condition` every 20 ms until it yields a true-ish value or the time
// is up; returns the last value it yielded.
template <class Condition>
auto WaitFor(Condition condition, DWORD timeoutMs = kDefaultTimeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        auto result = condition();
        if (result || GetTickCount64() >= deadline) {
            return result;
        }
        Sleep(20);
    }
}

// ---- Files and paths ----
// Every path and text here is UTF-8; the system is called through its wide
// functions, so names outside the ANSI code page work.

// "/a/b" as Wine's drive Z: sees it ("Z:\a\b"); a Windows path unchanged.
std::string WindowsPath(const std::string& path);
// The environment variable as a Windows path; empty when unset.
std::string EnvPath(const char* name);
std::string JoinPath(const std::string& folder, const std::string& name);
bool FileExists(const std::string& path);
bool CreateFolder(const std::string& path);
// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);
bool CopyFileTo(const std::string& from, const std::string& to);
// Waits until the file exists and can be read.
std::optional<std::string> WaitForFile(const std::string& path,
                                       DWORD timeoutMs = kDefaultTimeoutMs);
// Lines without their line ends; empty when the file does not exist.
std::vector<std::string> ReadLines(const std::string& path);

// ---- Processes ----

class Process {
public:
    // Starts `exe` with `arguments` (quoted as needed) in `workDir`; the
    // environment is the test's own. Check Started().
    Process(const std::string& exe, const std::vector<std::string>& arguments,
            const std::string& workDir);
    ~Process();  // kills the process if it still runs
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return m_info.hProcess != nullptr; }
    DWORD Id() const { return m_info.dwProcessId; }
    bool Running() const;
    // The exit code once the process has ended within the time limit.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs = kDefaultTimeoutMs) const;
    void Kill();

private:
    PROCESS_INFORMATION m_info{};
};

// Runs `exe` with `arguments` in `workDir` until it ends (within the time
// limit), its standard output going to a file; returns what it wrote, or
// nothing when it could not run or did not end.
std::optional<std::string> RunForOutput(const std::string& exe,
                                        const std::vector<std::string>& arguments,
                                        const std::string& workDir,
                                        DWORD timeoutMs = kDefaultTimeoutMs);

// ---- Windows ----

// Visible top-level windows of the process (all processes for pid 0).
std::vector<HWND> TopLevelWindows(DWORD pid);
std::string WindowClass(HWND window);
// The window's text through WM_GETTEXT (wide), which crosses processes (also
// the text of an edit control of another process, unlike GetWindowText).
std::string WindowText(HWND window);
std::string ControlText(HWND dialog, int id);
void SetControlText(HWND dialog, int id, const std::string& text);
// The texts of all descendants of the window, in z-order, depth first.
std::vector<std::string> DescendantTexts(HWND window);

// The labels (static texts without an id of their own) among the window's
// descendants that lose ink to their box (a line's baseline or a letter's
// body outside it; the descent and trailing space may be cut), each as
// "text (needs W x H, has w x h)": measured as the static control draws it,
// in the templates' font (8-point MS Sans Serif) at this process's DPI,
// which is the program's when both started under the same LogPixels.
std::vector<std::string> LabelsCutOff(HWND window);

// A visible top-level window of the process with this caption (and class,
// when given).
HWND FindWindowOf(DWORD pid, const std::string& caption, const char* className = nullptr);
HWND WaitForWindowOf(DWORD pid, const std::string& caption, const char* className = nullptr,
                     DWORD timeoutMs = kDefaultTimeoutMs);

// As a click on the button: WM_COMMAND BN_CLICKED posted to the dialog.
void PressButton(HWND dialog, int id);
// The same, sent: returns once the handler has run, so that what the test
// does next (a map click, sent too) cannot overtake it. Only for handlers
// that do not wait for the test, as a message box would.
bool PressButtonAndWait(HWND dialog, int id, DWORD timeoutMs = kDefaultTimeoutMs);
// A menu or accelerator command: WM_COMMAND posted to the window.
void PostCommand(HWND window, int id);
void PostSysCommand(HWND window, WPARAM command);
// A key press (down and up) posted to the control that has the focus in the
// window's thread, as the keyboard would deliver it, so that the dialog
// manager translates Enter and Escape.
void PressKey(HWND window, UINT virtualKey);
// State flags of a command of the window's menu bar (MF_GRAYED, MF_DISABLED),
// or nothing when there is no such item.
std::optional<UINT> MenuItemState(HWND window, UINT id);

// ---- List views of another process ----
// The texts pass through a buffer in the list's process, as a user's screen
// reader would read them.

// The titles of the report-view list's columns, left to right.
std::vector<std::string> ListColumnTitles(HWND list);
// The texts of every row, a text per column.
std::vector<std::vector<std::string>> ListRows(HWND list);
// A click (or double-click) on the row's first cell, posted as the mouse
// delivers it.
void ClickListRow(HWND list, int row, bool doubleClick = false);
// A click on the header of the column.
void ClickListHeader(HWND list, int column);

// ---- Message boxes and file dialogs ----

struct MessageBoxInfo {
    HWND window = nullptr;
    std::string caption;
    std::string text;
    explicit operator bool() const { return window != nullptr; }
};

// The process's message boxes: dialogs with the message box's text (0xFFFF)
// and icon (1088) controls.
std::vector<MessageBoxInfo> MessageBoxes(DWORD pid);
MessageBoxInfo WaitForMessageBox(DWORD pid, DWORD timeoutMs = kDefaultTimeoutMs);
// Presses IDOK, IDYES, IDNO...
void AnswerMessageBox(const MessageBoxInfo& box, int buttonId);
// Waits until the box is gone.
bool WaitForClosed(HWND window, DWORD timeoutMs = kDefaultTimeoutMs);

// Types the name into an open or save dialog and presses its OK button.
bool EnterFileName(HWND fileDialog, const std::string& path);

// ---- The stand-in OziExplorer ----

HWND FindOziMapWindow();
// Clicks the stand-in's map at the position; returns how many programs
// received the click (after their callbacks returned), -1 for a point off
// the map, -2 when there is no map window.
int ClickMap(double latitude, double longitude);

// ---- Registry ----

// HKCU\Software\OziExplorer, value "Path", in the test's own prefix.
bool SetOziExplorerPath(const std::string& folder);
// The same value as raw bytes of the given registry type.
bool SetRawOziExplorerPath(const std::string& bytes, DWORD type);

}  // namespace e2e
