// The stand-in OziExplorer and its library, driven from the test process
// itself (the library loaded here as Vemra loads it).

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

#include "ozilink/ozi_api_win.h"
#include "tests/e2e/image_check.h"
#include "tests/e2e/session_win.h"

namespace e2e {
namespace {

template <class Function>
Function Bind(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

class StandIn : public E2eTest {
protected:
    void SetUp() override {
        E2eTest::SetUp();
        m_library = LoadLibraryA(OziApiDll().c_str());
        ASSERT_NE(m_library, nullptr) << OziApiDll();
    }
    void TearDown() override {
        E2eTest::TearDown();
        if (m_library != nullptr) {
            FreeLibrary(m_library);
        }
    }
    HMODULE m_library = nullptr;
};

// A thread that switches capture on with `callback`, runs the message loop
// in which clicks reach it, and switches capture off when stopped, as the
// program's dialog thread does.
class CCaptureThread {
public:
    CCaptureThread(OziMapSingleClickONProc on, OziMapSingleClickOFFProc off,
                   OziMapClickCallback callback)
        : m_thread([this, on, off, callback] {
              MSG message;
              PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // a queue for WM_QUIT
              on(callback);
              m_nId = GetCurrentThreadId();
              while (GetMessageA(&message, nullptr, 0, 0) > 0) {
                  DispatchMessageA(&message);
              }
              off();
          }) {}
    CCaptureThread(const CCaptureThread&) = delete;
    CCaptureThread& operator=(const CCaptureThread&) = delete;
    ~CCaptureThread() { Stop(); }

    // True once capture is on.
    bool Started() const {
        return WaitFor([this] { return m_nId.load() != 0; });
    }
    DWORD Id() const { return m_nId.load(); }

    // Ends the loop, which switches capture off, and waits for the thread.
    void Stop() {
        if (m_thread.joinable()) {
            if (Started()) {
                PostThreadMessageA(m_nId.load(), WM_QUIT, 0, 0);
            }
            m_thread.join();
        }
    }

private:
    std::atomic<DWORD> m_nId{0};  // before the thread, which sets it
    std::thread m_thread;
};

struct ClickRecord {
    std::atomic<int> calls{0};
    std::atomic<DWORD> thread{0};
    int button = 0;
    int x = 0;
    int y = 0;
    double latitude = 0.0;
    double longitude = 0.0;
};
ClickRecord g_clicks;

void WINAPI RecordClick(int button, int x, int y, double latitude, double longitude, void*, double,
                        double) {
    g_clicks.button = button;
    g_clicks.x = x;
    g_clicks.y = y;
    g_clicks.latitude = latitude;
    g_clicks.longitude = longitude;
    g_clicks.thread = GetCurrentThreadId();
    ++g_clicks.calls;
}

TEST_F(StandIn, LibraryAnswersForTheMapWhileTheStandInRuns) {
    // Shows: oziFindOzi, oziIsPositionOnMap and oziGetMapDatum follow the
    // stand-in's map window and its box (edges included), and each call is
    // one line of the log, in whichever build (x86_64 or i686) runs.
    const auto find = Bind<OziFindOziProc>(m_library, "oziFindOzi");
    const auto onMap = Bind<OziIsPositionOnMapProc>(m_library, "oziIsPositionOnMap");
    const auto datum = Bind<OziGetMapDatumProc>(m_library, "oziGetMapDatum");
    ASSERT_TRUE(find && onMap && datum);

    EXPECT_EQ(find(), -1);
    EXPECT_EQ(onMap(40.0, -117.0), 0);
    ASSERT_NE(StartOziExp({"--box", "38,-121,46,-113"}), nullptr);
    EXPECT_EQ(find(), 0);
    EXPECT_EQ(onMap(40.0, -117.0), 1);
    EXPECT_EQ(onMap(38.0, -121.0), 1);
    EXPECT_EQ(onMap(37.999, -117.0), 0);
    EXPECT_EQ(onMap(40.0, -112.5), 0);
    char text[16] = "";
    EXPECT_EQ(datum(text, sizeof text), 1);
    EXPECT_STREQ(text, "WGS 84");

    const std::vector<std::string> expected{
        "oziFindOzi -> -1",
        "oziIsPositionOnMap 40.000000 -117.000000 -> 0",
        "oziFindOzi -> 0",
        "oziIsPositionOnMap 40.000000 -117.000000 -> 1",
        "oziIsPositionOnMap 38.000000 -121.000000 -> 1",
        "oziIsPositionOnMap 37.999000 -117.000000 -> 0",
        "oziIsPositionOnMap 40.000000 -112.500000 -> 0",
        "oziGetMapDatum 16 -> 1",
    };
    EXPECT_EQ(CallLog(), expected);
}

TEST_F(StandIn, ClickRunsTheCallbackOnTheThreadThatSwitchedCaptureOn) {
    // Shows: a click on the map, by command and by mouse, reaches the
    // callback with its position, on the thread that called
    // oziMapSingleClickON, before the click command returns; after
    // oziMapSingleClickOFF clicks reach nobody. Cannot show: the real
    // OziExplorer's pixel values x and y.
    const auto on = Bind<OziMapSingleClickONProc>(m_library, "oziMapSingleClickON");
    const auto off = Bind<OziMapSingleClickOFFProc>(m_library, "oziMapSingleClickOFF");
    ASSERT_TRUE(on && off);
    const HWND map = StartOziExp({"--box", "38,-121,46,-113"});
    ASSERT_NE(map, nullptr);

    CCaptureThread capture(on, off, RecordClick);
    ASSERT_TRUE(capture.Started());

    EXPECT_EQ(ClickMap(41.25, -117.5), 1);
    EXPECT_EQ(g_clicks.calls, 1);
    EXPECT_EQ(g_clicks.thread, capture.Id());
    EXPECT_EQ(g_clicks.button, 1);
    EXPECT_EQ(g_clicks.latitude, 41.25);
    EXPECT_EQ(g_clicks.longitude, -117.5);
    EXPECT_EQ(g_clicks.x, 280);  // (-117.5 + 121) / 8 * 640
    EXPECT_EQ(g_clicks.y, 285);  // (46 - 41.25) / 8 * 480
    EXPECT_EQ(ClickMap(50.0, -117.0), -1) << "a point off the map cannot be clicked";

    // A mouse click at the centre pixel (320, 240).
    PostMessageA(map, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(320, 240));
    ASSERT_TRUE(WaitFor([] { return g_clicks.calls == 2; }));
    EXPECT_EQ(g_clicks.thread, capture.Id());
    EXPECT_NEAR(g_clicks.latitude, 46.0 - 240.5 / 480 * 8, 1e-9);
    EXPECT_NEAR(g_clicks.longitude, -121.0 + 320.5 / 640 * 8, 1e-9);

    capture.Stop();
    EXPECT_EQ(ClickMap(41.25, -117.5), 0);
    EXPECT_EQ(g_clicks.calls, 2);

    const std::vector<std::string> log = CallLog();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0], "oziMapSingleClickON callback -> 1");
    EXPECT_EQ(log[1], "callback 1 280 285 41.250000 -117.500000");
    EXPECT_EQ(log[2], "callback 1 320 240 41.991667 -116.993750");
    EXPECT_EQ(log[3], "oziMapSingleClickOFF -> 1");
}

#if defined(__i386__)
std::atomic<int> g_cdeclClicks{0};
void __cdecl CountClickLeavingArguments(int, int, int, double, double, void*, double, double) {
    ++g_cdeclClicks;
}
#endif

TEST_F(StandIn, ThirtyTwoBitCallbackLeavingItsArgumentsIsLogged) {
    // Shows: the i686 library calls the callback as __stdcall and logs one
    // that leaves its 48 bytes of arguments on the stack (a __cdecl one),
    // which the real library's caller would not survive; the callbacks of
    // the other tests take them, since their logs have no such line.
#if !defined(__i386__)
    GTEST_SKIP() << "x86_64 has one calling convention";
#else
    const auto on = Bind<OziMapSingleClickONProc>(m_library, "oziMapSingleClickON");
    const auto off = Bind<OziMapSingleClickOFFProc>(m_library, "oziMapSingleClickOFF");
    ASSERT_TRUE(on && off);
    ASSERT_NE(StartOziExp({"--box", "38,-121,46,-113"}), nullptr);
    CCaptureThread capture(on, off,
                           reinterpret_cast<OziMapClickCallback>(&CountClickLeavingArguments));
    ASSERT_TRUE(capture.Started());
    EXPECT_EQ(ClickMap(41.25, -117.5), 1);
    capture.Stop();
    EXPECT_EQ(g_cdeclClicks, 1);
    EXPECT_EQ(CallLog(),
              (std::vector<std::string>{"oziMapSingleClickON callback -> 1",
                                        "callback 1 280 285 41.250000 -117.500000",
                                        "callback took 0 bytes of arguments off the stack, not 48",
                                        "oziMapSingleClickOFF -> 1"}));
#endif
}

TEST_F(StandIn, SavedMapImageIsTheSamePictureInPngAndBmp) {
    // Shows: oziSaveMapImage writes the map as a valid PNG (checked chunk by
    // chunk here) and a valid BMP holding the same pixels, a relative name
    // landing in the caller's current folder; other extensions are refused.
    // Cannot show: that the picture looks right (see the screenshots).
    const auto save = Bind<OziSaveMapImageProc>(m_library, "oziSaveMapImage");
    ASSERT_TRUE(save);
    ASSERT_NE(StartOziExp({"--box", "38,-121,46,-113"}), nullptr);
    ASSERT_TRUE(SetCurrentDirectoryA(WorkDir().c_str()));

    char png[] = "map.png";
    std::string bmpPath = Work("map.BMP");
    char gif[] = "map.gif";
    EXPECT_EQ(save(png), 1);
    EXPECT_EQ(save(bmpPath.data()), 1);
    EXPECT_EQ(save(gif), 0);
    EXPECT_FALSE(FileExists(Work("map.gif")));

    DecodedImage fromPng;
    DecodedImage fromBmp;
    std::string error;
    const std::optional<std::string> pngBytes = ReadFileBytes(Work("map.png"));
    const std::optional<std::string> bmpBytes = ReadFileBytes(bmpPath);
    ASSERT_TRUE(pngBytes && bmpBytes);
    ASSERT_TRUE(DecodeStoredPng(*pngBytes, fromPng, error)) << error;
    ASSERT_TRUE(DecodeBmp24(*bmpBytes, fromBmp, error)) << error;
    EXPECT_EQ(fromPng.width, 640);
    EXPECT_EQ(fromPng.height, 480);
    EXPECT_EQ(fromBmp.width, 640);
    EXPECT_EQ(fromBmp.height, 480);
    EXPECT_TRUE(fromPng.rgb == fromBmp.rgb);

    std::set<std::uint32_t> colours;
    for (std::size_t i = 0; i + 2 < fromPng.rgb.size(); i += 3) {
        colours.insert((std::uint32_t{fromPng.rgb[i]} << 16) | (fromPng.rgb[i + 1] << 8) |
                       fromPng.rgb[i + 2]);
    }
    EXPECT_GE(colours.size(), 3u) << "background, grid and labels";

    const std::vector<std::string> log = CallLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0], "oziSaveMapImage map.png -> 1");
    EXPECT_EQ(log[2], "oziSaveMapImage map.gif -> 0");
}

}  // namespace
}  // namespace e2e
