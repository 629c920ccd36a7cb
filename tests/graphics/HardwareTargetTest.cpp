// Draw targets, clearing, presentation and reading pixels back in hardware
// mode, on the Direct3D 9 fake.
#include "engine/core/MainWindow.h"
#include "engine/core/MessagePump.h"
#include "engine/graphics/display/DrawTarget.h"
#include "engine/graphics/display/ScreenLock.h"
#include "engine/graphics/display/WindowHooks.h"
#include "engine/graphics/records/DrawState.h"
#include "engine/images/PixelImage.h"
#include "tests/graphics/HardwareFixture.h"

namespace graphicstest {
namespace {

class HardwareTargets : public HardwareFixture {
 protected:
  void SetUp() override {
    HardwareFixture::SetUp();
    backgroundColor = {0x12, 0x34, 0x56};
  }
  void TearDown() override {
    HardwareFixture::TearDown();
    backgroundColor = {0, 0, 0};
  }
  static std::vector<std::string> Arguments(const std::string& call) {
    std::vector<std::string> arguments;
    for (const headless::Direct3D9Call& c : headless::Direct3D9CallsNamed(call))
      arguments.push_back(c.arguments);
    return arguments;
  }
};

TEST_F(HardwareTargets, ClearingFillsTheTargetWithTheBackgroundThroughTheDevice) {
  ASSERT_EQ(StartWindowed(), 0);
  ChooseBlendMode(1, 32);  // the clear is never blended
  SetDrawArea(10, 10, 100, 100);
  headless::ClearDirect3D9Calls();
  ASSERT_EQ(ClearDrawTarget(nullptr), 0);
  EXPECT_EQ(Arguments("IDirect3DDevice9_Clear"),
            (std::vector<std::string>{"0,null,1,0x00123456,1,0", "0,null,2,0x00000000,1,0"}));
  // Whole target while clearing, the draw area again afterwards.
  EXPECT_EQ(Arguments("IDirect3DDevice9_SetViewport"),
            (std::vector<std::string>{"0,0,800,600,0,1", "10,10,90,90,0,1"}));
  EXPECT_EQ(ReadPixel(0, 0), 0x123456);
  EXPECT_EQ(ReadPixel(799, 599), 0x123456);

  backgroundColor = {255, 0, 0};
  Rect part = {4, 4, 8, 8};
  ClearDrawTarget(&part);
  EXPECT_EQ(ReadPixel(4, 4), 0xFF0000);
  EXPECT_EQ(ReadPixel(8, 8), 0x123456);
  // A negative corner means the whole target.
  backgroundColor = {0, 0, 255};
  Rect negative = {-1, 0, 2, 2};
  ClearDrawTarget(&negative);
  EXPECT_EQ(ReadPixel(500, 500), 0x0000FF);
}

TEST_F(HardwareTargets, ReadPixelReadsTheBackBufferOutsideTheTargetIsMinusOne) {
  ASSERT_EQ(StartWindowed(), 0);
  ClearDrawTarget(nullptr);
  int alive = headless::Direct3D9Calls().liveObjects;
  for (bool direct : {true, false}) {
    displayDevice.useBackBufferLock = direct;
    headless::ClearDirect3D9Calls();
    EXPECT_EQ(ReadPixel(24, 24), 0x123456);
    EXPECT_EQ(headless::Direct3D9CallsNamed("IDirect3DDevice9_GetRenderTargetData").empty(), direct);
  }
  EXPECT_EQ(ReadPixel(800, 0), -1);
  EXPECT_EQ(ReadPixel(0, -1), -1);
  EXPECT_EQ(headless::Direct3D9Calls().liveObjects, alive);  // nothing of the copies left
}

TEST_F(HardwareTargets, ASixteenBitScreenReadsInItsOwnFormat) {
  script_.desktop.Format = port::D3DFMT_R5G6B5;
  Script();
  backgroundColor = {255, 0, 0};
  ASSERT_EQ(StartWindowed(), 0);
  ClearDrawTarget(nullptr);
  EXPECT_EQ(ReadPixel(3, 3), 0xF800);
}

TEST_F(HardwareTargets, TheCopyPathReportsTheSurfaceItCouldNotMake) {
  ASSERT_EQ(StartWindowed(), 0);
  displayDevice.useBackBufferLock = 0;
  int alive = headless::Direct3D9Calls().liveObjects;
  Fail("IDirect3DDevice9_CreateOffscreenPlainSurface");
  EXPECT_EQ(ReadPixel(1, 1), -1);
  EXPECT_TRUE(LogHas("バックバッファロック用システムメモリサーフェスの作成に失敗しました"));
  EXPECT_EQ(headless::Direct3D9Calls().liveObjects, alive);  // the render target was released
  Fail("IDirect3DDevice9_CreateRenderTarget");
  EXPECT_EQ(ReadPixel(1, 1), -1);
  EXPECT_TRUE(LogHas("バックバッファロック用描画可能サーフェスの作成に失敗しました"));
}

TEST_F(HardwareTargets, WindowModePresentsTheScreenToTheClientArea) {
  ASSERT_EQ(StartWindowed(), 0);
  ClearDrawTarget(nullptr);
  headless::ClearDirect3D9Calls();
  ASSERT_EQ(PresentFrame(), 0);
  EXPECT_EQ(Arguments("IDirect3DSwapChain9_Present"),
            (std::vector<std::string>{"{0,0,800,600},{0,0,800,600},0"}));
  EXPECT_TRUE(Arguments("IDirect3DDevice9_StretchRect").empty());
  EXPECT_EQ(headless::PresentedPixel(10, 10), 0x123456u);
  // A lost device fails the presentation and changes nothing else.
  headless::Direct3D9ScriptInForce().deviceLost = true;
  EXPECT_EQ(PresentFrame(), -1);
}

TEST_F(HardwareTargets, SelectingTargetsSetsTheDevicesRenderTarget) {
  ASSERT_EQ(StartWindowed(), 0);
  EXPECT_EQ(CurrentDrawTarget(), TARGET_FRONT);
  headless::ClearDirect3D9Calls();
  ASSERT_EQ(SelectDrawTarget(TARGET_BACK), 0);
  EXPECT_EQ(Arguments("IDirect3DDevice9_SetTexture"), (std::vector<std::string>{"0,null"}));
  EXPECT_EQ(Arguments("IDirect3DDevice9_SetRenderTarget"), (std::vector<std::string>{"0,BackBuffer"}));
  EXPECT_EQ(Arguments("IDirect3DDevice9_SetDepthStencilSurface"),
            (std::vector<std::string>{"DepthStencil1"}));
  // A graph cannot be made in hardware mode yet, so none can be a target.
  EXPECT_EQ(SelectDrawTarget(0x08000000), -1);
}

TEST_F(HardwareTargets, FullScreenFrontTargetDrawsIntoTheSubBackBuffer) {
  ChangeWindowMode(0);
  SelectScreenMode(800, 600, 32, 60);
  ASSERT_EQ(StartupEngine(), 0);
  ASSERT_EQ(CurrentDrawTarget(), TARGET_FRONT);
  ClearDrawTarget(nullptr);
  headless::ClearDirect3D9Calls();
  headless::AdvanceClockMilliseconds(40);
  PumpMessages();  // the front target's timer
  ASSERT_NE(displayDevice.subBackBuffer, nullptr);
  EXPECT_EQ(Arguments("IDirect3DDevice9_CreateRenderTarget").at(0), "800,600,22,0,0,0");
  std::vector<std::string> stretches = Arguments("IDirect3DDevice9_StretchRect");
  ASSERT_EQ(stretches.size(), 2u);
  EXPECT_EQ(stretches[0].rfind("BackBuffer,null,RenderTarget", 0), 0u);  // its first picture
  const std::string toBackBuffer = ",null,BackBuffer,null,0";  // and to the back buffer
  EXPECT_EQ(stretches[1].rfind("RenderTarget", 0), 0u);
  EXPECT_EQ(stretches[1].substr(stretches[1].size() - toBackBuffer.size()), toBackBuffer);
  EXPECT_EQ(Arguments("IDirect3DSwapChain9_Present"), (std::vector<std::string>{"null,null,0"}));
  // Drawing now lands in the sub back buffer and reaches the display.
  backgroundColor = {0, 255, 0};
  ClearDrawTarget(nullptr);
  EXPECT_EQ(ReadPixel(5, 5), 0x00FF00);
  EXPECT_EQ(headless::SurfacePixel(displayDevice.backBuffer, 5, 5), 0x123456u);
  ASSERT_EQ(PresentFrame(), 0);
  EXPECT_EQ(headless::PresentedPixel(5, 5), 0x00FF00u);
  // A failed copy to the back buffer fails the presentation.
  Fail("IDirect3DDevice9_StretchRect");
  EXPECT_EQ(PresentFrame(), -1);
}

// One lock at a time: a second lock before the unlock is refused, so the
// first lock's copy of the screen is neither lost nor leaked.
TEST_F(HardwareTargets, ASecondScreenLockIsRefusedUntilTheFirstEnds) {
  ASSERT_EQ(StartWindowed(), 0);
  int liveBefore = headless::Direct3D9Calls().liveObjects;
  PixelImage first{}, second{};
  ASSERT_EQ(LockDrawScreen(Rect{0, 0, 16, 16}, &first), 0);
  EXPECT_EQ(LockDrawScreen(Rect{0, 0, 8, 8}, &second), -1);
  EXPECT_EQ(drawScreenLocked, 1);
  UnlockDrawScreen();
  EXPECT_EQ(headless::Direct3D9Calls().liveObjects, liveBefore);
  ASSERT_EQ(LockDrawScreen(Rect{0, 0, 8, 8}, &second), 0);
  UnlockDrawScreen();
  EXPECT_EQ(headless::Direct3D9Calls().liveObjects, liveBefore);
}

}  // namespace
}  // namespace graphicstest
