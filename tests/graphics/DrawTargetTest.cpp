// Draw targets, clearing, presentation and reading pixels back.
#include "engine/core/MainWindow.h"
#include "engine/core/Time.h"
#include "engine/graphics/display/DrawTarget.h"
#include "engine/graphics/display/VerticalBlank.h"
#include "engine/graphics/display/WindowHooks.h"
#include "engine/graphics/graphs/GraphCreation.h"
#include "engine/graphics/records/DrawState.h"
#include "tests/graphics/GraphicsFixture.h"

namespace graphicstest {
namespace {

using TargetsBeforeStartup = HeadlessFixture;

TEST_F(TargetsBeforeStartup, SelectionIsRefusedAndStartupEndsOnTheFrontTarget) {
  EXPECT_EQ(SelectDrawTarget(TARGET_BACK), -1);
  EXPECT_EQ(CurrentDrawTarget(), 0);
  EXPECT_EQ(PresentFrame(), -1);
  ASSERT_EQ(StartWindowed(), 0);
  EXPECT_EQ(CurrentDrawTarget(), TARGET_FRONT);
  // Selecting the front target arms the 32 ms timer that shows it.
  bool armed = false;
  for (const headless::WindowCall& call : headless::WindowCallsNamed("SetTimer"))
    if (call.args.size() >= 2 && call.args[0] == 0x7FFF && call.args[1] == 32) armed = true;
  EXPECT_TRUE(armed);
}

using DrawTargets = StartedEngine;

TEST_F(DrawTargets, OnlyScreenTargetsAndLiveDrawableGraphsAreAccepted) {
  EXPECT_EQ(SelectDrawTarget(TARGET_BACK), 0);
  EXPECT_EQ(CurrentDrawTarget(), TARGET_BACK);
  for (int refused : {-1, -6, 0x08000000, 12345}) {
    EXPECT_EQ(SelectDrawTarget(refused), -1) << refused;
    EXPECT_EQ(CurrentDrawTarget(), TARGET_BACK);
  }
  PixelImage image = MakeImage(8, 8, PositionColor);
  Handle graph = CreateGraphFromImage(&image, nullptr);
  ReleaseGraph(graph, 0);
  EXPECT_EQ(SelectDrawTarget(graph), -1);  // released
  EXPECT_EQ(CurrentDrawTarget(), TARGET_BACK);
  EXPECT_EQ(SelectDrawTarget(-3), 0);  // the screen, size kept
  ReleasePixelImage(&image);
}

// In software mode a graph's pixels are a MEMIMG view, which drawing can
// target; the draw area follows the target's size.
TEST_F(DrawTargets, DrawingIntoAGraphChangesItsPixels) {
  PixelImage image = MakeImage(16, 8, [](int, int) { return 0x000000u; });
  Handle graph = CreateGraphFromImage(&image, nullptr);
  ASSERT_EQ(SelectDrawTarget(graph), 0);
  EXPECT_EQ(drawTargetWidth, 16);
  EXPECT_EQ(drawState.area.right, 16);
  PaintBox(0, 0, 4, 4, 0x0000FF, 1);
  EXPECT_EQ(ReadPixel(1, 1), 0x0000FF);
  EXPECT_EQ(ReadPixel(16, 0), -1);
  // Releasing the target sends drawing back to the screen.
  ReleaseGraph(graph, 0);
  EXPECT_EQ(CurrentDrawTarget(), TARGET_BACK);
  EXPECT_EQ(drawState.area.right, 800);
  ReleasePixelImage(&image);
}

TEST_F(DrawTargets, ClearingIgnoresTheBlendStateAndTheDrawArea) {
  PaintBox(0, 0, 800, 600, 0xFFFFFF, 1);
  ChooseBlendMode(BLEND_ALPHA, 32);
  SetDrawArea(0, 0, 10, 10);
  backgroundColor = {1, 2, 3};
  EXPECT_EQ(ClearDrawTarget(nullptr), 0);
  EXPECT_EQ(ReadPixel(400, 300), 0x010203);
  backgroundColor = {0, 0, 0};
  ChooseBlendMode(BLEND_NONE, 0);
  PaintBox(0, 0, 10, 10, 0xFFFFFF, 1);
  const Rect part = {2, 2, 4, 4};
  ClearDrawTarget(&part);
  EXPECT_EQ(ReadPixel(2, 2), 0);
  EXPECT_EQ(ReadPixel(4, 4), 0xFFFFFF);
  const Rect negative = {-1, 0, 1, 1};  // counts as the whole target
  ClearDrawTarget(&negative);
  EXPECT_EQ(ReadPixel(8, 8), 0);
}

TEST_F(DrawTargets, ReadPixelIsMinusOneOutsideTheTarget) {
  PixelImage image = MakeImage(48, 48, PositionColor);
  Handle cell = CreateGraphFromImage(&image, nullptr);
  PutGraph(0, 0, cell, 0);
  EXPECT_EQ(ReadPixel(24, 24), int(PositionColor(24, 24)));
  for (auto [x, y] : {std::pair{800, 0}, {0, 600}, {-1, 0}, {0, -1}})
    EXPECT_EQ(ReadPixel(x, y), -1) << x << ", " << y;
  ReleaseGraph(cell, 0);
  ReleasePixelImage(&image);
}

TEST_F(DrawTargets, PresentFrameHandsTheScreenToTheWindow) {
  PaintBox(0, 0, 2, 1, 0x336699, 1);
  EXPECT_EQ(PresentFrame(), 0);
  const headless::PresentedFrame& frame = headless::LastPresentedFrame();
  EXPECT_EQ(frame.width, 800);
  EXPECT_EQ(frame.height, 600);
  EXPECT_EQ(frame.bitsPerPixel, 32);
  EXPECT_EQ(frame.masks[0], 0xFF0000u);
  EXPECT_EQ(frame.masks[2], 0xFFu);
  EXPECT_EQ(frame.stretched, 0);
  ASSERT_GE(frame.pixels.size(), 8u);
  uint32_t first = uint32_t(frame.pixels[0]) | uint32_t(frame.pixels[1]) << 8 |
                   uint32_t(frame.pixels[2]) << 16;
  EXPECT_EQ(first, 0x336699u);
}

TEST_F(DrawTargets, PresentFrameFailsOnceTheProgramMustEnd) {
  mustEnd = 1;
  EXPECT_EQ(PresentFrame(), -1);
  mustEnd = 0;
}

// Frame pacing on the virtual clock, which moves a millisecond per read (as
// much as a 1 ms sleep takes at least): without a measured interval the wait lets at least 4 ms pass after
// the previous one; with a measured one it wakes 3 ms before the next blank.
TEST_F(DrawTargets, TheVerticalBlankWaitSleepsMostOfTheFrame) {
  headless::SetClockStepPerRead(1000);
  refreshIntervalMicroseconds = -1;
  lastVerticalBlankWait = NowMicroseconds(1);
  int waitsBefore = headless::DirectDrawCalls().refreshWaits;
  WaitForVerticalBlankPaced();
  EXPECT_EQ(headless::DirectDrawCalls().refreshWaits, waitsBefore + 1);
  uint64_t start = lastVerticalBlankWait;
  WaitForVerticalBlankPaced();
  EXPECT_GE(lastVerticalBlankWait - start, 4000u);
  refreshIntervalMicroseconds = 16667;
  start = lastVerticalBlankWait;
  WaitForVerticalBlankPaced();
  EXPECT_GE(lastVerticalBlankWait - start, 13667u);
  EXPECT_LT(lastVerticalBlankWait - start, 16667u);
  headless::SetClockStepPerRead(0);
  refreshIntervalMicroseconds = -1;
}

using DisplayPacing = HeadlessFixture;

TEST_F(DisplayPacing, ADisplayOfKnownRateIsMeasuredThroughDirectDraw) {
  headless::DirectDrawScript display;
  display.available = true;
  display.refreshPeriodMicroseconds = 16000;
  headless::ScriptDirectDraw(display);
  ASSERT_EQ(StartWindowed(), 0);
  EXPECT_EQ(headless::DirectDrawCalls().objectsCreated, 1);
  EXPECT_EQ(headless::DirectDrawCalls().cooperativeFlags, 8u);  // DDSCL_NORMAL
  EXPECT_EQ(refreshIntervalMicroseconds, 16000);
  EXPECT_TRUE(LogHas("初期化に成功しました"));
  ShutdownEngine();
  EXPECT_EQ(headless::DirectDrawCalls().liveObjects, 0);
}

TEST_F(DisplayPacing, AFailingDirectDrawFailsTheStartup) {
  headless::DirectDrawScript display;
  display.available = true;
  display.createSucceeds = false;
  headless::ScriptDirectDraw(display);
  EXPECT_EQ(StartWindowed(), -1);
  EXPECT_TRUE(LogHas("オブジェクトの取得に失敗しました"));
}

}  // namespace
}  // namespace graphicstest

namespace graphicstest {
namespace {

// The front target reaches the window every 32 ms of message pumping,
// without a PresentFrame.
TEST_F(DrawTargets, TheFrontTargetTimerPresentsWhilePumping) {
  ASSERT_EQ(CurrentDrawTarget(), TARGET_FRONT);
  int frames = headless::LastPresentedFrame().count;
  headless::AdvanceClockMilliseconds(40);
  PumpMessages();
  EXPECT_GT(headless::LastPresentedFrame().count, frames);
  // With another target the timer stays off.
  SelectDrawTarget(TARGET_BACK);
  frames = headless::LastPresentedFrame().count;
  headless::AdvanceClockMilliseconds(40);
  PumpMessages();
  headless::AdvanceClockMilliseconds(40);
  PumpMessages();
  EXPECT_EQ(headless::LastPresentedFrame().count, frames);
}

}  // namespace
}  // namespace graphicstest
