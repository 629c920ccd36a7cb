// The display device across activation, a lost device and a screen-mode
// change in hardware mode, on the Direct3D 9 fake.
#include "engine/core/MainWindow.h"
#include "engine/core/MainWindowProc.h"
#include "engine/graphics/display/DrawTarget.h"
#include "engine/graphics/display/Screen.h"
#include "engine/graphics/display/WindowHooks.h"
#include "engine/graphics/hardware/GraphTextures.h"
#include "engine/graphics/records/DrawState.h"
#include "tests/graphics/HardwareFixture.h"

namespace graphicstest {
namespace {

using DisplayRebuild = HardwareFixture;

int restoredCalls = 0;
void CountRestored() { restoredCalls += 1; }

void Deactivate() { MainWindowProc(mainWindow, port::WM_ACTIVATE, port::WA_INACTIVE, 0); }
void Activate() { MainWindowProc(mainWindow, port::WM_ACTIVATE, port::WA_ACTIVE, 0); }

TEST_F(DisplayRebuild, ALostDeviceIsRebuiltWhenTheFullScreenWindowIsActivated) {
  ChangeWindowMode(0);
  SelectScreenMode(800, 600, 32, 60);
  ASSERT_EQ(StartupEngine(), 0);
  restoredCalls = 0;
  deviceRestoredCallback = CountRestored;
  backgroundColor = {0, 0x80, 0};

  headless::Direct3D9ScriptInForce().deviceLost = true;
  EXPECT_EQ(PresentFrame(), -1);
  Deactivate();
  headless::ClearDirect3D9Calls();
  Activate();

  EXPECT_EQ(hardwareMode, 1);
  EXPECT_EQ(headless::Direct3D9Calls().devicesCreated, 2);
  EXPECT_EQ(restoredCalls, 1);
  EXPECT_TRUE(LogHas("グラフィックを復帰します"));  // the restore routine ran
  // The draw target is set again and two cleared frames are presented.
  EXPECT_FALSE(headless::Direct3D9CallsNamed("IDirect3DDevice9_SetRenderTarget").empty());
  EXPECT_EQ(headless::Direct3D9CallsNamed("IDirect3DSwapChain9_Present").size(), 2u);
  EXPECT_EQ(headless::PresentedPixel(0, 0), 0x008000u);
  // The game goes on.
  EXPECT_EQ(CurrentDrawTarget(), TARGET_FRONT);
  EXPECT_EQ(PresentFrame(), 0);
  deviceRestoredCallback = nullptr;
  backgroundColor = {0, 0, 0};
}

TEST_F(DisplayRebuild, WindowedActivationPresentsAndRebuildsOnlyWhenThatFails) {
  ASSERT_EQ(StartWindowed(), 0);
  headless::ClearDirect3D9Calls();
  Deactivate();
  Activate();
  EXPECT_EQ(headless::Direct3D9CallsNamed("IDirect3DDevice9_Present").size(), 1u);
  EXPECT_EQ(headless::Direct3D9Calls().devicesCreated, 1);

  headless::Direct3D9ScriptInForce().deviceLost = true;
  Deactivate();
  Activate();
  EXPECT_EQ(headless::Direct3D9Calls().devicesCreated, 2);
  EXPECT_EQ(PresentFrame(), 0);
}

TEST_F(DisplayRebuild, ARebuildKeepsTheModeChosenAtStartUp) {
  // Software at start-up (no d3d9.dll), Direct3D offered later: the rebuild
  // stays in software mode, whose graphs are images in memory.
  script_.libraryPresent = false;
  Script();
  ChangeWindowMode(0);
  SelectScreenMode(800, 600, 32, 60);
  ASSERT_EQ(StartupEngine(), 0);
  ASSERT_EQ(hardwareMode, 0);
  script_.libraryPresent = true;
  Script();
  Deactivate();
  Activate();
  EXPECT_EQ(hardwareMode, 0);
  EXPECT_EQ(headless::Direct3D9Calls().objectsCreated, 0);
  PaintBox(0, 0, 2, 2, 0xFF, 1);
  EXPECT_EQ(ReadPixel(0, 0), 0xFF);
}

TEST_F(DisplayRebuild, AHardwareRunWhoseDeviceCannotBeMadeAgainStaysWithoutOne) {
  ChangeWindowMode(0);
  SelectScreenMode(800, 600, 32, 60);
  ASSERT_EQ(StartupEngine(), 0);
  Fail("IDirect3D9Ex_CreateDeviceEx");
  Deactivate();
  Activate();
  EXPECT_EQ(hardwareMode, 1);
  EXPECT_EQ(PresentFrame(), -1);
  // The next activation tries again and succeeds.
  script_.failures.clear();
  Script();
  Deactivate();
  Activate();
  EXPECT_EQ(PresentFrame(), 0);
}

TEST_F(DisplayRebuild, AScreenModeChangeMakesANewDeviceOfTheNewSize) {
  ASSERT_EQ(StartWindowed(), 0);
  EXPECT_EQ(SelectScreenMode(640, 480, 32, 60), 0);
  EXPECT_EQ(hardwareMode, 1);
  EXPECT_EQ(ScreenWidth(), 640);
  EXPECT_EQ(headless::Direct3D9Calls().lastParameters.BackBufferWidth, 640u);
  EXPECT_TRUE(LogHas("画面モード変更処理は正常に終了しました"));
  EXPECT_EQ(ReadPixel(639, 479), 0);
  EXPECT_EQ(ReadPixel(640, 0), -1);
  EXPECT_EQ(PresentFrame(), 0);
}

}  // namespace
}  // namespace graphicstest
