#include "tests/e2e/session_win.h"

#include <bit>
#include <cstdint>
#include <cstdlib>

#include "ozisim/ozisim_protocol.h"

namespace e2e {

const std::vector<TestMine>& StandardMines() {
    static const std::vector<TestMine> mines{
        {10001, "Silver King", "38.5", "-117.25", "NV", "Silver"},
        {10002, "Golden Eagle", "40.0", "-116.0", "NV", "Gold"},
        {10003, "Copper Queen", "40.0004", "-116.0004", "NV", "Copper"},
        {10004, "\"Smith, Jones Mine\"", "42.25", "-118.75", "OR", "Mercury"},
        {10005, "Far North Mine", "60.5", "-150.25", "AK", "Gold"},
        {10006, "Lonely Butte", "44.0", "-115.0", "ID", "Lead"},
    };
    return mines;
}

namespace {

void AppendLittleEndian(std::string& bytes, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

}  // namespace

std::optional<LiveObjects> QueryLiveObjects(HWND mainDialog) {
    DWORD_PTR reply = 0;
    if (!SendMessageTimeoutA(mainDialog, RegisterWindowMessageA(kLiveSheetObjectsMessage), 0, 0,
                             SMTO_NORMAL, 5000, &reply)) {
        return std::nullopt;
    }
    return DecodeLiveObjects(static_cast<std::int64_t>(reply));
}

std::string ArchiveRecord(const TestMine& mine) {
    std::string bytes;
    AppendLittleEndian(
        bytes, std::bit_cast<std::uint32_t>(std::strtof(mine.latitude.c_str(), nullptr)), 4);
    AppendLittleEndian(
        bytes, std::bit_cast<std::uint32_t>(std::strtof(mine.longitude.c_str(), nullptr)), 4);
    AppendLittleEndian(bytes, static_cast<std::uint32_t>(mine.id), 2);
    for (int field = 0; field < 44; ++field) {
        const std::string text = field == 2    ? mine.name
                                 : field == 5  ? mine.state
                                 : field == 11 ? mine.commodity
                                               : std::string();
        bytes += static_cast<char>(text.size());
        bytes += text;
    }
    return bytes;
}

std::string ArchiveOf(const std::vector<TestMine>& mines, std::vector<std::size_t>* recordEnds) {
    std::string bytes;
    AppendLittleEndian(bytes, static_cast<std::uint32_t>(mines.size() + 1), 2);
    for (const TestMine& mine : mines) {
        bytes += ArchiveRecord(mine);
        if (recordEnds != nullptr) {
            recordEnds->push_back(bytes.size());
        }
    }
    return bytes;
}

std::string KeptPath(const std::string& leaf) {
    const std::string folder = EnvPath("VEMRA_E2E_EXPORTS");
    return folder.empty() ? folder : JoinPath(folder, leaf);
}

void KeepForReaders(const std::string& leaf, const std::string& bytes,
                    const std::vector<TestMine>& mines) {
    const std::string path = KeptPath(leaf);
    if (path.empty()) {
        return;
    }
    std::string expected;
    for (const TestMine& mine : mines) {
        expected += mine.name + "\t" + mine.latitude + "\t" + mine.longitude + "\n";
    }
    CreateDirectoryA(EnvPath("VEMRA_E2E_EXPORTS").c_str(), nullptr);
    EXPECT_TRUE(WriteFileBytes(path, bytes)) << path;
    EXPECT_TRUE(WriteFileBytes(path + ".expected", expected)) << path;
}

void Snapshot(const std::string& name) {
    const std::string folder = EnvPath("VEMRA_E2E_SNAPSHOTS");
    if (folder.empty()) {
        return;
    }
    Sleep(300);  // let the window paint
    WriteFileBytes(JoinPath(folder, name + ".ready"), "");
    WaitFor([&] { return FileExists(JoinPath(folder, name + ".done")); }, 30000);
}

void E2eTest::SetUp() {
    m_work = EnvPath("VEMRA_E2E_WORK");
    if (m_work.empty()) {
        // Run by hand, outside the runner script.
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_work = JoinPath(temp,
                          std::string("vemra-e2e-") + info->test_suite_name() + "." + info->name());
    }
    CreateDirectoryA(m_work.c_str(), nullptr);
    m_log = Work("ozisim.log");
    DeleteFileA(m_log.c_str());
    // Inherited by every program the test starts.
    SetEnvironmentVariableA("VEMRA_OZISIM_LOG", m_log.c_str());
}

void E2eTest::TearDown() {
    // Newest first: Vemra before the stand-in it talks to.
    while (!m_processes.empty()) {
        m_processes.pop_back();
    }
}

void E2eTest::InstallVemra(const std::string& library) {
    ASSERT_TRUE(CopyFileTo(VemraExe(), Work("Vemra.exe"))) << VemraExe();
    if (!library.empty()) {
        ASSERT_TRUE(CopyFileTo(library, Work("oziapi.dll"))) << library;
    }
}

void E2eTest::WriteMinesCsv(const std::string& name, const std::vector<TestMine>& mines) {
    std::string text = "DEP_ID,SITE_NAME,LATITUDE,LONGITUDE,STATE,COM_MAJOR\r\n";
    for (const TestMine& mine : mines) {
        text += std::to_string(mine.id) + "," + mine.name + "," + mine.latitude + "," +
                mine.longitude + "," + mine.state + "," + mine.commodity + "\r\n";
    }
    ASSERT_TRUE(WriteFileBytes(Work(name), text));
}

HWND E2eTest::StartOziExp(std::vector<std::string> arguments) {
    if (arguments.empty()) {
        arguments = {"--box", kTestBox};
    }
    auto& process =
        m_processes.emplace_back(std::make_unique<Process>(OziExpExe(), arguments, m_work));
    EXPECT_TRUE(process->Started()) << OziExpExe();
    const HWND map = WaitFor([] { return FindOziMapWindow(); });
    EXPECT_NE(map, nullptr) << "the stand-in's map window did not appear";
    return map;
}

Process& E2eTest::StartVemra(const std::vector<std::string>& arguments) {
    auto& process =
        m_processes.emplace_back(std::make_unique<Process>(Work("Vemra.exe"), arguments, m_work));
    EXPECT_TRUE(process->Started());
    m_vemra = process.get();
    return *process;
}

HWND E2eTest::WaitForMainDialog(const Process& vemra, DWORD timeoutMs) {
    return WaitFor(
        [&]() -> HWND {
            for (const HWND window : TopLevelWindows(vemra.Id())) {
                if (WindowClass(window) == "#32770" && GetDlgItem(window, 1010) != nullptr &&
                    WindowText(window) == "Vemra") {
                    return window;
                }
            }
            return nullptr;
        },
        timeoutMs);
}

HWND E2eTest::StartWithStandardMines() {
    InstallVemra(OziApiDll());
    WriteMinesCsv("mines.csv", StandardMines());
    if (StartOziExp() == nullptr) {
        return nullptr;
    }
    return WaitForMainDialog(StartVemra({"mines.csv"}));
}

HWND E2eTest::WaitForMineInfo(const Process& vemra, DWORD timeoutMs) {
    return WaitForWindowOf(vemra.Id(), "Mine Info", nullptr, timeoutMs);
}

bool E2eTest::ShowsText(HWND window, const std::string& text) {
    for (const std::string& shown : DescendantTexts(window)) {
        if (shown.find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

MessageBoxInfo E2eTest::AnswerNextBox(int button) {
    MessageBoxInfo box = WaitForMessageBox(m_vemra->Id());
    if (box) {
        AnswerMessageBox(box, button);
        EXPECT_TRUE(WaitForClosed(box.window));
    }
    return box;
}

}  // namespace e2e
