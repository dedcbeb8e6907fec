#pragma once

// The fixture of every end-to-end test: a working folder of its own (given
// by the runner script in VEMRA_E2E_WORK), the programs under test, the
// stand-in library's call log, and the processes the test started, which
// end with it.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/live_objects.h"
#include "tests/e2e/driver_win.h"

namespace e2e {

// A row of the test's comma-separated data file. Texts as they stand in the
// file; the site name keeps any quotes, as the loader keeps them.
struct TestMine {
    int id;
    std::string name;
    std::string latitude;
    std::string longitude;
    std::string state;
    std::string commodity;
};

// Six mines: five on the stand-in's test map, one far off it; "Copper Queen"
// lies within 0.001 degrees of "Golden Eagle", after it.
const std::vector<TestMine>& StandardMines();

// The main dialog's count of live sheet and page objects; nothing when it
// does not answer.
std::optional<LiveObjects> QueryLiveObjects(HWND mainDialog);

// The mine as the program writes it into an archive: coordinates, identifier,
// then the 44 texts with a length byte each; a test mine fills the site name
// (text 3), the state (6) and the major commodities (12).
std::string ArchiveRecord(const TestMine& mine);
// The whole archive of the mines: the count word (placeholder element 0
// included), then their records; `recordEnds`, when given, gets the offset
// after each record.
std::string ArchiveOf(const std::vector<TestMine>& mines,
                      std::vector<std::size_t>* recordEnds = nullptr);

// Where KeepForReaders leaves the file of that name; empty when the runner
// names no folder.
std::string KeptPath(const std::string& leaf);

// Leaves the file, and beside it the mines it must hold ("name<TAB>lat<TAB>lon"
// lines), in the folder VEMRA_E2E_EXPORTS names, where read_back_exports.py
// has GPSBabel, ogrinfo and xmllint read it back.
void KeepForReaders(const std::string& leaf, const std::string& bytes,
                    const std::vector<TestMine>& mines);

// With VEMRA_E2E_SNAPSHOTS naming a folder, waits there for a screenshot
// of the screen (tests/e2e/dpi_screenshots.sh): writes `name`.ready and
// waits for `name`.done.
void Snapshot(const std::string& name);

// The stand-in's map box in the tests (south, west, north, east).
inline constexpr char kTestBox[] = "38,-121,46,-113";

class E2eTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The built programs, from the runner's environment; empty when not built.
    static std::string VemraExe() { return EnvPath("VEMRA_E2E_VEMRA"); }
    static std::string OziExpExe() { return EnvPath("VEMRA_E2E_OZIEXP"); }
    static std::string OziApiDll() { return EnvPath("VEMRA_E2E_OZIAPI"); }
    static std::string OziApiNoSaveDll() { return EnvPath("VEMRA_E2E_OZIAPI_NOSAVE"); }

    const std::string& WorkDir() const { return m_work; }
    std::string Work(const std::string& name) const { return JoinPath(m_work, name); }
    const std::string& LogPath() const { return m_log; }
    std::vector<std::string> CallLog() const { return ReadLines(m_log); }

    // Copies Vemra.exe into the working folder, and `library` beside it as
    // oziapi.dll unless it is empty.
    void InstallVemra(const std::string& library);
    void WriteMinesCsv(const std::string& name, const std::vector<TestMine>& mines);

    // Starts the stand-in in the working folder (map box kTestBox unless the
    // arguments say otherwise) and waits for its map window.
    HWND StartOziExp(std::vector<std::string> arguments = {});
    // Starts the installed Vemra.exe in the working folder.
    Process& StartVemra(const std::vector<std::string>& arguments);
    // Vemra's visible main dialog: caption "Vemra" and the data file box.
    HWND WaitForMainDialog(const Process& vemra, DWORD timeoutMs = kDefaultTimeoutMs);

    // The usual start: stand-in running, Vemra with the standard mines
    // loaded from "mines.csv", main dialog shown. Null on failure.
    HWND StartWithStandardMines();

    // The visible "Mine Info" window.
    HWND WaitForMineInfo(const Process& vemra, DWORD timeoutMs = kDefaultTimeoutMs);
    // True when a control of the window, at any depth, shows the text
    // (within a longer text too): whatever the layout of the window.
    static bool ShowsText(HWND window, const std::string& text);

    // Answers the next message box of Vemra with the button and returns it;
    // empty when none comes.
    MessageBoxInfo AnswerNextBox(int button = IDOK);

    Process* m_vemra = nullptr;

private:
    std::string m_work;
    std::string m_log;
    std::vector<std::unique_ptr<Process>> m_processes;
};

// Skips the test when Vemra.exe is not built.
#define E2E_REQUIRE_VEMRA()                                        \
    do {                                                           \
        if (VemraExe().empty()) {                                  \
            GTEST_SKIP() << "Vemra.exe is not built in this tree"; \
        }                                                          \
    } while (false)

}  // namespace e2e
