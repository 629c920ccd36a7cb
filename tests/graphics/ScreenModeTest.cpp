// Screen modes, the display-mode list and the software display set-up.
#include <vector>

#include "engine/core/MainWindow.h"
#include "engine/graphics/display/Screen.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/graphs/GraphCreation.h"
#include "tests/graphics/GraphicsFixture.h"

namespace graphicstest {
namespace {

using ScreenModes = HeadlessFixture;

TEST_F(ScreenModes, RequestsAreCheckedAndStoredBeforeStartup) {
  struct Case {
    int width, height, bits, result;
  } cases[] = {{800, 600, 24, -1}, {0, 600, 32, -1}, {800, 0, 16, -1},
               {800, 600, 7, -1},  {800, 600, 32, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(SelectScreenMode(c.width, c.height, c.bits, 60), c.result)
        << c.width << "x" << c.height << "x" << c.bits;
  EXPECT_EQ(engineSettings.screenWidth, 800);
  EXPECT_EQ(engineSettings.screenHeight, 600);
  EXPECT_EQ(engineSettings.screenColorBits, 32);
  EXPECT_EQ(engineSettings.screenRefreshRate, 60);
}

TEST_F(ScreenModes, WindowModeTakesTheDesktopDepth) {
  headless::Window().desktopBitsPerPixel = 16;
  ASSERT_EQ(StartWindowed(800, 600, 32), 0);
  EXPECT_EQ(ScreenColorBits(), 16);
  EXPECT_EQ(hardwareMode, 0);
  PaintBox(0, 0, 1, 1, 0xF800, 1);  // red in the 16-bit screen's format
  EXPECT_EQ(ReadPixel(0, 0), 0xF800);
  PresentFrame();
  EXPECT_EQ(headless::LastPresentedFrame().bitsPerPixel, 16);
}

TEST_F(ScreenModes, WithoutDirect3DTheLogNamesTheMissingLibrary) {
  ASSERT_EQ(StartWindowed(), 0);
  EXPECT_EQ(hardwareMode, 0);
  EXPECT_TRUE(LogHas("d3d9.dll の読み込みに失敗しました"));
}

TEST_F(ScreenModes, TheModeListKeepsModesOfSixteenBitsOrMore) {
  headless::SetDisplayModes({
      {port::DEVMODE_SIZE, 0, 8, 640, 480, 60},
      {port::DEVMODE_SIZE, 0, 16, 640, 480, 60},
      {port::DEVMODE_SIZE, 0, 32, 800, 600, 75},
  });
  ReleaseDisplayModeList();
  EXPECT_EQ(DisplayModeCount(), 2);
  DisplayMode mode = GetDisplayMode(1);
  EXPECT_EQ(mode.width, 800);
  EXPECT_EQ(mode.refresh, 75);
  DisplayMode none = GetDisplayMode(2);
  EXPECT_EQ(none.width, -1);
  EXPECT_EQ(none.bits, -1);
  EXPECT_EQ(GetDisplayMode(-1).height, -1);
  EXPECT_EQ(DisplayModeExists(800, 600, 32), 1);
  EXPECT_EQ(DisplayModeExists(800, 600, 16), 0);
  EXPECT_EQ(DisplayModeExists(640, 480, 8), 0);
  EXPECT_EQ(DisplayModeSizeExists(640, 480), 1);
  ReleaseDisplayModeList();
}

TEST_F(ScreenModes, SoftwareFullScreenChangesTheDisplayAndPutsItBack) {
  ChangeWindowMode(0);
  SelectScreenMode(800, 600, 32, 60);
  ASSERT_EQ(StartupEngine(), 0);
  ASSERT_FALSE(headless::DisplayChanges().empty());
  const headless::DisplayChange& change = headless::DisplayChanges().back();
  EXPECT_FALSE(change.restore);
  EXPECT_EQ(change.flags, port::CDS_FULLSCREEN);
  EXPECT_EQ(change.mode.dmPelsWidth, 800u);
  EXPECT_EQ(change.mode.dmBitsPerPel, 32u);
  EXPECT_EQ(change.mode.dmDisplayFrequency, 60u);
  EXPECT_EQ(change.mode.dmFields, port::DM_BITSPERPEL | port::DM_PELSWIDTH |
                                      port::DM_PELSHEIGHT | port::DM_DISPLAYFREQUENCY);
  EXPECT_TRUE(LogHas("画面モードの変更処理を開始します 800 x 600  32 bit"));
  ShutdownEngine();
  EXPECT_TRUE(headless::DisplayChanges().back().restore);
}

TEST_F(ScreenModes, ARefusedDisplayChangeFailsTheStartup) {
  headless::SetDisplayChangeSucceeds(false);
  ChangeWindowMode(0);
  SelectScreenMode(800, 600, 32, 60);
  EXPECT_EQ(StartupEngine(), -1);
  // With the refresh rate, then without it.
  ASSERT_GE(headless::DisplayChanges().size(), 2u);
  EXPECT_EQ(headless::DisplayChanges().back().mode.dmFields & port::DM_DISPLAYFREQUENCY, 0u);
  EXPECT_EQ(headless::DisplayChanges().back().flags, 0u);
  EXPECT_TRUE(LogHas("画面モードの変更に失敗しました"));
}

TEST_F(ScreenModes, ChangingTheModeAfterStartupRestartsTheGraphics) {
  ASSERT_EQ(StartWindowed(), 0);
  PixelImage image = MakeImage(8, 8, PositionColor);
  Handle cells[1];
  ASSERT_EQ(CreateDivGraphFromGraphImage(&image, nullptr, 1, 1, 1, 8, 8, cells, 0), 0);
  EXPECT_EQ(SelectScreenMode(640, 480, 32, 0), 0);
  EXPECT_EQ(ScreenWidth(), 640);
  int width = 0;
  QueryGraphSize(TARGET_BACK, &width, nullptr);
  EXPECT_EQ(width, 640);
  EXPECT_EQ(QueryGraphSize(cells[0], nullptr, nullptr), -1);  // graphs do not survive it
  EXPECT_TRUE(LogHas("画面モード変更処理は正常に終了しました"));
  EXPECT_EQ(PaintBox(0, 0, 640, 480, 0x0000FF, 1), 0);
  EXPECT_EQ(ReadPixel(639, 479), 0x0000FF);
  EXPECT_EQ(SelectScreenMode(640, 480, 32, 0), 0);  // nothing changes
  ReleasePixelImage(&image);
}

// After start-up -1 keeps the current width, height or refresh rate.
TEST_F(ScreenModes, MinusOneKeepsTheCurrentValue) {
  ASSERT_EQ(StartWindowed(800, 600, 32), 0);
  EXPECT_EQ(SelectScreenMode(-1, -1, 32, -1), 0);
  EXPECT_FALSE(LogHas("画面モード変更処理を開始します"));  // nothing changed
  EXPECT_EQ(SelectScreenMode(640, -1, 32, -1), 0);
  EXPECT_EQ(ScreenWidth(), 640);
  EXPECT_EQ(ScreenHeight(), 600);
  EXPECT_EQ(engineSettings.screenRefreshRate, 60);
}

}  // namespace
}  // namespace graphicstest

namespace graphicstest {
namespace {

// Leaving a full-screen software run puts the desktop's mode back; coming
// back changes the display to the screen mode again.
TEST_F(ScreenModes, SwitchingAwayFromFullScreenAndBackRestoresTheMode) {
  ChangeWindowMode(0);
  SelectScreenMode(800, 600, 32, 0);
  ASSERT_EQ(StartupEngine(), 0);
  size_t changes = headless::DisplayChanges().size();
  headless::LoseFocus(mainWindow);
  headless::RegainFocus(mainWindow);
  PumpMessages();
  const auto& after = headless::DisplayChanges();
  ASSERT_GE(after.size(), changes + 2);
  EXPECT_TRUE(after[changes].restore);
  EXPECT_FALSE(after.back().restore);
  EXPECT_EQ(after.back().mode.dmPelsWidth, 800u);
  EXPECT_EQ(after.back().flags, port::CDS_FULLSCREEN);
}

}  // namespace
}  // namespace graphicstest
