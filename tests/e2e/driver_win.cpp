#include "tests/e2e/driver_win.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <iterator>

#include "ozisim/click_at_win.h"
#include "ozisim/ozisim_protocol.h"
#include "text/wide_text_win.h"

namespace e2e {

namespace {

constexpr UINT kMessageTimeoutMs = 5000;

std::string QuoteArgument(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) {
        return argument;
    }
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, '\\');
    return quoted + "\"";
}

// The program and its arguments as one command line, each quoted as
// CommandLineToArgvW splits them.
std::string CommandLineOf(const std::string& exe, const std::vector<std::string>& arguments) {
    std::string commandLine = QuoteArgument(exe);
    for (const std::string& argument : arguments) {
        commandLine += " " + QuoteArgument(argument);
    }
    return commandLine;
}

struct EnumState {
    DWORD pid;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM lParam) {
    auto* state = reinterpret_cast<EnumState*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if ((state->pid == 0 || pid == state->pid) && IsWindowVisible(window)) {
        state->windows.push_back(window);
    }
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM lParam) {
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(window);
    return TRUE;
}

// A block of memory in the process of a window, for messages whose
// arguments point to memory.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, std::size_t size) : m_size(size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        m_process =
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (m_process != nullptr) {
            m_address =
                VirtualAllocEx(m_process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        }
    }
    ~RemoteBuffer() {
        if (m_address != nullptr) {
            VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
        }
        if (m_process != nullptr) {
            CloseHandle(m_process);
        }
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool Valid() const { return m_address != nullptr; }
    char* Address(std::size_t offset = 0) const { return static_cast<char*>(m_address) + offset; }
    bool Write(std::size_t offset, const void* data, std::size_t size) const {
        return offset + size <= m_size &&
               WriteProcessMemory(m_process, Address(offset), data, size, nullptr);
    }
    bool Read(std::size_t offset, void* data, std::size_t size) const {
        return offset + size <= m_size &&
               ReadProcessMemory(m_process, Address(offset), data, size, nullptr);
    }

private:
    std::size_t m_size;
    HANDLE m_process = nullptr;
    void* m_address = nullptr;
};

constexpr int kListTextChars = 1024;

// The text of one cell, through LVM_GETITEMTEXTW with a remote buffer.
std::string ListCellText(HWND list, const RemoteBuffer& buffer, int row, int column) {
    LVITEMW item{};
    item.iSubItem = column;
    item.cchTextMax = kListTextChars;
    item.pszText = reinterpret_cast<wchar_t*>(buffer.Address(sizeof item));
    const wchar_t nothing = L'\0';
    buffer.Write(sizeof item, &nothing, sizeof nothing);
    buffer.Write(0, &item, sizeof item);
    DWORD_PTR length = 0;
    SendMessageTimeoutW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                        reinterpret_cast<LPARAM>(buffer.Address()), SMTO_ABORTIFHUNG,
                        kMessageTimeoutMs, &length);
    std::wstring text(static_cast<std::size_t>(kListTextChars), L'\0');
    buffer.Read(sizeof item, text.data(), text.size() * sizeof(wchar_t));
    text.resize(std::wcslen(text.c_str()));
    return Utf8FromWide(text);
}

LRESULT SendWithin(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                        &result);
    return static_cast<LRESULT>(result);
}

void PostClick(HWND window, int x, int y, bool doubleClick) {
    const LPARAM at = MAKELPARAM(x, y);
    PostMessageW(window, WM_MOUSEMOVE, 0, at);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
    if (doubleClick) {
        PostMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        PostMessageW(window, WM_LBUTTONUP, 0, at);
    }
}

std::string TopLevelCaption(HWND window) {
    wchar_t text[512] = L"";
    GetWindowTextW(window, text, static_cast<int>(std::size(text)));
    return Utf8FromWide(text);
}

}  // namespace

std::string WindowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') {
        return path;
    }
    std::string result = "Z:" + path;
    for (char& c : result) {
        if (c == '/') {
            c = '\\';
        }
    }
    return result;
}

std::string EnvPath(const char* name) {
    wchar_t value[2048];
    const DWORD length = GetEnvironmentVariableW(WideFromUtf8(name).c_str(), value,
                                                 static_cast<DWORD>(std::size(value)));
    if (length == 0 || length >= std::size(value)) {
        return {};
    }
    return WindowsPath(Utf8FromWide(value));
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '\\') {
        return folder + name;
    }
    return folder + "\\" + name;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesW(WideFromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool CreateFolder(const std::string& path) {
    return CreateDirectoryW(WideFromUtf8(path).c_str(), nullptr) != 0;
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
    const HANDLE file =
        CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &read, nullptr) != 0) && read > 0) {
        bytes.append(buffer, read);
    }
    CloseHandle(file);
    if (!ok) {
        return std::nullopt;
    }
    return bytes;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    const HANDLE file = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

bool CopyFileTo(const std::string& from, const std::string& to) {
    return CopyFileW(WideFromUtf8(from).c_str(), WideFromUtf8(to).c_str(), FALSE) != 0;
}

std::optional<std::string> WaitForFile(const std::string& path, DWORD timeoutMs) {
    return WaitFor([&] { return FileExists(path) ? ReadFileBytes(path) : std::nullopt; },
                   timeoutMs);
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    const std::optional<std::string> bytes = ReadFileBytes(path);
    if (!bytes) {
        return lines;
    }
    std::size_t at = 0;
    while (at < bytes->size()) {
        std::size_t end = bytes->find('\n', at);
        if (end == std::string::npos) {
            end = bytes->size();
        }
        std::string line = bytes->substr(at, end - at);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
        at = end + 1;
    }
    return lines;
}

Process::Process(const std::string& exe, const std::vector<std::string>& arguments,
                 const std::string& workDir) {
    std::wstring wideCommandLine = WideFromUtf8(CommandLineOf(exe, arguments));
    const std::wstring wideWorkDir = WideFromUtf8(workDir);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(WideFromUtf8(exe).c_str(), wideCommandLine.data(), nullptr, nullptr, FALSE,
                        0, nullptr, workDir.empty() ? nullptr : wideWorkDir.c_str(), &startup,
                        &m_info)) {
        m_info = PROCESS_INFORMATION{};
    }
}

Process::~Process() {
    Kill();
    if (m_info.hProcess != nullptr) {
        CloseHandle(m_info.hThread);
        CloseHandle(m_info.hProcess);
    }
}

bool Process::Running() const {
    return Started() && WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::WaitForExit(DWORD timeoutMs) const {
    if (!Started() || WaitForSingleObject(m_info.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(m_info.hProcess, &code);
    return code;
}

void Process::Kill() {
    if (Running()) {
        TerminateProcess(m_info.hProcess, 99);
        WaitForSingleObject(m_info.hProcess, 5000);
    }
}

std::optional<std::string> RunForOutput(const std::string& exe,
                                        const std::vector<std::string>& arguments,
                                        const std::string& workDir, DWORD timeoutMs) {
    const std::string outputPath =
        JoinPath(workDir, "output-" + std::to_string(GetTickCount64()) + ".txt");
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE output = CreateFileW(WideFromUtf8(outputPath).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::wstring wideCommandLine = WideFromUtf8(CommandLineOf(exe, arguments));
    const std::wstring wideWorkDir = WideFromUtf8(workDir);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION info{};
    const BOOL started =
        CreateProcessW(WideFromUtf8(exe).c_str(), wideCommandLine.data(), nullptr, nullptr, TRUE, 0,
                       nullptr, wideWorkDir.c_str(), &startup, &info);
    CloseHandle(output);
    if (!started) {
        return std::nullopt;
    }
    const bool ended = WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0;
    if (!ended) {
        TerminateProcess(info.hProcess, 99);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    auto bytes = ReadFileBytes(outputPath);
    DeleteFileW(WideFromUtf8(outputPath).c_str());
    return ended ? bytes : std::nullopt;
}

std::vector<std::string> ListColumnTitles(HWND list) {
    std::vector<std::string> titles;
    const auto header = reinterpret_cast<HWND>(SendWithin(list, LVM_GETHEADER, 0, 0));
    const int count = static_cast<int>(SendWithin(header, HDM_GETITEMCOUNT, 0, 0));
    RemoteBuffer buffer(list, sizeof(HDITEMW) + kListTextChars * sizeof(wchar_t));
    for (int i = 0; buffer.Valid() && i < count; ++i) {
        HDITEMW item{};
        item.mask = HDI_TEXT;
        item.cchTextMax = kListTextChars;
        item.pszText = reinterpret_cast<wchar_t*>(buffer.Address(sizeof item));
        buffer.Write(0, &item, sizeof item);
        SendWithin(header, HDM_GETITEMW, static_cast<WPARAM>(i),
                   reinterpret_cast<LPARAM>(buffer.Address()));
        std::wstring text(static_cast<std::size_t>(kListTextChars), L'\0');
        buffer.Read(sizeof item, text.data(), text.size() * sizeof(wchar_t));
        text.resize(std::wcslen(text.c_str()));
        titles.push_back(Utf8FromWide(text));
    }
    return titles;
}

std::vector<std::vector<std::string>> ListRows(HWND list) {
    std::vector<std::vector<std::string>> rows;
    const int count = static_cast<int>(SendWithin(list, LVM_GETITEMCOUNT, 0, 0));
    const std::size_t columns = ListColumnTitles(list).size();
    RemoteBuffer buffer(list, sizeof(LVITEMW) + kListTextChars * sizeof(wchar_t));
    for (int row = 0; buffer.Valid() && row < count; ++row) {
        std::vector<std::string> cells;
        for (std::size_t column = 0; column < columns; ++column) {
            cells.push_back(ListCellText(list, buffer, row, static_cast<int>(column)));
        }
        rows.push_back(std::move(cells));
    }
    return rows;
}

void ClickListRow(HWND list, int row, bool doubleClick) {
    RemoteBuffer buffer(list, sizeof(RECT));
    RECT rect{};
    rect.left = LVIR_LABEL;
    buffer.Write(0, &rect, sizeof rect);
    SendWithin(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    SendWithin(list, LVM_GETITEMRECT, static_cast<WPARAM>(row),
               reinterpret_cast<LPARAM>(buffer.Address()));
    buffer.Read(0, &rect, sizeof rect);
    PostClick(list, rect.left + 4, (rect.top + rect.bottom) / 2, doubleClick);
}

void ClickListHeader(HWND list, int column) {
    const auto header = reinterpret_cast<HWND>(SendWithin(list, LVM_GETHEADER, 0, 0));
    int left = 0;
    for (int i = 0; i < column; ++i) {
        left += static_cast<int>(SendWithin(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i), 0));
    }
    const int width =
        static_cast<int>(SendWithin(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
    RECT headerRect{};
    GetClientRect(header, &headerRect);
    PostClick(header, left + width / 2, headerRect.bottom / 2, false);
}

std::vector<HWND> TopLevelWindows(DWORD pid) {
    EnumState state{pid, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&state));
    return state.windows;
}

std::string WindowClass(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string WindowText(HWND window) {
    DWORD_PTR length = 0;
    if (window == nullptr || !SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL,
                                                  kMessageTimeoutMs, &length)) {
        return {};
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_NORMAL, kMessageTimeoutMs, &copied)) {
        return {};
    }
    text.resize(std::wcslen(text.c_str()));
    return Utf8FromWide(text);
}

std::string ControlText(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}

void SetControlText(HWND dialog, int id, const std::string& text) {
    DWORD_PTR result = 0;
    const std::wstring wide = WideFromUtf8(text);
    SendMessageTimeoutW(GetDlgItem(dialog, id), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(wide.c_str()), SMTO_NORMAL, kMessageTimeoutMs,
                        &result);
}

std::vector<std::string> DescendantTexts(HWND window) {
    std::vector<HWND> children;
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
    std::vector<std::string> texts;
    for (const HWND child : children) {
        texts.push_back(WindowText(child));
    }
    return texts;
}

std::vector<std::string> LabelsCutOff(HWND window) {
    std::vector<HWND> children;
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
    HDC dc = GetDC(nullptr);
    // The program's font handle means nothing in this process: the same font
    // is made here, as the dialog manager makes it from the template.
    const HFONT font =
        CreateFontA(-MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                    FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");
    const HGDIOBJ old = SelectObject(dc, font);
    std::vector<std::string> cut;
    for (const HWND child : children) {
        const int id = GetDlgCtrlID(child);
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        const LONG type = style & SS_TYPEMASK;
        const bool textType = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT ||
                              type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP;
        if (WindowClass(child) != "Static" || (id != -1 && id != 0xFFFF) || !textType ||
            !IsWindowVisible(child)) {
            continue;
        }
        const std::string text = WindowText(child);
        if (text.empty()) {
            continue;
        }
        RECT box;
        GetClientRect(child, &box);
        // As the static control draws: one line, or wrapped at its width.
        UINT format = DT_CALCRECT | DT_EXPANDTABS | ((style & SS_NOPREFIX) != 0 ? DT_NOPREFIX : 0);
        format |= type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP ? DT_SINGLELINE : DT_WORDBREAK;
        RECT needed{0, 0, box.right, 0};
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &needed, format);
        // The text's box ends below the last line's descent and after the
        // last letter's trailing space; cut off means ink is lost: the last
        // baseline falls outside the box, or the last letter's body does.
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        ABC last{};
        const auto lastChar = static_cast<UINT>(static_cast<unsigned char>(text.back()));
        // At least one column: the advance of a letter of a bitmap font
        // (MS Sans Serif at 96 dpi) ends in an empty one.
        const LONG trailing =
            GetCharABCWidthsA(dc, lastChar, lastChar, &last) && last.abcC > 1 ? last.abcC : 1;
        const LONG lastBaseline = needed.bottom - metrics.tmDescent;
        if (needed.right - trailing > box.right || lastBaseline > box.bottom) {
            char sizes[96];
            std::snprintf(sizes, sizeof sizes, " (needs %ld x %ld, has %ld x %ld)", needed.right,
                          needed.bottom, box.right, box.bottom);
            cut.push_back(text + sizes);
        }
    }
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    return cut;
}

HWND FindWindowOf(DWORD pid, const std::string& caption, const char* className) {
    for (const HWND window : TopLevelWindows(pid)) {
        if (TopLevelCaption(window) == caption &&
            (className == nullptr || WindowClass(window) == className)) {
            return window;
        }
    }
    return nullptr;
}

HWND WaitForWindowOf(DWORD pid, const std::string& caption, const char* className,
                     DWORD timeoutMs) {
    return WaitFor([&] { return FindWindowOf(pid, caption, className); }, timeoutMs);
}

void PressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool PressButtonAndWait(HWND dialog, int id, DWORD timeoutMs) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)), SMTO_NORMAL,
                               timeoutMs, &result) != 0;
}

void PostCommand(HWND window, int id) {
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void PostSysCommand(HWND window, WPARAM command) {
    PostMessageA(window, WM_SYSCOMMAND, command, 0);
}

void PressKey(HWND window, UINT virtualKey) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    HWND target = window;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) &&
        info.hwndFocus != nullptr) {
        target = info.hwndFocus;
    }
    const UINT scan = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
    PostMessageA(target, WM_KEYDOWN, virtualKey, 1 | (static_cast<LPARAM>(scan) << 16));
    PostMessageA(target, WM_KEYUP, virtualKey,
                 1 | (static_cast<LPARAM>(scan) << 16) | (LPARAM{3} << 30));
}

std::optional<UINT> MenuItemState(HWND window, UINT id) {
    const HMENU menu = GetMenu(window);
    if (menu == nullptr) {
        return std::nullopt;
    }
    const UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
    if (state == static_cast<UINT>(-1)) {
        return std::nullopt;
    }
    return state;
}

std::vector<MessageBoxInfo> MessageBoxes(DWORD pid) {
    std::vector<MessageBoxInfo> boxes;
    for (const HWND window : TopLevelWindows(pid)) {
        if (WindowClass(window) != "#32770") {
            continue;
        }
        const HWND text = GetDlgItem(window, 0xFFFF);
        const HWND icon = GetDlgItem(window, 1088);
        if (text == nullptr || icon == nullptr || GetDlgItem(window, 1148) != nullptr) {
            continue;
        }
        boxes.push_back({window, TopLevelCaption(window), WindowText(text)});
    }
    return boxes;
}

MessageBoxInfo WaitForMessageBox(DWORD pid, DWORD timeoutMs) {
    return WaitFor(
        [&] {
            const std::vector<MessageBoxInfo> boxes = MessageBoxes(pid);
            return boxes.empty() ? MessageBoxInfo{} : boxes.front();
        },
        timeoutMs);
}

void AnswerMessageBox(const MessageBoxInfo& box, int buttonId) {
    PostMessageA(box.window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box.window, buttonId)));
}

bool WaitForClosed(HWND window, DWORD timeoutMs) {
    return WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

bool EnterFileName(HWND fileDialog, const std::string& path) {
    // 1148: the explorer-style dialog's file name box (a combo box whose
    // edit takes the text); 1152: the old-style dialog's edit.
    const int nameId = GetDlgItem(fileDialog, 1148) != nullptr ? 1148 : 1152;
    if (GetDlgItem(fileDialog, nameId) == nullptr) {
        return false;
    }
    SetControlText(fileDialog, nameId, path);
    PressButton(fileDialog, IDOK);
    return true;
}

HWND FindOziMapWindow() {
    return FindWindowW(kOziSimMapClass, nullptr);
}

int ClickMap(double latitude, double longitude) {
    return OziSimClickAt(latitude, longitude);
}

bool SetRawOziExplorerPath(const std::string& bytes, DWORD type) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\OziExplorer", 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const LONG status =
        RegSetValueExA(key, "Path", 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool SetOziExplorerPath(const std::string& folder) {
    // With its terminating NUL, as the installer writes it.
    return SetRawOziExplorerPath(folder + '\0', REG_SZ);
}

}  // namespace e2e
