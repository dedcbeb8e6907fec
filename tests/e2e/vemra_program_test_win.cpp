// Vemra.exe driven as a user drives it, beside the stand-in OziExplorer:
// start-up, map clicks, capture on and off, the sensitivity, loading data
// files, the About box, the File menu's exports, and starting OziExplorer.
// The "Mine Info" window is checked only for its caption and the mine's
// name; its pages have tests of their own.

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/session_win.h"

namespace e2e {
namespace {

constexpr DWORD kNoWindowMs = 1500;

// What the main dialog's controls show.
struct DialogState {
    std::string dataFile;
    std::string sensitivity;
    std::string startStop;
};

DialogState ReadDialog(HWND dialog) {
    return {ControlText(dialog, IDC_DATA_FILE), ControlText(dialog, IDC_SENSITIVITY),
            ControlText(dialog, IDC_START_STOP)};
}

// The coordinate as the program holds it (single precision) and prints it.
std::string FloatText(const std::string& decimal) {
    char text[64];
    std::snprintf(text, sizeof text, "%f",
                  static_cast<double>(std::strtof(decimal.c_str(), nullptr)));
    return text;
}

// The point file line of a mine: commas in the name are written as 0xD1,
// which OziExplorer reads back as a comma.
std::string PointLine(const TestMine& mine) {
    std::string name = mine.name;
    for (char& c : name) {
        if (c == ',') {
            c = '\xD1';
        }
    }
    return FloatText(mine.latitude) + "," + FloatText(mine.longitude) + ",0," + name +
           ",,,,-777.0\r\n";
}

std::string PointFileHeader() {
    return "OziExplorer Point File Version 1.0\r\nWGS 84\r\nReserved 1\r\nReserved 2\r\n"
           "255,16777215,3,8,0,0,Mines\r\n";
}

// The standard mines inside the test map's box (38..46 N, 121..113 W).
bool OnTestMap(const TestMine& mine) {
    const double latitude = std::strtof(mine.latitude.c_str(), nullptr);
    const double longitude = std::strtof(mine.longitude.c_str(), nullptr);
    return latitude >= 38.0 && latitude <= 46.0 && longitude >= -121.0 && longitude <= -113.0;
}

std::vector<std::string> LogLinesStartingWith(const std::vector<std::string>& log,
                                              const std::string& start) {
    std::vector<std::string> lines;
    for (const std::string& line : log) {
        if (line.rfind(start, 0) == 0) {
            lines.push_back(line);
        }
    }
    return lines;
}

// A path of 200 characters in the working folder (longer than the 127 an
// old-style 128-byte name buffer holds, well within MAX_PATH), without the
// extension, which the save dialog adds.
std::string LongPathStem(const std::string& folder, const std::string& stem) {
    const std::string start = JoinPath(folder, stem + "_");
    return start + std::string(start.size() < 196 ? 196 - start.size() : 1, 'x');
}

// A string of the program's file.
std::string TemplateString(const std::string& exe, UINT id) {
    const HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    char text[256] = "";
    if (module != nullptr) {
        LoadStringA(module, id, text, sizeof text);
        FreeLibrary(module);
    }
    return text;
}

// A command of the File menu as its template in the program's file holds it;
// a separator has id 0, no text and is not greyed.
struct MenuItem {
    UINT id;
    std::string text;
    bool greyed;
    friend bool operator==(const MenuItem&, const MenuItem&) = default;
};

void PrintTo(const MenuItem& item, std::ostream* os) {
    *os << item.id << " \"" << item.text << "\"" << (item.greyed ? " greyed" : "");
}

// The items of the File pop-up of menu 132 in the program's file, in order.
std::vector<MenuItem> TemplateFileMenu(const std::string& exe) {
    std::vector<MenuItem> items;
    const HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) {
        return items;
    }
    if (const HMENU menu = LoadMenuA(module, MAKEINTRESOURCEA(IDR_MAINMENU))) {
        const HMENU file = GetSubMenu(menu, 0);
        for (int i = 0; file != nullptr && i < GetMenuItemCount(file); ++i) {
            char text[256] = "";
            GetMenuStringA(file, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            const UINT state = GetMenuState(file, static_cast<UINT>(i), MF_BYPOSITION);
            // A separator cannot be chosen whatever its flags say.
            const bool greyed =
                (state & MF_SEPARATOR) == 0 && (state & (MF_GRAYED | MF_DISABLED)) != 0;
            items.push_back({GetMenuItemID(file, i), text, greyed});
        }
        DestroyMenu(menu);
    }
    FreeLibrary(module);
    return items;
}

// What the stand-in's library logs when the map export asks about each
// standard mine, in order.
std::vector<std::string> MapQuestions() {
    std::vector<std::string> asked;
    for (const TestMine& mine : StandardMines()) {
        asked.push_back("oziIsPositionOnMap " + FloatText(mine.latitude) + " " +
                        FloatText(mine.longitude) + " -> " + (OnTestMap(mine) ? "1" : "0"));
    }
    return asked;
}

class VemraProgram : public E2eTest {
protected:
    // The save or open dialog of the program with this title.
    HWND WaitForFileDialog(const std::string& title) {
        return WaitForWindowOf(m_vemra->Id(), title, "#32770");
    }

    // Chooses the command, types the name into its save dialog and waits for
    // the file. Checks the name the dialog offers first.
    std::optional<std::string> SaveThroughDialog(HWND dialog, int command, const std::string& title,
                                                 const std::string& offered,
                                                 const std::string& typed,
                                                 const std::string& written) {
        PostCommand(dialog, command);
        const HWND save = WaitForFileDialog(title);
        EXPECT_NE(save, nullptr) << title;
        if (save == nullptr) {
            return std::nullopt;
        }
        EXPECT_EQ(ControlText(save, 1148), offered);
        EXPECT_TRUE(EnterFileName(save, typed));
        EXPECT_TRUE(WaitForClosed(save));
        return WaitForFile(written);
    }

    // A click on the map that the program takes; afterwards every window the
    // click opened exists (the stand-in waits for the callback).
    void ClickTaken(double latitude, double longitude) {
        EXPECT_EQ(ClickMap(latitude, longitude), 1) << latitude << ", " << longitude;
    }

    bool NoMineInfo() const { return FindWindowOf(m_vemra->Id(), "Mine Info") == nullptr; }
};

TEST_F(VemraProgram, StartsWithItsDataFileAndLooksUpMapClicks) {
    // Shows: the dialog after start-up with a data file on the command line
    // and the stand-in running (texts, name, sensitivity 0.001, capture on,
    // "Save Image" greyed, the library asked only whether OziExplorer runs
    // and for clicks); a click beside every mine shows nothing; a click on a
    // mine opens "Mine Info" naming it, the first mine within the
    // sensitivity winning; a sensitivity typed is used at the next click;
    // Stop and Start; the About box from its button and the system menu;
    // Exit closes the library and ends the program. Cannot show: what the
    // "Mine Info" pages show (their own tests).
    E2E_REQUIRE_VEMRA();
    const HWND dialog = StartWithStandardMines();
    ASSERT_NE(dialog, nullptr);
    const DWORD pid = m_vemra->Id();

    EXPECT_EQ(WindowText(dialog), "Vemra");
    EXPECT_TRUE(ShowsText(dialog, "Mine Data Source"));
    EXPECT_TRUE(ShowsText(dialog, "Data File:"));
    EXPECT_TRUE(ShowsText(dialog, "Sensitivity:"));
    EXPECT_EQ(ControlText(dialog, IDC_BROWSE), "Browse for different data file");
    EXPECT_EQ(ControlText(dialog, IDC_LOAD_NEW_DATA_FILE), "Load New Data File");
    EXPECT_EQ(ControlText(dialog, IDC_ABOUT), "About");
    EXPECT_EQ(ControlText(dialog, IDC_EXIT), "Exit");
    const DialogState state = ReadDialog(dialog);
    EXPECT_EQ(state.dataFile, "mines.csv");
    EXPECT_EQ(state.sensitivity, "0.001");
    EXPECT_EQ(state.startStop, "Stop");
    EXPECT_TRUE(MessageBoxes(pid).empty());

    // Wine keeps menus per process, so the running program's menus cannot
    // be read from here: the templates are read from its file. (Choosing
    // from the menu bar by posted keys works only now and then without a
    // window manager.) The first four commands stand as they always stood;
    // the waypoint exports follow a separator.
    const std::vector<MenuItem> fileMenu{
        {ID_FILE_EXPORT_POINT_FILE, "Save mine data as Ozi pnt file", false},
        {ID_FILE_EXPORT_MAP_POINT_FILE, "Save current mine data for loaded map as Ozi pnt file",
         false},
        {ID_FILE_EXPORT_ARCHIVE, "Save mine data as Vemra dat file", false},
        {ID_FILE_SAVE_IMAGE, "Save Image", true},
        {0, "", false},
        {ID_FILE_EXPORT_GPX, "Save mine data as GPX file", false},
        {ID_FILE_EXPORT_MAP_GPX, "Save current mine data for loaded map as GPX file", false},
        {ID_FILE_EXPORT_KML, "Save mine data as KML file", false},
        {ID_FILE_EXPORT_MAP_KML, "Save current mine data for loaded map as KML file", false},
        {ID_FILE_EXPORT_WAYPOINTS, "Save mine data as Ozi wpt file", false},
        {ID_FILE_EXPORT_MAP_WAYPOINTS, "Save current mine data for loaded map as Ozi wpt file",
         false},
    };
    EXPECT_EQ(TemplateFileMenu(Work("Vemra.exe")), fileMenu);
    EXPECT_EQ(TemplateString(Work("Vemra.exe"), IDS_ABOUTBOX), "&About Vemra...");
    EXPECT_EQ(CallLog(),
              (std::vector<std::string>{"oziFindOzi -> 0", "oziMapSingleClickON callback -> 1"}));

    // Beside every mine: nothing.
    ClickTaken(39.0, -120.0);
    EXPECT_TRUE(NoMineInfo());
    EXPECT_TRUE(MessageBoxes(pid).empty());

    // "Copper Queen" lies within 0.001 of "Golden Eagle", which comes first.
    ClickTaken(40.0004, -116.0004);
    HWND info = WaitForMineInfo(*m_vemra);
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(WaitFor([&] { return ShowsText(info, "Golden Eagle"); }));

    // A smaller sensitivity, typed and used without any button.
    SetControlText(dialog, IDC_SENSITIVITY, "0.0001");
    ClickTaken(40.0004, -116.0004);
    info = WaitForMineInfo(*m_vemra);
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(WaitFor([&] { return ShowsText(info, "Copper Queen"); }));
    SetControlText(dialog, IDC_SENSITIVITY, "0.001");

    // Stop: the library no longer sends clicks to the program.
    PressButton(dialog, IDC_START_STOP);
    EXPECT_TRUE(WaitFor([&] { return ControlText(dialog, IDC_START_STOP) == "Start"; }));
    EXPECT_EQ(ClickMap(38.5, -117.25), 0);
    PressButton(dialog, IDC_START_STOP);
    EXPECT_TRUE(WaitFor([&] { return ControlText(dialog, IDC_START_STOP) == "Stop"; }));
    ClickTaken(38.5, -117.25);
    EXPECT_TRUE(WaitFor([&] { return ShowsText(WaitForMineInfo(*m_vemra), "Silver King"); }));
    EXPECT_EQ(
        LogLinesStartingWith(CallLog(), "oziMapSingle"),
        (std::vector<std::string>{"oziMapSingleClickON callback -> 1", "oziMapSingleClickOFF -> 1",
                                  "oziMapSingleClickON callback -> 1"}));

    // The About box, from the button and from the system menu.
    for (const bool fromSystemMenu : {false, true}) {
        if (fromSystemMenu) {
            PostSysCommand(dialog, IDM_ABOUTBOX);
        } else {
            PressButton(dialog, IDC_ABOUT);
        }
        const HWND about = WaitForWindowOf(pid, "About Vemra", "#32770");
        ASSERT_NE(about, nullptr) << (fromSystemMenu ? "system menu" : "button");
        EXPECT_TRUE(ShowsText(about, "Vemra Version 1.0"));
        EXPECT_EQ(ControlText(about, IDOK), "OK");
        PressButton(about, IDOK);
        EXPECT_TRUE(WaitForClosed(about));
    }

    PressButton(dialog, IDC_EXIT);
    const auto exitCode = m_vemra->WaitForExit();
    ASSERT_TRUE(exitCode.has_value()) << "Exit did not end the program";
    EXPECT_EQ(*exitCode, 0u);
    const std::vector<std::string> log = CallLog();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "oziCloseApi -> 1");
}

TEST_F(VemraProgram, ChecksTheSensitivityAndLoadsOtherDataFiles) {
    // Shows: "Browse for different data file" checks the sensitivity first
    // with the framework's messages (a number; between 0 and 1) and opens
    // the file dialog all the same; a chosen file is named, not loaded;
    // "Load New Data File" loads the named file, also a name typed by hand;
    // a missing comma-separated file gives only the loader's message, a
    // missing archive its file error and "Error loading Mine data"; either
    // way the mines loaded before stay. Cannot show: the wording of the
    // system's file error texts.
    E2E_REQUIRE_VEMRA();
    const HWND dialog = StartWithStandardMines();
    ASSERT_NE(dialog, nullptr);
    WriteMinesCsv("other.csv", {{20001, "Bonanza Pit", "41.5", "-119.5", "NV", "Gold"},
                                {20002, "Red Rock Quarry", "43.25", "-114.75", "ID", "Stone"}});

    // Not a number: the message, then the file dialog; confirmed, the box
    // shows the last valid sensitivity again.
    SetControlText(dialog, IDC_SENSITIVITY, "abc");
    PressButton(dialog, IDC_BROWSE);
    MessageBoxInfo box = AnswerNextBox();
    EXPECT_EQ(box.caption, "Vemra");
    EXPECT_EQ(box.text, "Please enter a number.");
    HWND open = WaitForFileDialog("Open Mine Data File");
    ASSERT_NE(open, nullptr);
    ASSERT_TRUE(EnterFileName(open, Work("other.csv")));
    EXPECT_TRUE(WaitForClosed(open));
    EXPECT_TRUE(WaitFor([&] { return ControlText(dialog, IDC_DATA_FILE) == Work("other.csv"); }));
    EXPECT_EQ(ControlText(dialog, IDC_SENSITIVITY), "0.001");

    // Browsing alone loads nothing: the old mines answer clicks.
    ClickTaken(38.5, -117.25);
    ASSERT_NE(WaitForMineInfo(*m_vemra), nullptr);
    EXPECT_TRUE(ShowsText(WaitForMineInfo(*m_vemra), "Silver King"));

    // Out of range: the message, then the file dialog; cancelled, the text
    // stays.
    SetControlText(dialog, IDC_SENSITIVITY, "5");
    PressButton(dialog, IDC_BROWSE);
    box = AnswerNextBox();
    EXPECT_EQ(box.caption, "Vemra");
    EXPECT_EQ(box.text, "Please enter a number between 0 and 1.");
    open = WaitForFileDialog("Open Mine Data File");
    ASSERT_NE(open, nullptr);
    PressButton(open, IDCANCEL);
    EXPECT_TRUE(WaitForClosed(open));
    EXPECT_EQ(ControlText(dialog, IDC_SENSITIVITY), "5");
    EXPECT_EQ(ControlText(dialog, IDC_DATA_FILE), Work("other.csv"));
    SetControlText(dialog, IDC_SENSITIVITY, "0.001");

    // The chosen file, loaded.
    ASSERT_TRUE(PressButtonAndWait(dialog, IDC_LOAD_NEW_DATA_FILE));
    ClickTaken(41.5, -119.5);
    EXPECT_TRUE(WaitFor([&] { return ShowsText(WaitForMineInfo(*m_vemra), "Bonanza Pit"); }));
    EXPECT_TRUE(MessageBoxes(m_vemra->Id()).empty());
    ClickTaken(38.5, -117.25);  // a mine of the first file: gone
    EXPECT_TRUE(ShowsText(WaitForMineInfo(*m_vemra), "Bonanza Pit"));

    // A missing comma-separated file, typed by hand: one message; the
    // mines stay.
    SetControlText(dialog, IDC_DATA_FILE, "nosuch.csv");
    PressButton(dialog, IDC_LOAD_NEW_DATA_FILE);
    box = AnswerNextBox();
    EXPECT_EQ(box.caption, "Vemra");
    EXPECT_EQ(box.text, "Error opening file: 'nosuch.csv'");
    ClickTaken(43.25, -114.75);
    EXPECT_TRUE(WaitFor([&] { return ShowsText(WaitForMineInfo(*m_vemra), "Red Rock Quarry"); }));
    EXPECT_TRUE(MessageBoxes(m_vemra->Id()).empty()) << "a second message after a missing file";

    // A missing archive: its file error, then "Error loading Mine data".
    SetControlText(dialog, IDC_DATA_FILE, "nosuch.dat");
    PressButton(dialog, IDC_LOAD_NEW_DATA_FILE);
    box = AnswerNextBox();
    EXPECT_EQ(box.caption, "Vemra");
    EXPECT_NE(box.text.find("nosuch.dat"), std::string::npos) << box.text;
    box = AnswerNextBox();
    EXPECT_EQ(box.caption, "Vemra");
    EXPECT_EQ(box.text, "Error loading Mine data");
    ClickTaken(41.5, -119.5);
    EXPECT_TRUE(WaitFor([&] { return ShowsText(WaitForMineInfo(*m_vemra), "Bonanza Pit"); }));
    EXPECT_TRUE(MessageBoxes(m_vemra->Id()).empty());

    // The typed name stays in the box for the next try.
    EXPECT_EQ(ControlText(dialog, IDC_DATA_FILE), "nosuch.dat");
    EXPECT_EQ(ControlText(dialog, IDC_START_STOP), "Stop");
}

TEST_F(VemraProgram, LoadsAndSavesInAFolderNamedInGreekAndJapanese) {
    // Shows: in a folder whose name no ANSI code page holds, a data file
    // chosen with "Browse for different data file" loads with "Load New
    // Data File"; the point file and the archive save there through their
    // dialogs, with the exact bytes; the archive, its name typed into the
    // box, loads again. Cannot show: the file dialogs of a real Windows
    // (Wine's own stand in for them).
    E2E_REQUIRE_VEMRA();
    const HWND dialog = StartWithStandardMines();
    ASSERT_NE(dialog, nullptr);
    const std::string folderName =
        "\u039C\u03B5\u03C4\u03B1\u03BB\u03BB\u03B5\u03AF\u03B1 \u9271\u5C71";
    const std::string folder = Work(folderName);
    ASSERT_TRUE(CreateFolder(folder));
    const std::vector<TestMine> mines = {
        {20001, "Bonanza Pit", "41.5", "-119.5", "NV", "Gold"},
        {20002, "Red Rock Quarry", "43.25", "-114.75", "ID", "Stone"}};
    const std::string dataFileName =
        JoinPath(folderName, "\u03BF\u03C1\u03C5\u03C7\u03B5\u03AF\u03B1.csv");
    WriteMinesCsv(dataFileName, mines);
    const std::string dataFile = Work(dataFileName);

    PressButton(dialog, IDC_BROWSE);
    const HWND open = WaitForFileDialog("Open Mine Data File");
    ASSERT_NE(open, nullptr);
    ASSERT_TRUE(EnterFileName(open, dataFile));
    EXPECT_TRUE(WaitForClosed(open));
    EXPECT_TRUE(WaitFor([&] { return ControlText(dialog, IDC_DATA_FILE) == dataFile; }));
    ASSERT_TRUE(PressButtonAndWait(dialog, IDC_LOAD_NEW_DATA_FILE));
    ClickTaken(41.5, -119.5);
    EXPECT_TRUE(WaitFor([&] { return ShowsText(WaitForMineInfo(*m_vemra), "Bonanza Pit"); }));
    EXPECT_TRUE(MessageBoxes(m_vemra->Id()).empty());

    std::string points = PointFileHeader();
    for (const TestMine& mine : mines) {
        points += PointLine(mine);
    }
    const std::string pointFile = JoinPath(folder, "\u70B9");
    const auto pointBytes =
        SaveThroughDialog(dialog, ID_FILE_EXPORT_POINT_FILE, "Ozi Point File Name", "point.pnt",
                          pointFile, pointFile + ".pnt");
    ASSERT_TRUE(pointBytes.has_value());
    EXPECT_EQ(*pointBytes, points);

    const std::string archive = JoinPath(folder, "\u9271\u5C71.dat");
    const auto archiveBytes = SaveThroughDialog(
        dialog, ID_FILE_EXPORT_ARCHIVE, "Vemra Data File Name", "mrds.dat", archive, archive);
    ASSERT_TRUE(archiveBytes.has_value());
    EXPECT_EQ(*archiveBytes, ArchiveOf(mines));
    // Loaded without a message (a failed load would wait in its box).
    SetControlText(dialog, IDC_DATA_FILE, archive);
    ASSERT_TRUE(PressButtonAndWait(dialog, IDC_LOAD_NEW_DATA_FILE));
    ClickTaken(43.25, -114.75);
    EXPECT_TRUE(WaitFor([&] { return ShowsText(WaitForMineInfo(*m_vemra), "Red Rock Quarry"); }));
    EXPECT_TRUE(MessageBoxes(m_vemra->Id()).empty());
}

TEST_F(VemraProgram, WritesPointFilesOfAllMinesAndOfTheMapsMines) {
    // Shows: both point-file commands through their save dialog (offered
    // name, default extension, a path longer than 127 characters), the
    // exact bytes written, and that the map export asks the library about
    // every mine, in order, and writes only those on the map. Cannot show:
    // that the real OziExplorer reads the file (its format is checked by
    // the point file's unit tests).
    E2E_REQUIRE_VEMRA();
    const HWND dialog = StartWithStandardMines();
    ASSERT_NE(dialog, nullptr);

    std::string all = PointFileHeader();
    std::string onMap = PointFileHeader();
    for (const TestMine& mine : StandardMines()) {
        all += PointLine(mine);
        if (OnTestMap(mine)) {
            onMap += PointLine(mine);
        }
    }
    ASSERT_NE(all, onMap) << "the test data need a mine off the map";

    // A name without extension gets ".pnt".
    auto bytes = SaveThroughDialog(dialog, ID_FILE_EXPORT_POINT_FILE, "Ozi Point File Name",
                                   "point.pnt", Work("all"), Work("all.pnt"));
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, all);
    EXPECT_TRUE(LogLinesStartingWith(CallLog(), "oziIsPositionOnMap").empty());

    const std::string longPath = LongPathStem(WorkDir(), "onmap") + ".pnt";
    ASSERT_GT(longPath.size(), 127u);
    bytes = SaveThroughDialog(dialog, ID_FILE_EXPORT_MAP_POINT_FILE, "Ozi Point File Name",
                              "point.pnt", longPath, longPath);
    ASSERT_TRUE(bytes.has_value()) << longPath;
    EXPECT_EQ(*bytes, onMap);
    EXPECT_EQ(LogLinesStartingWith(CallLog(), "oziIsPositionOnMap"), MapQuestions());
    EXPECT_TRUE(MessageBoxes(m_vemra->Id()).empty());
}

// The waypoints a file of that format holds: its <wpt> or <Placemark>
// elements, or the lines after the waypoint file's four header lines.
std::size_t WaypointCount(const std::string& leaf, const std::string& bytes) {
    const auto count = [&](const std::string& what) {
        std::size_t n = 0;
        for (std::size_t at = bytes.find(what); at != std::string::npos;
             at = bytes.find(what, at + 1)) {
            ++n;
        }
        return n;
    };
    if (leaf.ends_with(".gpx")) {
        return count("<wpt ");
    }
    if (leaf.ends_with(".kml")) {
        return count("<Placemark");
    }
    const std::size_t lines = count("\r\n");
    return lines >= 4 ? lines - 4 : 0;
}

TEST_F(VemraProgram, WritesWaypointFilesOfAllMinesAndOfTheMapsMines) {
    // Shows: each waypoint command through its save dialog (offered name,
    // default extension) writes all mines, or, for the loaded map, asks the
    // library about every mine in order as the point file does and takes
    // exactly those it reports on the map; with no mine on the map the file
    // holds none and nothing is said. The files are left for
    // read_back_exports.py (e2e.read_back_exports), where GPSBabel, ogrinfo
    // and xmllint read them. Cannot show: a real GPS unit or Google Earth.
    E2E_REQUIRE_VEMRA();
    const HWND dialog = StartWithStandardMines();
    ASSERT_NE(dialog, nullptr);

    struct WaypointCommand {
        int command;
        const char* title;
        const char* offered;
        const char* leaf;
        bool onMap;
    };
    const std::vector<WaypointCommand> commands{
        {ID_FILE_EXPORT_GPX, "GPX File Name", "mines.gpx", "all.gpx", false},
        {ID_FILE_EXPORT_MAP_GPX, "GPX File Name", "mines.gpx", "map.gpx", true},
        {ID_FILE_EXPORT_KML, "KML File Name", "mines.kml", "all.kml", false},
        {ID_FILE_EXPORT_MAP_KML, "KML File Name", "mines.kml", "map.kml", true},
        {ID_FILE_EXPORT_WAYPOINTS, "Ozi Waypoint File Name", "mines.wpt", "all.wpt", false},
        {ID_FILE_EXPORT_MAP_WAYPOINTS, "Ozi Waypoint File Name", "mines.wpt", "map.wpt", true},
    };
    for (const WaypointCommand& command : commands) {
        // Nothing of an earlier run may be read back.
        DeleteFileA(KeptPath(command.leaf).c_str());
        DeleteFileA((KeptPath(command.leaf) + ".expected").c_str());
    }
    for (const WaypointCommand& command : commands) {
        SCOPED_TRACE(command.leaf);
        DeleteFileA(LogPath().c_str());
        const std::string leaf = command.leaf;
        const std::string stem = leaf.substr(0, leaf.find('.'));
        const auto bytes = SaveThroughDialog(dialog, command.command, command.title,
                                             command.offered, Work(stem), Work(leaf));
        ASSERT_TRUE(bytes.has_value());
        EXPECT_TRUE(MessageBoxes(m_vemra->Id()).empty());

        // The mines the stand-in reported on its map, from its answers.
        const std::vector<std::string> asked =
            LogLinesStartingWith(CallLog(), "oziIsPositionOnMap");
        std::vector<TestMine> expected;
        if (command.onMap) {
            ASSERT_EQ(asked, MapQuestions());
            for (std::size_t i = 0; i < asked.size(); ++i) {
                if (asked[i].ends_with("-> 1")) {
                    expected.push_back(StandardMines()[i]);
                }
            }
            ASSERT_LT(expected.size(), StandardMines().size())
                << "the test needs a mine off the map";
        } else {
            EXPECT_TRUE(asked.empty());
            expected = StandardMines();
        }
        EXPECT_EQ(WaypointCount(leaf, *bytes), expected.size());
        KeepForReaders(leaf, *bytes, expected);
    }

    // No mine on the map: a file without waypoints, and no message.
    WriteMinesCsv("far.csv", {StandardMines()[4]});
    ASSERT_FALSE(OnTestMap(StandardMines()[4]));
    SetControlText(dialog, IDC_DATA_FILE, "far.csv");
    ASSERT_TRUE(PressButtonAndWait(dialog, IDC_LOAD_NEW_DATA_FILE));
    const auto none = SaveThroughDialog(dialog, ID_FILE_EXPORT_MAP_GPX, "GPX File Name",
                                        "mines.gpx", Work("none"), Work("none.gpx"));
    ASSERT_TRUE(none.has_value());
    EXPECT_EQ(WaypointCount("none.gpx", *none), 0u);
    EXPECT_TRUE(MessageBoxes(m_vemra->Id()).empty());
}

TEST_F(VemraProgram, WritesAnArchiveThatLoadsAgainAndSurvivesDamage) {
    // Shows: the archive command through its save dialog (offered name,
    // default extension, a path longer than 127 characters) writes the exact
    // bytes; the program started with that archive finds its mines; started
    // with a damaged archive it reports the damage, keeps the complete
    // records and still comes up whole: name, sensitivity, capture on.
    // Cannot show: an error escaping the loader at start by other means (a
    // read error inside a comma-separated file cannot be provoked here).
    E2E_REQUIRE_VEMRA();
    const HWND dialog = StartWithStandardMines();
    ASSERT_NE(dialog, nullptr);

    std::vector<std::size_t> recordEnds;
    const std::string expected = ArchiveOf(StandardMines(), &recordEnds);
    const std::string stem = LongPathStem(WorkDir(), "mines");
    const std::string archive = stem + ".dat";
    ASSERT_GT(archive.size(), 127u);
    const auto bytes = SaveThroughDialog(dialog, ID_FILE_EXPORT_ARCHIVE, "Vemra Data File Name",
                                         "mrds.dat", stem, archive);
    ASSERT_TRUE(bytes.has_value()) << archive;
    EXPECT_EQ(*bytes, expected);
    PressButton(dialog, IDC_EXIT);
    ASSERT_TRUE(m_vemra->WaitForExit().has_value());

    // Loaded again.
    DeleteFileA(LogPath().c_str());
    HWND again = WaitForMainDialog(StartVemra({archive}));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(ControlText(again, IDC_DATA_FILE), archive);
    EXPECT_TRUE(MessageBoxes(m_vemra->Id()).empty());
    ClickTaken(44.0, -115.0);
    EXPECT_TRUE(WaitFor([&] { return ShowsText(WaitForMineInfo(*m_vemra), "Lonely Butte"); }));
    PressButton(again, IDC_EXIT);
    ASSERT_TRUE(m_vemra->WaitForExit().has_value());

    // Cut inside the fourth record: three mines survive.
    ASSERT_TRUE(WriteFileBytes(Work("damaged.dat"), bytes->substr(0, recordEnds[2] + 20)));
    DeleteFileA(LogPath().c_str());
    Process& damaged = StartVemra({"damaged.dat"});
    const MessageBoxInfo box = AnswerNextBox();
    ASSERT_TRUE(box) << "no report of the damage";
    EXPECT_EQ(box.caption, "Vemra");
    EXPECT_NE(box.text.find("damaged.dat"), std::string::npos) << box.text;
    EXPECT_NE(box.text.find("3 mines"), std::string::npos) << box.text;
    const HWND whole = WaitForMainDialog(damaged);
    ASSERT_NE(whole, nullptr);
    const DialogState state = ReadDialog(whole);
    EXPECT_EQ(state.dataFile, "damaged.dat");
    EXPECT_EQ(state.sensitivity, "0.001");
    EXPECT_EQ(state.startStop, "Stop");
    EXPECT_EQ(CallLog(),
              (std::vector<std::string>{"oziFindOzi -> 0", "oziMapSingleClickON callback -> 1"}));
    ClickTaken(38.5, -117.25);
    EXPECT_TRUE(WaitFor([&] { return ShowsText(WaitForMineInfo(*m_vemra), "Silver King"); }));
    ClickTaken(42.25, -118.75);  // the fourth mine: lost
    EXPECT_TRUE(ShowsText(WaitForMineInfo(*m_vemra), "Silver King"));
    EXPECT_TRUE(MessageBoxes(m_vemra->Id()).empty());
}

TEST_F(VemraProgram, RefusesAMissingOrIncompleteLibrary) {
    // Shows: without oziapi.dll, and with one that lacks oziSaveMapImage, the
    // program says "Error loading OziAPI.dll", shows no main window, calls
    // no function of the library and ends. Cannot show: a library that
    // exists but cannot be loaded for another reason.
    E2E_REQUIRE_VEMRA();
    WriteMinesCsv("mines.csv", StandardMines());
    ASSERT_NE(StartOziExp(), nullptr);
    for (const bool present : {false, true}) {
        const char* situation = present ? "lacking a function" : "absent";
        DeleteFileA(Work("oziapi.dll").c_str());
        InstallVemra(present ? OziApiNoSaveDll() : std::string());
        Process& vemra = StartVemra({"mines.csv"});
        const MessageBoxInfo box = AnswerNextBox();
        ASSERT_TRUE(box) << situation;
        EXPECT_EQ(box.caption, "Vemra") << situation;
        EXPECT_EQ(box.text, "Error loading OziAPI.dll") << situation;
        EXPECT_EQ(vemra.WaitForExit(), std::optional<DWORD>(0)) << situation;
        EXPECT_EQ(FindWindowOf(vemra.Id(), "Vemra"), nullptr) << situation;
    }
    EXPECT_EQ(CallLog(), std::vector<std::string>{}) << "no function may be called";
}

TEST_F(VemraProgram, ComesUpAfterAMissingDataFileAndEndsByEveryWayOut) {
    // Shows: a missing comma-separated file at start gives one message with
    // its name, then the dialog with capture on and no mines; Enter,
    // Escape and the close box end the program like "Exit", each closing
    // the library. Cannot show: focus and activation (no window manager).
    E2E_REQUIRE_VEMRA();
    InstallVemra(OziApiDll());
    ASSERT_NE(StartOziExp(), nullptr);

    struct WayOut {
        const char* name;
        std::function<void(HWND)> take;
    };
    const std::vector<WayOut> waysOut{
        {"Enter", [](HWND dialog) { PressKey(dialog, VK_RETURN); }},
        {"Escape", [](HWND dialog) { PressKey(dialog, VK_ESCAPE); }},
        {"close box", [](HWND dialog) { PostSysCommand(dialog, SC_CLOSE); }},
    };
    for (const WayOut& way : waysOut) {
        DeleteFileA(LogPath().c_str());
        Process& vemra = StartVemra({"missing.csv"});
        const MessageBoxInfo box = AnswerNextBox();
        ASSERT_TRUE(box) << way.name;
        EXPECT_EQ(box.caption, "Vemra");
        EXPECT_EQ(box.text, "Error opening file: 'missing.csv'");
        const HWND dialog = WaitForMainDialog(vemra);
        ASSERT_NE(dialog, nullptr) << way.name;
        const DialogState state = ReadDialog(dialog);
        EXPECT_EQ(state.dataFile, "missing.csv");
        EXPECT_EQ(state.sensitivity, "0.001");
        EXPECT_EQ(state.startStop, "Stop");
        EXPECT_TRUE(MessageBoxes(vemra.Id()).empty()) << way.name;
        ClickTaken(38.5, -117.25);  // no mines: nothing
        EXPECT_EQ(FindWindowOf(vemra.Id(), "Mine Info"), nullptr);

        way.take(dialog);
        EXPECT_EQ(vemra.WaitForExit(), std::optional<DWORD>(0)) << way.name;
        EXPECT_EQ(CallLog(), (std::vector<std::string>{
                                 "oziFindOzi -> 0", "oziMapSingleClickON callback -> 1",
                                 "callback 1 300 450 38.500000 -117.250000", "oziCloseApi -> 1"}))
            << way.name;
    }
}

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.find_last_of('\\'));
}

TEST_F(VemraProgram, OffersToStartOziExplorerWhenItDoesNotRun) {
    // Shows: without a running OziExplorer the program asks; "No" ends it;
    // "Yes" without a usable registry "Path" (none, one that fills the
    // 512-byte buffer, one without room for "\OziExp.exe", one without a
    // terminator although it names the right folder) gives the start
    // warning and ends it without a crash and without starting anything;
    // "Yes" with "Path" naming the stand-in's folder starts it, waits for it
    // and comes up with capture on. Cannot show: the start-error message with
    // the system's reason (the stand-in always starts).
    E2E_REQUIRE_VEMRA();
    InstallVemra(OziApiDll());
    WriteMinesCsv("mines.csv", StandardMines());
    const std::string standInFolder = FolderOf(OziExpExe());
    ASSERT_FALSE(FileExists(Work("OziExp.exe")));

    const auto expectQuestion = [&](Process& vemra) {
        const MessageBoxInfo question = WaitForMessageBox(vemra.Id());
        EXPECT_EQ(question.caption, "Warning");
        EXPECT_EQ(question.text, "Can't find OziExplorer.\n\nAttempt to start it?");
        EXPECT_NE(GetDlgItem(question.window, IDYES), nullptr);
        EXPECT_NE(GetDlgItem(question.window, IDNO), nullptr);
        return question;
    };
    const auto expectEnded = [&](Process& vemra, const char* situation) {
        const auto exitCode = vemra.WaitForExit();
        ASSERT_TRUE(exitCode.has_value()) << situation;
        EXPECT_EQ(*exitCode, 0u) << situation;
        EXPECT_EQ(FindOziMapWindow(), nullptr) << situation;
    };

    {
        Process& vemra = StartVemra({"mines.csv"});
        const MessageBoxInfo question = expectQuestion(vemra);
        ASSERT_TRUE(question);
        AnswerMessageBox(question, IDNO);
        expectEnded(vemra, "answered No");
        EXPECT_TRUE(TopLevelWindows(vemra.Id()).empty());
    }

    struct BadPath {
        const char* situation;
        bool set;
        std::string bytes;
        DWORD type;
    };
    const std::vector<BadPath> badPaths{
        {"no registry value", false, "", REG_SZ},
        {"a value filling the buffer", true, std::string(511, 'a') + '\0', REG_SZ},
        {"no room for the file name", true, "C:\\" + std::string(500, 'b') + '\0', REG_SZ},
        {"no terminator", true, standInFolder, REG_BINARY},
    };
    for (const BadPath& bad : badPaths) {
        if (bad.set) {
            ASSERT_TRUE(SetRawOziExplorerPath(bad.bytes, bad.type)) << bad.situation;
        }
        Process& vemra = StartVemra({"mines.csv"});
        const MessageBoxInfo question = expectQuestion(vemra);
        ASSERT_TRUE(question) << bad.situation;
        AnswerMessageBox(question, IDYES);
        ASSERT_TRUE(WaitForClosed(question.window));
        const MessageBoxInfo warning = WaitForMessageBox(vemra.Id());
        ASSERT_TRUE(warning) << bad.situation;
        EXPECT_EQ(warning.caption, "WARNING") << bad.situation;
        EXPECT_EQ(warning.text,
                  "Can't start OziExplorer. Please try to\nstart it manually, then try this "
                  "utility again")
            << bad.situation;
        AnswerMessageBox(warning, IDOK);
        expectEnded(vemra, bad.situation);
    }

    // The stand-in's folder: started, waited for, capture on.
    DeleteFileA(LogPath().c_str());
    ASSERT_TRUE(SetOziExplorerPath(standInFolder));
    Process& vemra = StartVemra({"mines.csv"});
    const MessageBoxInfo question = expectQuestion(vemra);
    ASSERT_TRUE(question);
    AnswerMessageBox(question, IDYES);
    EXPECT_NE(WaitFor([] { return FindOziMapWindow(); }), nullptr);
    const HWND dialog = WaitForMainDialog(vemra, 40000);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(MessageBoxes(vemra.Id()).empty());
    EXPECT_EQ(ReadDialog(dialog).startStop, "Stop");
    const std::vector<std::string> log = CallLog();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log.front(), "oziFindOzi -> -1");
    EXPECT_EQ(log[log.size() - 2], "oziFindOzi -> 0");
    EXPECT_EQ(log.back(), "oziMapSingleClickON callback -> 1");
    ClickTaken(38.5, -117.25);  // the stand-in's own map box holds this mine
    EXPECT_TRUE(WaitFor([&] { return ShowsText(WaitForMineInfo(vemra), "Silver King"); }));
}

TEST_F(VemraProgram, StandInClicksItsMapFromTheCommandLine) {
    // Shows: `OziExp.exe --click LAT,LON` clicks the running stand-in's map:
    // exit code 0 and the program shows the mine; nonzero for a point off
    // the map, without a stand-in, and for a bad position, with no window
    // left waiting. Cannot show: anything about the real OziExplorer.
    E2E_REQUIRE_VEMRA();
    const auto clickByCommand = [&](const std::string& position) {
        Process click(OziExpExe(), {"--click", position}, WorkDir());
        EXPECT_TRUE(click.Started());
        return click.WaitForExit();
    };
    // Exit codes: 0 taken by the map, 1 off the map, 2 bad arguments, 3 no
    // stand-in.
    EXPECT_EQ(clickByCommand("40,-116"), std::optional<DWORD>(3));

    ASSERT_NE(StartWithStandardMines(), nullptr);
    EXPECT_EQ(clickByCommand("40.0,-116.0"), std::optional<DWORD>(0));
    const HWND info = WaitForMineInfo(*m_vemra);
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(WaitFor([&] { return ShowsText(info, "Golden Eagle"); }));
    EXPECT_EQ(LogLinesStartingWith(CallLog(), "callback"),
              (std::vector<std::string>{"callback 1 400 360 40.000000 -116.000000"}));

    EXPECT_EQ(clickByCommand("50,-117"), std::optional<DWORD>(1));
    // No message box waits for a script.
    EXPECT_EQ(clickByCommand("north"), std::optional<DWORD>(2));
    EXPECT_EQ(clickByCommand("40,-116,3"), std::optional<DWORD>(2));
    EXPECT_EQ(LogLinesStartingWith(CallLog(), "callback").size(), 1u);
}

}  // namespace
}  // namespace e2e
