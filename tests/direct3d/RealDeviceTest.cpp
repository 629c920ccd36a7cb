// The display device on the system's own Direct3D 9 (Wine's on these
// machines): the engine starts windowed with the hardware attempt on, and
// what it draws through the device is read back.
#include <string>

#include "engine/core/MainWindow.h"
#include "engine/core/MainWindowProc.h"
#include "engine/graphics/display/DrawTarget.h"
#include "engine/graphics/display/Screen.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/records/DisplayDevice.h"
#include "engine/graphics/records/GraphCreationOptions.h"
#include "engine/graphics/records/TextureSet.h"
#include "engine/platform/WindowPort.h"
#include "tests/direct3d/RealDeviceFixture.h"
#include "tests/support/Direct3DLockRules.h"

namespace {

using direct3dtest::RealDevice;

// The locks the runtime refuses, which the headless fake refuses alike.
TEST_F(RealDevice, LocksAreRefusedWhereTheFakeRefusesThem) {
  ASSERT_EQ(StartupEngine(), 0);
  ASSERT_EQ(hardwareMode, 1) << Log();
  testsupport::CheckDirect3DLockRules(displayDevice.device, displayDevice.isEx != 0);
}

TEST_F(RealDevice, StartsInHardwareModeClearsReadsBackAndPresents) {
  SelectScreenMode(800, 600, 32, 60);
  ASSERT_EQ(StartupEngine(), 0);
  ASSERT_EQ(hardwareMode, 1) << Log();
  std::string log = Log();
  EXPECT_NE(log.find("IDirect3DDevice9Ex オブジェクトを取得します"), std::string::npos);
  EXPECT_NE(log.find("画面のフォーマットは D3DFMT_X8R8G8B8 です"), std::string::npos);
  EXPECT_NE(log.find("Ｚバッファを作成します.... 成功"), std::string::npos);
  EXPECT_EQ(ScreenColorBits(), 32);
  EXPECT_GE(graphCreationOptions.maxTextureSize, 2048);

  backgroundColor = {0x20, 0x80, 0xC0};
  ASSERT_EQ(ClearDrawTarget(nullptr), 0);
  Rect part = {100, 100, 110, 110};
  backgroundColor = {0xFF, 0x00, 0x00};
  ClearDrawTarget(&part);
  // Both read paths, the back buffer's lock and the copy, read the same.
  for (int direct : {1, 0}) {
    displayDevice.useBackBufferLock = direct;
    EXPECT_EQ(ReadPixel(5, 5), 0x2080C0) << "direct lock " << direct;
    EXPECT_EQ(ReadPixel(105, 105), 0xFF0000) << "direct lock " << direct;
    EXPECT_EQ(ReadPixel(110, 110), 0x2080C0) << "direct lock " << direct;
  }
  EXPECT_EQ(ReadPixel(800, 0), -1);
  EXPECT_EQ(PresentFrame(), 0);
  // A screen-mode change makes a new device of the new size.
  EXPECT_EQ(SelectScreenMode(640, 480, 32, 60), 0);
  EXPECT_EQ(hardwareMode, 1);
  EXPECT_EQ(ScreenWidth(), 640);
  EXPECT_EQ(PresentFrame(), 0);
}

// Full screen at the desktop's own size (an X server cannot always change
// its mode): every activation rebuilds the device, as after a lost device,
// and drawing goes on.
TEST_F(RealDevice, FullScreenActivationRebuildsTheDevice) {
  int width = port::GetSystemMetrics(port::SM_CXSCREEN);
  int height = port::GetSystemMetrics(port::SM_CYSCREEN);
  ChangeWindowMode(0);
  SelectScreenMode(width, height, 32, 0);
  ASSERT_EQ(StartupEngine(), 0);
  ASSERT_EQ(hardwareMode, 1) << Log();
  MainWindowProc(mainWindow, port::WM_ACTIVATE, port::WA_INACTIVE, 0);
  MainWindowProc(mainWindow, port::WM_ACTIVATE, port::WA_ACTIVE, 0);
  ASSERT_EQ(hardwareMode, 1);
  ASSERT_NE(displayDevice.device, nullptr) << Log();
  EXPECT_NE(Log().find("グラフィックを復帰します"), std::string::npos);
  backgroundColor = {0x40, 0x00, 0x80};
  ClearDrawTarget(nullptr);
  EXPECT_EQ(ReadPixel(width / 2, height / 2), 0x400080);
  EXPECT_EQ(PresentFrame(), 0);
}

TEST_F(RealDevice, SoftwareModeOnRequest) {
  displayOptions.softwareModeRequested = 1;
  SelectScreenMode(800, 600, 32, 60);
  ASSERT_EQ(StartupEngine(), 0);
  EXPECT_EQ(hardwareMode, 0);
  PaintBox(0, 0, 2, 2, 0x00FF00, 1);
  EXPECT_EQ(ReadPixel(1, 1), 0x00FF00);
  EXPECT_EQ(PresentFrame(), 0);
}

}  // namespace
