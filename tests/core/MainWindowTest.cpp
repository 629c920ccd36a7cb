// The main window over the headless platform: styles, size and place, the
// cursor, and the window procedure's message table.
#include <gtest/gtest.h>

#include "engine/core/MainWindowProc.h"
#include "engine/core/MessagePump.h"
#include "engine/text_input/TextInput.h"
#include "tests/core/EngineFixture.h"

namespace {

using enginetest::EngineFixture;
using enginetest::FindLine;
using WindowTest = EngineFixture;

int Width(const port::WindowRect& r) { return r.right - r.left; }
int Height(const port::WindowRect& r) { return r.bottom - r.top; }

TEST_F(WindowTest, WindowedClientIsTheScreenSizeAndTheWindowIsCentred) {
  SettingsOfTheGame(1);
  ASSERT_EQ(StartupEngine(), 0);

  const auto created = headless::WindowCallsNamed("CreateWindowExA");
  ASSERT_EQ(created.size(), 1u);
  EXPECT_EQ(created[0].text, "ほのみかさ|ほのみかさ");
  EXPECT_EQ(created[0].args[0], 0x300);
  EXPECT_EQ(created[0].args[1], 0x80CA0000);

  const headless::WindowView view = headless::InspectWindow(mainWindow);
  EXPECT_EQ(view.style, 0x80CA0000u | port::WS_VISIBLE);
  EXPECT_EQ(view.exStyle, 0x300u);
  EXPECT_EQ(Width(view.client), 800);
  EXPECT_EQ(Height(view.client), 600);
  EXPECT_EQ(view.rect.left, (1920 - Width(view.rect)) / 2);
  EXPECT_EQ(view.rect.top, (1080 - Height(view.rect)) / 2);
  EXPECT_FALSE(view.topmost);

  // The recorded client area follows the window.
  EXPECT_EQ(mainWindowState.clientTopLeft.x, view.client.left);
  EXPECT_EQ(mainWindowState.clientTopLeft.y, view.client.top);
  EXPECT_EQ(mainWindowState.clientBottomRight.x, view.client.right);
  EXPECT_EQ(mainWindowState.desktopColorBits, 32);
  EXPECT_GE(headless::CursorDisplayCount(), 0);
}

TEST_F(WindowTest, WindowLargerThanTheDesktopKeepsItsClientOnScreen) {
  headless::Window().desktopWidth = 640;
  headless::Window().desktopHeight = 480;
  SettingsOfTheGame(1);
  ASSERT_EQ(StartupEngine(), 0);
  const headless::WindowView view = headless::InspectWindow(mainWindow);
  EXPECT_GE(view.client.left, 0);
  EXPECT_GE(view.client.top, 0);
  EXPECT_EQ(Width(view.client), 800);
}

TEST_F(WindowTest, FullScreenCoversTheScreenAndHidesTheCursor) {
  SettingsOfTheGame(0);
  ASSERT_EQ(StartupEngine(), 0);
  const auto created = headless::WindowCallsNamed("CreateWindowExA");
  ASSERT_EQ(created.size(), 1u);
  EXPECT_EQ(created[0].args, (std::vector<long long>{0x8, 0x80000000, 0, 0, 800, 600}));
  const headless::WindowView view = headless::InspectWindow(mainWindow);
  EXPECT_EQ(view.rect.left, 0);
  EXPECT_EQ(Width(view.rect), 800);
  EXPECT_TRUE(view.topmost);

  // The class cursor is taken away at creation; moving over the window
  // hides the cursor for good, and it stays hidden.
  const auto cursors = headless::WindowCallsNamed("SetCursor");
  ASSERT_FALSE(cursors.empty());
  EXPECT_EQ(cursors[0].args[0], 0);
  for (int i = 0; i < 3; ++i) {
    port::PostMessageA(mainWindow, port::WM_MOUSEMOVE, 0, port::MakeLParam(10, 100 + i));
    port::PostMessageA(mainWindow, port::WM_SETCURSOR, 0, 0);
    PumpMessages();
    EXPECT_LT(headless::CursorDisplayCount(), 0);
  }
}

TEST_F(WindowTest, PaintBeforeStartupFinishedFillsBlack) {
  SettingsOfTheGame(1);
  ASSERT_EQ(StartupEngine(), 0);
  const auto fills = headless::WindowCallsNamed("FillRect");
  ASSERT_FALSE(fills.empty());
  EXPECT_EQ(fills[0].args[4],
            static_cast<long long>(reinterpret_cast<uintptr_t>(port::GetStockObject(port::BLACK_BRUSH))));
  EXPECT_EQ(painting, 0);
}

struct ProcedureCase {
  const char* name;
  uint32_t message;
  port::WParam wParam;
  port::LParam lParam;
  port::LResult result;
  int clickBits;
  int wheel;
};

class ProcedureTest : public EngineFixture, public ::testing::WithParamInterface<ProcedureCase> {};

TEST_P(ProcedureTest, MessageTable) {
  const ProcedureCase& c = GetParam();
  SettingsOfTheGame(1);
  ASSERT_EQ(StartupEngine(), 0);
  mainWindowState.mouseClickBits = 0;
  mainWindowState.mouseWheelCount = 0;
  EXPECT_EQ(MainWindowProc(mainWindow, c.message, c.wParam, c.lParam), c.result);
  EXPECT_EQ(mainWindowState.mouseClickBits, c.clickBits);
  EXPECT_EQ(mainWindowState.mouseWheelCount, c.wheel);
}

INSTANTIATE_TEST_SUITE_P(
    , ProcedureTest,
    ::testing::Values(
        ProcedureCase{"screenSaverRefused", port::WM_SYSCOMMAND, port::SC_SCREENSAVE, 0, 1, 0, 0},
        ProcedureCase{"monitorPowerRefused", port::WM_SYSCOMMAND, port::SC_MONITORPOWER + 2, 0, 1, 0, 0},
        ProcedureCase{"minimiseAllowed", port::WM_SYSCOMMAND, port::SC_MINIMIZE, 0, 0, 0, 0},
        ProcedureCase{"leftDown", port::WM_LBUTTONDOWN, 0, 0, 0, 1, 0},
        ProcedureCase{"rightDown", port::WM_RBUTTONDOWN, 0, 0, 0, 2, 0},
        ProcedureCase{"middleDown", port::WM_MBUTTONDOWN, 0, 0, 0, 4, 0},
        ProcedureCase{"leftUp", port::WM_LBUTTONUP, 0, 0, 0, 0, 0},
        ProcedureCase{"wheelForward", port::WM_MOUSEWHEEL, port::WParam{120} << 16, 0, 0, 0, 1},
        ProcedureCase{"wheelBack", port::WM_MOUSEWHEEL, port::WParam{0xFF88} << 16, 0, 0, 0, -1},
        ProcedureCase{"hitTestWindowed", port::WM_NCHITTEST, 0, 0x50005, 0, 0, 0}),
    [](const ::testing::TestParamInfo<ProcedureCase>& param) { return std::string(param.param.name); });

TEST_F(WindowTest, MovingIsRefusedInFullScreenOnly) {
  SettingsOfTheGame(0);
  ASSERT_EQ(StartupEngine(), 0);
  port::WindowRect proposed{100, 100, 900, 700};
  MainWindowProc(mainWindow, port::WM_MOVING, 0, reinterpret_cast<port::LParam>(&proposed));
  EXPECT_EQ(proposed.left, mainWindowState.windowRect.left);
  EXPECT_EQ(proposed.right, mainWindowState.windowRect.right);

  windowModeFlag = 1;
  port::WindowRect windowed{100, 100, 900, 700};
  MainWindowProc(mainWindow, port::WM_MOVING, 0, reinterpret_cast<port::LParam>(&windowed));
  EXPECT_EQ(windowed.left, 100);
  windowModeFlag = 0;
}

TEST_F(WindowTest, CharactersReachTheTextBufferWithoutControlCodes) {
  SettingsOfTheGame(1);
  ASSERT_EQ(StartupEngine(), 0);
  while (TakeBufferedCharacter() != -1) {
  }
  for (int c : {int('a'), 2, 10, 13, 8, 9, 27, 31, 0x82, int('z')}) MainWindowProc(mainWindow, port::WM_CHAR, c, 0);
  std::vector<int> stored;
  for (int c; (c = TakeBufferedCharacter()) != -1;) stored.push_back(c);
  EXPECT_EQ(stored, (std::vector<int>{'a', 13, 13, 8, 9, 27, 0x82, 'z'}));
}

TEST_F(WindowTest, FullScreenDeactivationRestoresTheDesktopAndMinimises) {
  SettingsOfTheGame(0);
  ASSERT_EQ(StartupEngine(), 0);
  headless::ClearWindowCalls();
  MainWindowProc(mainWindow, port::WM_ACTIVATEAPP, 0, 0);
  EXPECT_EQ(windowActive, 0);
  bool restored = false;
  for (const auto& change : headless::DisplayChanges()) restored |= change.restore;
  EXPECT_TRUE(restored);
  const auto shows = headless::WindowCallsNamed("ShowWindow");
  ASSERT_EQ(shows.size(), 1u);
  EXPECT_EQ(shows[0].args[0], port::SW_MINIMIZE);

  MainWindowProc(mainWindow, port::WM_ACTIVATE, port::WA_ACTIVE, 0);
  EXPECT_EQ(windowActive, 1);
}

TEST_F(WindowTest, WindowedDeactivationDoesNotMinimise) {
  SettingsOfTheGame(1);
  ASSERT_EQ(StartupEngine(), 0);
  headless::ClearWindowCalls();
  MainWindowProc(mainWindow, port::WM_ACTIVATE, port::WA_INACTIVE, 0);
  EXPECT_EQ(windowActive, 0);
  EXPECT_TRUE(headless::WindowCallsNamed("ShowWindow").empty());
  MainWindowProc(mainWindow, port::WM_ACTIVATE, port::WA_CLICKACTIVE, 0);
  EXPECT_EQ(windowActive, 1);
}

struct DisplayChangeCase {
  const char* name;
  int bits, width, height;
  bool ends;
};

class DisplayChangeTest : public EngineFixture, public ::testing::WithParamInterface<DisplayChangeCase> {};

TEST_P(DisplayChangeTest, DesktopTheScreenCannotFollowEndsTheProgram) {
  const DisplayChangeCase& c = GetParam();
  SettingsOfTheGame(1);
  ASSERT_EQ(StartupEngine(), 0);
  port::PostMessageA(mainWindow, port::WM_DISPLAYCHANGE, static_cast<port::WParam>(c.bits),
                     port::MakeLParam(c.width, c.height));
  // The close it posts is handled in the same call.
  EXPECT_EQ(PumpMessages(), c.ends ? -1 : 0);
  EXPECT_EQ(windowClosing, c.ends ? 1 : 0);
  EXPECT_EQ(LogHas("復元関数が登録されていないためか画面が２４ビットカラーに変更されたため終了します"), c.ends);
  EXPECT_EQ(headless::InspectWindow(mainWindow).exists, !c.ends);
}

INSTANTIATE_TEST_SUITE_P(, DisplayChangeTest,
                         ::testing::Values(DisplayChangeCase{"sameDesktop", 32, 800, 600, false},
                                           DisplayChangeCase{"largerDesktop", 32, 1600, 1200, false},
                                           DisplayChangeCase{"twentyFourBits", 24, 1920, 1080, true},
                                           DisplayChangeCase{"eightBits", 8, 1920, 1080, true},
                                           DisplayChangeCase{"narrower", 32, 640, 1080, true},
                                           DisplayChangeCase{"lower", 32, 1920, 480, true}),
                         [](const ::testing::TestParamInfo<DisplayChangeCase>& param) {
                           return std::string(param.param.name);
                         });

}  // namespace
